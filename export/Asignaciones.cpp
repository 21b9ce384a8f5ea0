#include "CadenaExportacion.h"

namespace varnolo {

// Not written yet.
void CadenaExportacion::ExportarAsignaciones() {}

}  // namespace varnolo
