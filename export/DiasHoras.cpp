#include "CadenaExportacion.h"

namespace varnolo {

// Not written yet.
void CadenaExportacion::ExportarDiasHoras() {}

}  // namespace varnolo
