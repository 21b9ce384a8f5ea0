#include "base/Errores.h"

namespace varnolo {

ErrorVarnolo::ErrorVarnolo(const QString& texto)
    : std::runtime_error(texto.toStdString()), texto_(texto) {}

ErrorConversion::ErrorConversion(const QString& textoLeido)
    : ErrorVarnolo(QStringLiteral("'%1' is not a valid integer value").arg(textoLeido)) {}

ErrorConversion::ErrorConversion(const QString& texto, bool conLugar)
    : ErrorVarnolo(texto), conLugar_(conLugar) {}

ErrorConversion ErrorConversion::conLugar(const QString& lugar) const {
    if (conLugar_) return *this;
    return ErrorConversion(texto() + u'\n' + lugar, true);
}

QString lugarEnDocumento(const QString& seccion, int registro) {
    return QStringLiteral("En el documento: sección %1, registro %2.").arg(seccion).arg(registro);
}

QString lugarEnTabla(const QString& tabla, int registro, const QString& campo) {
    return QStringLiteral("En la tabla %1: registro %2, campo %3.")
        .arg(tabla)
        .arg(registro)
        .arg(campo);
}

int aEntero(const QString& texto) {
    int i = 0;
    if (i < texto.size() && (texto[i] == u'-' || texto[i] == u'+')) ++i;
    if (i == texto.size()) throw ErrorConversion(texto);
    for (int j = i; j < texto.size(); ++j) {
        if (texto[j] < u'0' || texto[j] > u'9') throw ErrorConversion(texto);
    }
    bool ok = false;
    const int valor = texto.toInt(&ok, 10);
    if (!ok) throw ErrorConversion(texto);
    return valor;
}

}  // namespace varnolo
