#pragma once
// One run of varnolo-cli once its command line has been read.

#include <QTextStream>

#include "cli/Argumentos.h"

namespace varnolo::cli {

/// Runs the conversion of `orden` with the program folder `carpetaPrograma`, and
/// returns the exit status: 0 when it completed, 1 when it ended with a message or
/// an error (written to `errores` as the window would show it). With `barra`, a
/// conversion draws its progress on `errores` (a terminal) and Ctrl+C cancels it.
int ejecutar(const Orden& orden, const QString& carpetaPrograma, QTextStream& salida,
             QTextStream& errores, bool barra = false);

}  // namespace varnolo::cli
