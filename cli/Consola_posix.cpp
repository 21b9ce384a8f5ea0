#include <unistd.h>

#include "cli/Consola.h"

namespace varnolo::cli::plataforma {

// Terminals here take UTF-8 as it is.
std::function<bool(const QString&)> consolaDe(FILE*) { return {}; }

bool esTerminal(FILE* flujo) { return isatty(fileno(flujo)) == 1; }

}  // namespace varnolo::cli::plataforma
