#include "Sobre.h"

#include "Textos.h"

namespace varnolo {

QString Registro::dato(int i) const { return recortar(datoSinRecortar(i)); }

QString Registro::datoSinRecortar(int i) const {
    if (i < 0 || i >= count()) return QString();
    return datos_[i];
}

QString rutaRegistros(const QString& seccion) {
    return QStringLiteral("/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"") + seccion +
           QStringLiteral("\"]/grupo_datos");
}

QList<Registro> registrosDeSeccion(const DocumentoXml& documento, const QString& seccion) {
    QList<Registro> registros;
    const std::vector<NodoXml> nodos = documento.selectNodes(rutaRegistros(seccion));
    registros.reserve(static_cast<qsizetype>(nodos.size()));
    for (const NodoXml& nodo : nodos) {
        // The items are the record's dato children, as the relative step "dato" selects.
        const std::vector<NodoXml> items = nodo.hijos(QStringLiteral("dato"));
        QStringList datos;
        datos.reserve(static_cast<qsizetype>(items.size()));
        for (const NodoXml& item : items) datos << item.text();
        registros.append(Registro(std::move(datos)));
    }
    return registros;
}

}  // namespace varnolo
