#include "Sobre.h"

namespace varnolo {

QString rutaRegistros(const QString& seccion) {
    return QStringLiteral("/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"") + seccion +
           QStringLiteral("\"]/grupo_datos");
}

QList<Registro> registrosDeSeccion(const DocumentoXml& documento, const QString& seccion) {
    return documento.registros(seccion);
}

}  // namespace varnolo
