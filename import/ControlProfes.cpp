#include "ControlProfes.h"

namespace varnolo {

// Not written yet.
bool mostrarControlProfesores(QWidget*, const EstadoPrograma&) { return false; }

}  // namespace varnolo
