#include "tests/comun/Base.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace varnolo::prueba {

QMap<QString, QByteArray> archivosDe(const QString& carpeta, bool subcarpetas) {
    QMap<QString, QByteArray> r;
    QDirIterator it(carpeta, QDir::Files | QDir::Hidden,
                    subcarpetas ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        QFile f(it.next());
        r.insert(QDir(carpeta).relativeFilePath(it.filePath()),
                 f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(ilegible)"));
    }
    return r;
}

QMap<QString, QByteArray> tablasDe(const QString& carpeta) {
    QMap<QString, QByteArray> r;
    const QDir dir(carpeta);
    for (const QString& n :
         dir.entryList({QStringLiteral("*.DBF"), QStringLiteral("*.MDX")}, QDir::Files)) {
        QFile f(dir.filePath(n));
        if (f.open(QIODevice::ReadOnly)) r.insert(n, f.readAll());
    }
    return r;
}

QString datoPrueba(const QString& nombre) {
    return QDir(QStringLiteral(VARNOLO_DATOS_PRUEBA)).filePath(nombre);
}

QString ejemplo(const QString& nombre) {
    return QDir(QStringLiteral(VARNOLO_EJEMPLOS)).filePath(nombre);
}

QString carpetaBinarios() { return QStringLiteral(VARNOLO_BIN); }

void escribirBytes(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        ADD_FAILURE() << "No se puede escribir " << ruta.toStdString();
    }
}

bool ArchivosQueFallan::escribir(plataforma::ArchivoBloqueado& archivo, qint64 posicion,
                                 const char* datos, qint64 largo, QString& motivo) {
    if (++escriturasTabla == fallarEscrituraTabla) {
        motivo = QStringLiteral("el disco está lleno");
        return false;
    }
    return Archivos::escribir(archivo, posicion, datos, largo, motivo);
}

bool ArchivosQueFallan::escribir(QSaveFile& archivo, const char* datos, qint64 largo,
                                 QString& motivo) {
    if (++escriturasGuardado == fallarEscrituraGuardado) {
        motivo = QStringLiteral("el disco está lleno");
        return false;
    }
    return Archivos::escribir(archivo, datos, largo, motivo);
}

bool ArchivosQueFallan::confirmar(QSaveFile& archivo, QString& motivo) {
    if (fallarConfirmacion) {
        archivo.cancelWriting();
        motivo = QStringLiteral("el archivo está en uso");
        return false;
    }
    return Archivos::confirmar(archivo, motivo);
}

}  // namespace varnolo::prueba
