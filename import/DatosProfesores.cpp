#include "DatosProfesores.h"

#include "data/Textos.h"

namespace varnolo {

bool profesorCompleto(const Tabla& proft) {
    return !recortar(proft.asString(QStringLiteral("X_EMPLEADO"))).isEmpty() &&
           !recortar(proft.asString(QStringLiteral("F_TOMAPOS"))).isEmpty();
}

bool hayProfesorIncompleto(Tabla& proft) {
    for (proft.first(); !proft.eof(); proft.next()) {
        if (!profesorCompleto(proft)) return true;
    }
    return false;
}

bool hayProfesorIncompleto(const Entorno& entorno) {
    Tabla proft(QString(), entorno.rutaTrabajo(QStringLiteral("PROFT.DBF")));
    proft.setReloj(entorno.reloj);
    proft.open();
    return hayProfesorIncompleto(proft);
}

}  // namespace varnolo
