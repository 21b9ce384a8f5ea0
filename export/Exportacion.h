#pragma once
// The export as the user starts it: choose the exchange document, check it and the
// level table, load it, run the export chain, report the outcome.

#include "data/Conversion.h"
#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace varnolo {

/// Runs the export handler. Messages and the file choice go through `interaccion`;
/// errors raised by a step propagate to the caller (the caller shows them and
/// restores the cursor), leaving `estado.transformado` as it was.
void ejecutarExportacion(EstadoPrograma& estado, Interaccion& interaccion);

inline const QString kNivelcanNoEncontrado =
    QStringLiteral("ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale VARNOLO");

}  // namespace varnolo
