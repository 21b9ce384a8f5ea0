#include "base/Archivos.h"

#include <cerrno>

#include "base/ErroresSistema.h"
#include "base/ReemplazoArchivo.h"

#include <QFile>

namespace varnolo {

namespace {

Archivos*& enUso() {
    static Archivos delSistema;
    static Archivos* actuales = &delSistema;
    return actuales;
}

}  // namespace

bool Archivos::escribir(plataforma::ArchivoBloqueado& archivo, qint64 posicion, const char* datos,
                        qint64 largo, QString& motivo) {
    if (archivo.escribir(posicion, datos, largo)) return true;
    motivo = archivo.motivoFallo();
    return false;
}

namespace {

/// Why the last operation on `archivo` failed: the system's error number when the
/// operation left one (Qt keeps no text for a failed flush), else the file's own text.
QString motivoDe(const QFileDevice& archivo, int numero) {
    return numero != 0 ? textoErrorSistema(numero) : textoFalloArchivo(archivo);
}

}  // namespace

bool Archivos::escribir(QSaveFile& archivo, const char* datos, qint64 largo, QString& motivo) {
    // A nearly full disk takes part of a write without an error; the next attempt
    // fails with the reason.
    while (largo > 0) {
        errno = 0;
        const qint64 escritos = archivo.write(datos, largo);
        if (escritos <= 0) {
            motivo = motivoDe(archivo, errno);
            return false;
        }
        datos += escritos;
        largo -= escritos;
    }
    return true;
}

bool Archivos::confirmar(QSaveFile& archivo, QString& motivo) {
    // commit() puts the file in place even when writing out what Qt still buffers
    // fails: the result would be cut short and reported as saved.
    errno = 0;
    if (!archivo.flush()) {
        motivo = motivoDe(archivo, errno);
        return false;
    }
    errno = 0;
    if (!archivo.commit()) {
        motivo = motivoDe(archivo, errno);
        return false;
    }
    return true;
}

bool Archivos::borrar(const QString& ruta, const QString& guardian) {
    return plataforma::borrarSiLibre(ruta, guardian);
}

bool Archivos::reemplazar(const QString& origen, const QString& destino, QString& motivo) {
    return plataforma::reemplazarArchivo(origen, destino, motivo);
}

bool Archivos::copiar(const QString& origen, const QString& destino, QString& motivo) {
    QFile de(origen);
    if (!de.copy(destino)) {
        motivo = textoFalloArchivo(de);
        QFile::remove(destino);
        return false;
    }
    if (!plataforma::sincronizarArchivo(destino, motivo)) {
        QFile::remove(destino);
        return false;
    }
    return true;
}

Archivos& Archivos::actuales() { return *enUso(); }

ArchivosInstalados::ArchivosInstalados(Archivos& archivos) : anteriores_(enUso()) {
    enUso() = &archivos;
}

ArchivosInstalados::~ArchivosInstalados() { enUso() = anteriores_; }

}  // namespace varnolo
