#include "Conversion.h"

#include <QDir>
#include <QFileInfo>

#include "Errores.h"

namespace varnolo {

bool existeDocumento(const QString& ruta) { return !ruta.isEmpty() && QFileInfo(ruta).isFile(); }

std::unique_ptr<DocumentoXml> cargarDocumento(const QString& ruta, DocumentoXml::Lectura lectura) {
    auto documento = std::make_unique<DocumentoXml>();
    if (!documento->load(ruta, lectura)) {
        throw ErrorVarnolo(QStringLiteral("El archivo %1 %2.")
                               .arg(QDir::toNativeSeparators(ruta), documento->motivoFallo()));
    }
    return documento;
}

void comprobarSobre(const DocumentoXml& documento, const QString& ruta) {
    QString falta;
    const NodoXml raiz = documento.documentElement();
    if (raiz.nombre() != u"SERVICIO") {
        falta =
            QStringLiteral("falta el elemento raíz SERVICIO (la raíz es %1)").arg(raiz.nombre());
    } else if (raiz.hijos(QStringLiteral("BLOQUE_DATOS")).empty()) {
        falta = QStringLiteral("falta BLOQUE_DATOS dentro de SERVICIO");
    } else {
        return;
    }
    throw ErrorVarnolo(QStringLiteral("El archivo %1 no es un documento de intercambio: %2.")
                           .arg(QDir::toNativeSeparators(ruta), falta));
}

Desenlace protegerConversion(const std::function<Desenlace()>& conversion) {
    try {
        return conversion();
    } catch (const ErrorVarnolo& e) {
        return Desenlace::fallo(e.texto());
    } catch (const std::exception& e) {
        return Desenlace::fallo(QString::fromLocal8Bit(e.what()));
    }
}

}  // namespace varnolo
