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

QList<ProfesorIncompleto> profesoresIncompletos(const Entorno& entorno) {
    Tabla proft(QString(), entorno.rutaTrabajo(QStringLiteral("PROFT.DBF")));
    proft.setReloj(entorno.reloj);
    proft.open();
    QList<ProfesorIncompleto> lista;
    for (proft.first(); !proft.eof(); proft.next()) {
        ProfesorIncompleto p;
        for (const QString& campo : {QStringLiteral("X_EMPLEADO"), QStringLiteral("F_TOMAPOS")}) {
            if (recortar(proft.asString(campo)).isEmpty()) p.faltan << campo;
        }
        if (p.faltan.isEmpty()) continue;
        p.abrev = proft.asString(QStringLiteral("ABREV"));
        p.nombre = proft.asString(QStringLiteral("NOMBRE"));
        lista << p;
    }
    return lista;
}

}  // namespace varnolo
