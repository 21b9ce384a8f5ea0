#pragma once
// The nine tables that an import reads, open for the length of the run: opened in
// the order SOLUC, GRUPOST, CURSOST, PROFT, AULAT, ASIGNOMT, ASIGNOMT2, DIASHORAST,
// ASIGT, every one exclusively except PROFT, which the teacher data dialog opens
// too. Closed however the run ends, so that an import that stops early does not keep
// Taviron out of the work tables.

#include "taviron/CarpetaTrabajo.h"

namespace varnolo {

struct TablasImportacion {
    /// Opens the nine tables in order; when one cannot be opened, those already open
    /// are closed again before the engine's error goes on.
    explicit TablasImportacion(const CarpetaTrabajo& carpeta);
    TablasImportacion(const TablasImportacion&) = delete;
    TablasImportacion& operator=(const TablasImportacion&) = delete;

    /// Closes the nine in order at the end of a run that went well; errors of
    /// closing are raised. Leaving the scope without it closes them all the same and
    /// drops any error of closing: the error that ends the run is the one to see.
    void cerrar();

    Tabla soluc, grupost, cursost, proft, aulat, asignomt, asignomt2, diashorast, asigt;
};

}  // namespace varnolo
