#include "taviron/RutaTrabajo.h"

#include <QtGlobal>

namespace varnolo::plataforma {

QString carpetaTrabajoDelSistema() {
    const QString deEntorno = qEnvironmentVariable("VARNOLO_QWORK");
    return deEntorno.isEmpty() ? QStringLiteral("/QWORK") : deEntorno;
}

}  // namespace varnolo::plataforma
