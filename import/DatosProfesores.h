#pragma once
// The teacher data test shared by the import and the teacher data dialog: Velna
// knows a teacher only by X_EMPLEADO together with F_TOMAPOS.

#include <QList>
#include <QStringList>

#include "dbf/Tabla.h"
#include "taviron/Entorno.h"

namespace varnolo {

/// True when the current row of PROFT carries both X_EMPLEADO and F_TOMAPOS, each
/// non-empty once blanks and control characters are removed from both ends.
bool profesorCompleto(const Tabla& proft);

/// Scans the open PROFT from its first row and stops at the first incomplete
/// teacher; true when there is one. Leaves the cursor on it (or at the end).
bool hayProfesorIncompleto(Tabla& proft);

/// Opens PROFT of the work folder in a table object of its own (shared), scans it
/// and closes it again.
bool hayProfesorIncompleto(const Entorno& entorno);

/// A teacher of PROFT that Velna cannot identify, and the fields it lacks.
struct ProfesorIncompleto {
    QString abrev, nombre;
    QStringList faltan;  ///< "X_EMPLEADO", "F_TOMAPOS" or both, in that order
};

/// Every incomplete teacher of PROFT of the work folder, in table order.
QList<ProfesorIncompleto> profesoresIncompletos(const Entorno& entorno);

}  // namespace varnolo
