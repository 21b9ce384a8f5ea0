#include "import/DatosProfesores.h"

#include "base/Textos.h"
#include "taviron/CarpetaTrabajo.h"

namespace varnolo {

bool profesorCompleto(const Tabla& proft) {
    return !recortar(proft.asString(campo::X_EMPLEADO)).isEmpty() &&
           !recortar(proft.asString(campo::F_TOMAPOS)).isEmpty();
}

bool hayProfesorIncompleto(Tabla& proft) {
    for (proft.first(); !proft.eof(); proft.next()) {
        if (!profesorCompleto(proft)) return true;
    }
    return false;
}

bool hayProfesorIncompleto(const Entorno& entorno) {
    Tabla proft = CarpetaTrabajo(entorno).abrir(catalogo::PROFT(), Acceso::Compartida);
    return hayProfesorIncompleto(proft);
}

QList<ProfesorIncompleto> profesoresIncompletos(const Entorno& entorno) {
    Tabla proft = CarpetaTrabajo(entorno).abrir(catalogo::PROFT(), Acceso::Compartida);
    QList<ProfesorIncompleto> lista;
    for (proft.first(); !proft.eof(); proft.next()) {
        ProfesorIncompleto p;
        for (const QString& nombre : {campo::X_EMPLEADO, campo::F_TOMAPOS}) {
            if (recortar(proft.asString(nombre)).isEmpty()) p.faltan << nombre;
        }
        if (p.faltan.isEmpty()) continue;
        p.abrev = proft.asString(campo::ABREV);
        p.nombre = proft.asString(campo::NOMBRE);
        lista << p;
    }
    return lista;
}

}  // namespace varnolo
