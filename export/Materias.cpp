#include "CadenaExportacion.h"

namespace varnolo {

// Not written yet.
void CadenaExportacion::ExportarMaterias() {}
void CadenaExportacion::ExportarActividades() {}

}  // namespace varnolo
