#include "Errores.h"

namespace varnolo {

ErrorVarnolo::ErrorVarnolo(const QString& texto)
    : std::runtime_error(texto.toStdString()), texto_(texto) {}

ErrorConversion::ErrorConversion(const QString& textoLeido)
    : ErrorVarnolo(QStringLiteral("'%1' is not a valid integer value").arg(textoLeido)) {}

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
