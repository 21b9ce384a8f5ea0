#pragma once
// The import as the user starts it: choose the exchange document, check PERIODOS and
// the teachers, build the result document from SOLUC and the work tables, save it
// beside the chosen document.

#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace varnolo {

/// Runs the import handler. Messages, the file choice and the teacher data dialog go
/// through `interaccion`; errors propagate to the caller (who shows them and
/// restores the cursor), leaving `estado.transformado` as it was and nothing saved.
void ejecutarImportacion(EstadoPrograma& estado, Interaccion& interaccion);

/// "ResultadoZentor" + the chosen document's file name, in its folder.
QString rutaResultado(const QString& documentoElegido);

}  // namespace varnolo
