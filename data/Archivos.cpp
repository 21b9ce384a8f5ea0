#include "Archivos.h"

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

bool Archivos::escribir(QSaveFile& archivo, const char* datos, qint64 largo) {
    return archivo.write(datos, largo) == largo;
}

bool Archivos::confirmar(QSaveFile& archivo) { return archivo.commit(); }

bool Archivos::borrar(const QString& ruta, const QString& guardian) {
    return plataforma::borrarSiLibre(ruta, guardian);
}

Archivos& Archivos::actuales() { return *enUso(); }

ArchivosInstalados::ArchivosInstalados(Archivos& archivos) : anteriores_(enUso()) {
    enUso() = &archivos;
}

ArchivosInstalados::~ArchivosInstalados() { enUso() = anteriores_; }

}  // namespace varnolo
