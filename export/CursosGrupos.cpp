#include "CadenaExportacion.h"

namespace varnolo {

// Not written yet.
void CadenaExportacion::ExportarCursosGrupos() {}

}  // namespace varnolo
