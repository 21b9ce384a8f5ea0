#pragma once
// The import: from Taviron's solution table SOLUC and the work tables, the result
// document for Velna, saved beside the chosen exchange document.

#include "conversion/Avance.h"
#include "conversion/Desenlace.h"
#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace varnolo {

/// Imports into the result document of `documento` (see rutaResultado). Checks PERIODOS
/// and the teachers' data first, asking `preguntas` to complete it; holds the work
/// folder against other conversions while it runs. Nothing is saved unless the run
/// completes. `avance` hears of the document read and the lessons written, and may
/// stop the import: the old result stays as it was.
Desenlace importar(const Entorno& entorno, const QString& documento, Preguntas& preguntas,
                   Avance* avance = nullptr);

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
