#include "InteraccionConsola.h"

#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"
#include "import/DatosProfesores.h"
#include "import/Importacion.h"

namespace varnolo::cli {

InteraccionConsola::InteraccionConsola(QString documento, QStringList marcos, QTextStream& salida,
                                       QTextStream& errores)
    : documento_(std::move(documento)),
      marcos_(std::move(marcos)),
      salida_(salida),
      errores_(errores) {}

std::optional<QString> InteraccionConsola::elegirDocumento() { return documento_; }

namespace {

/// A message's line breaks as the console wants them: the window's texts break lines
/// with "\n\r", and a console in text mode already turns each "\n" into its own line end.
QString lineasDeConsola(QString texto) {
    texto.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return texto;
}

}  // namespace

void InteraccionConsola::mostrarMensaje(const QString& texto) {
    QTextStream& destino = texto == kProcesoFinalizado ? salida_ : errores_;
    destino << lineasDeConsola(texto) << Qt::endl;
    if (texto == kProfesoresIncompletos && !profesoresPendientes_.isEmpty()) {
        errores_ << profesoresPendientes_ << Qt::flush;
    }
}

bool InteraccionConsola::completarProfesores(const EstadoPrograma& estado) {
    QString texto = QStringLiteral(
        "Profesores de PROFT a los que les falta X_EMPLEADO o F_TOMAPOS (ABREV, NOMBRE):\n");
    for (const ProfesorIncompleto& p : profesoresIncompletos(estado.entorno)) {
        texto += QStringLiteral("  %1  %2  (falta %3)\n")
                     .arg(p.abrev, p.nombre, p.faltan.join(QStringLiteral(" y ")));
    }
    texto += QStringLiteral(
        "Complete esos datos en la ventana de datos de profesores, que se abre al importar "
        "con varnolo, o en Taviron, y vuelva a importar.\n");
    profesoresPendientes_ = texto;
    return false;
}

SeleccionMarcos InteraccionConsola::elegirMarcos(const EstadoPrograma& estado) {
    return seleccionarMarcosPorCodigo(estado, marcos_);
}

void InteraccionConsola::comprobarMarcos(const EstadoPrograma& estado) {
    // A document with one frame needs no choice; a code given all the same must name it.
    if (listaDeMarcos(*estado.documento).size() < 2 && marcos_.isEmpty()) return;
    seleccionarMarcosDe(*estado.documento, marcos_);
}

}  // namespace varnolo::cli
