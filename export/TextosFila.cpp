#include "export/TextosFila.h"

#include "base/PaginaCodigos.h"

namespace varnolo {

QString tipoValorCortado(const QString& tabla, const QString& campo) {
    return QStringLiteral("valor cortado a la anchura del campo %1.%2").arg(tabla, campo);
}

bool seCorta(const QString& valor, int ancho) {
    // A character takes at most one byte, so a value no longer than the field fits.
    if (valor.size() <= ancho) return false;
    const QByteArray bytes = motor::codificarWindows1252(valor);
    for (qsizetype i = ancho; i < bytes.size(); ++i) {
        if (bytes[i] != ' ') return true;
    }
    return false;
}

void TextosFila::operator()(const QString& campo, const QString& valor) const {
    fila_.setString(campo, valor);
    const CampoFisico& c = fila_.fieldByName(campo);
    if (c.tipo == 'C' && seCorta(valor, c.ancho)) {
        informe_.anotar(tipoValorCortado(fila_.nombre(), c.nombre), lugar_);
    }
}

}  // namespace varnolo
