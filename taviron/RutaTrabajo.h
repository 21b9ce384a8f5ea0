#pragma once
// Where the work folder is on this machine.

#include <QString>

namespace varnolo::plataforma {

/// Windows: "\QWORK" at the root of the current drive. Elsewhere there is no
/// drive: the folder named by the environment variable VARNOLO_QWORK, or "/QWORK"
/// when it is unset or empty. The folder is never created here.
QString carpetaTrabajoDelSistema();

}  // namespace varnolo::plataforma
