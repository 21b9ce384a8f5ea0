#include "export/CadenaExportacion.h"

namespace varnolo {

void CadenaExportacion::ejecutar() {
    ExportarMaterias();
    ExportarActividades();
    ExportarProfesores();
    ExportarAulas();
    ExportarCursosGrupos();
    ExportarAsignaciones();
    ExportarDiasHoras();
}

}  // namespace varnolo
