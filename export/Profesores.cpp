#include "CadenaExportacion.h"

namespace varnolo {

// Not written yet.
void CadenaExportacion::ExportarProfesores() {}

}  // namespace varnolo
