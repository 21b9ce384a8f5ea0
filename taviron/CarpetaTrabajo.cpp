#include "taviron/CarpetaTrabajo.h"

#include <QDir>
#include <QFileInfo>

namespace varnolo {

CarpetaTrabajo::CarpetaTrabajo(const Entorno& entorno)
    : carpeta_(entorno.carpetaTrabajo),
      rutaNiveles_(entorno.rutaNivelcan()),
      reloj_(entorno.reloj) {}

CarpetaTrabajo::CarpetaTrabajo(const Entorno& entorno, std::function<void()> antesDeGuardar)
    : CarpetaTrabajo(entorno) {
    antesDeGuardar_ = std::move(antesDeGuardar);
}

QString CarpetaTrabajo::ruta(const DefTabla& def) const {
    return tabla(def, Acceso::Compartida).rutaArchivo();
}

bool CarpetaTrabajo::existe(const DefTabla& def) const { return QFileInfo(ruta(def)).isFile(); }

Tabla CarpetaTrabajo::tabla(const DefTabla& def, Acceso acceso) const {
    const bool exclusiva = acceso == Acceso::Exclusiva;
    Tabla t = def.ubicacion == Ubicacion::Niveles ? Tabla(QString(), rutaNiveles_, exclusiva)
                                                  : Tabla(carpeta_, def.nombre, exclusiva);
    t.setReloj(reloj_);
    if (antesDeGuardar_) t.setBeforePost(antesDeGuardar_);
    return t;
}

Tabla CarpetaTrabajo::abrir(const DefTabla& def, Acceso acceso) const {
    Tabla t = tabla(def, acceso);
    t.open();
    return t;
}

void CarpetaTrabajo::recrear(std::initializer_list<const DefTabla*> tablas) const {
    const QDir carpeta(carpeta_);
    for (const DefTabla* def : tablas) {
        borrarSiExiste(carpeta.filePath(def->nombre + QStringLiteral(".DBF")));
        if (def->borraMdx) borrarSiExiste(carpeta.filePath(def->nombre + QStringLiteral(".MDX")));
    }
    for (const DefTabla* def : tablas) {
        Tabla t = tabla(*def, Acceso::Compartida);
        t.fieldDefs() = def->campos;
        t.indexDefs() = def->indices;
        t.createTable();
    }
}

}  // namespace varnolo
