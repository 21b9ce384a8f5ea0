#pragma once
// The export chain: seven steps, run in this order, each reading the loaded
// document and rebuilding its work tables. Later steps read what earlier ones
// wrote (ASIGNOMT, GRUPOST, the default-activity flag), so the order is binding.

#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace varnolo {

class CadenaExportacion {
  public:
    /// `estado.documento` must hold the loaded exchange document.
    CadenaExportacion(EstadoPrograma& estado, Interaccion& interaccion)
        : estado_(estado), interaccion_(interaccion) {}

    /// Runs steps 1 to 7. Any error ends the chain where it arose; tables of the
    /// finished steps stay rebuilt.
    void ejecutar();

    void ExportarMaterias();      ///< 1: MATERIAS → ASIGNOMT, ASIGNOMT2
    void ExportarActividades();   ///< 2: ACTIVIDADES → ASIGNOMT (appends), default-activity flag
    void ExportarProfesores();    ///< 3: EMPLEADOS → PROFT
    void ExportarAulas();         ///< 4: DEPENDENCIAS → AULAT
    void ExportarCursosGrupos();  ///< 5: CURSOS_DEL_CENTRO, UNIDADES → CURSOST, GRUPOST
    void ExportarAsignaciones();  ///< 6: MATERIAS → ASIGT
    void ExportarDiasHoras();     ///< 7: JORNADAS_ESCOLARES, TRAMOS_HORARIOS → DIASHORAST,
                                  ///< DIASHORAST2, PERIODOS

  private:
    const DocumentoXml& documento() const { return *estado_.documento; }
    EstadoPrograma& estado_;
    Interaccion& interaccion_;
};

}  // namespace varnolo
