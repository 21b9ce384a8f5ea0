#pragma once
// Fixtures of the XML tests: their paths under tests/data/xml and their bytes.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace varnolo {

/// tests/data/xml/NOMBRE
inline QString fixture(const char* nombre) {
    return QStringLiteral(VARNOLO_DATOS_XML "/") + QString::fromUtf8(nombre);
}

/// The whole file, or nothing when it cannot be read.
inline QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace varnolo
