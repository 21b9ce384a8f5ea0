#include "CadenaExportacion.h"

namespace varnolo {

// Not written yet.
void CadenaExportacion::ExportarAulas() {}

}  // namespace varnolo
