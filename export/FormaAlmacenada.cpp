#include "export/FormaAlmacenada.h"

#include "base/PaginaCodigos.h"

namespace varnolo {

QString formaAlmacenada(const QString& valor, int ancho) {
    const QByteArray bytes = motor::codificarWindows1252(valor).left(ancho);
    qsizetype fin = bytes.size();
    while (fin > 0 && bytes[fin - 1] == ' ') --fin;
    return motor::decodificar(bytes.constData(), static_cast<int>(fin),
                              motor::PaginaCodigos::Windows1252);
}

}  // namespace varnolo
