#include "taviron/Entorno.h"

#include <QDir>

#include "taviron/Catalogo.h"
#include "taviron/RutaTrabajo.h"

namespace varnolo {

Entorno Entorno::delSistema(const QString& carpetaPrograma) {
    Entorno e;
    e.carpetaTrabajo = plataforma::carpetaTrabajoDelSistema();
    e.carpetaPrograma = carpetaPrograma;
    return e;
}

QString Entorno::rutaTrabajo(const QString& archivo) const {
    return QDir(carpetaTrabajo).filePath(archivo);
}

QString Entorno::rutaPrograma(const QString& archivo) const {
    return QDir(carpetaPrograma).filePath(archivo);
}

QString Entorno::rutaNivelcan() const {
    return rutaNiveles.isEmpty()
               ? rutaPrograma(catalogo::NIVELCAN().nombre + QStringLiteral(".DBF"))
               : rutaNiveles;
}

}  // namespace varnolo
