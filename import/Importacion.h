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

/// PERIODOS is missing from the work folder: the import does not start.
inline const QString kPeriodosNoEncontrado =
    QStringLiteral("ATENCIÓN - PERIODOS.DBF No encontrado - Importe de nuevo XML de VELNA.");
/// A teacher still lacks X_EMPLEADO or F_TOMAPOS after the teacher data dialog.
inline const QString kProfesoresIncompletos = QStringLiteral(
    "¡Atención! Sigue habiendo algún Profesor sin todos los DATOS.\n\r"
    "Este proceso se dentendrá y deberá volver a ejecutar\n\r"
    "la Importación, para poder corregir la incidencia.\n\r"
    "O bien realizar de nuevo la Exportación, y rellenar los datos\n\r"
    "que faltan en algún Profesor.");

}  // namespace varnolo
