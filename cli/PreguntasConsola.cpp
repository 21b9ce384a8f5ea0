#include "cli/PreguntasConsola.h"

#include "base/Errores.h"
#include "import/DatosProfesores.h"

namespace varnolo::cli {

QList<int> PreguntasConsola::elegirMarcos(const MarcosHorarios&) {
    throw ErrorVarnolo(
        QStringLiteral("Indique con --marco CODIGO los marcos horarios que "
                       "se exportan."));
}

bool PreguntasConsola::completarProfesores(const Entorno& entorno) {
    QString texto = QStringLiteral(
        "Profesores de PROFT a los que les falta X_EMPLEADO o F_TOMAPOS (ABREV, NOMBRE):\n");
    for (const ProfesorIncompleto& p : profesoresIncompletos(entorno)) {
        texto += QStringLiteral("  %1  %2  (falta %3)\n")
                     .arg(p.abrev, p.nombre, p.faltan.join(QStringLiteral(" y ")));
    }
    texto += QStringLiteral(
        "Complete esos datos en la ventana de datos de profesores, que se abre al importar "
        "con varnolo, o en Taviron, y vuelva a importar.\n");
    profesoresPendientes_ = texto;
    return false;
}

QString lineasDeConsola(QString texto) {
    texto.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return texto;
}

}  // namespace varnolo::cli
