#pragma once
// The export chain: seven steps, run in this order, each reading the loaded
// document and rebuilding its work tables. Later steps read what earlier ones
// wrote (ASIGNOMT, GRUPOST, the default-activity flag), so the order is binding.

#include <QString>
#include <set>

#include "conversion/Informe.h"
#include "export/Exportacion.h"
#include "export/TextosFila.h"
#include "taviron/CarpetaTrabajo.h"
#include "velna/Sobre.h"

namespace varnolo {

/// Why a record with fewer than two data is skipped, as the report tells it.
inline const QString kRegistroCorto = QStringLiteral("tiene menos de dos datos");

/// The four sorted, case-sensitive subject lists of the first export step.
struct ListasMaterias {
    std::set<QString> listaCodigos;
    std::set<QString> listaCodLargos;
    std::set<QString> listaNombres;
    std::set<QString> listaCodNombres;
    void vaciar() {
        listaCodigos.clear();
        listaCodLargos.clear();
        listaNombres.clear();
        listaCodNombres.clear();
    }
};

/// What the steps of one export share: where they write, what they read, how the
/// time frames are chosen, and what earlier steps leave for later ones.
struct ContextoExportacion {
    ContextoExportacion(const Entorno& e, const SeccionesDocumento& d, const OpcionesExportacion& o,
                        Preguntas& p)
        : entorno(e), carpeta(e, [this] { avanzar(); }), documento(d), opciones(o), preguntas(p) {}
    ContextoExportacion(const ContextoExportacion&) = delete;
    ContextoExportacion& operator=(const ContextoExportacion&) = delete;

    const Entorno& entorno;
    const CarpetaTrabajo carpeta;
    const SeccionesDocumento& documento;
    const OpcionesExportacion& opciones;
    Preguntas& preguntas;
    ListasMaterias listas;
    /// 1 when an activity with the default activity code "513" exists.
    int actividadPorDefecto = 0;
    /// What the steps cut, made unique or skipped, with the place of each record.
    Informe informe;
    /// Steps finished so far.
    int pasosHechos = 0;

    /// Tells the progress (steps finished of seven); raises Cancelacion when the person
    /// has asked to stop. Called before every row written.
    void avanzar() const;
};

class CadenaExportacion {
  public:
    explicit CadenaExportacion(ContextoExportacion& estado) : estado_(estado) {}

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
    const SeccionesDocumento& documento() const { return estado_.documento; }
    /// Notes the record at `registro` (from 1) of `seccion` as skipped, with the reason.
    void saltado(const QString& seccion, int registro, const QString& razon);
    /// Notes that the code the record gives for `tabla`.`campo` was made unique.
    void hechoUnico(const QString& seccion, int registro, const QString& tabla,
                    const QString& campo);
    /// Notes a room code shortened to the 10 characters of `tabla`.`campo`.
    void acortado(const QString& seccion, int registro, const QString& tabla, const QString& campo);
    ContextoExportacion& estado_;
};

}  // namespace varnolo
