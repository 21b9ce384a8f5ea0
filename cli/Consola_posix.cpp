#include "cli/Consola.h"

namespace varnolo::cli::plataforma {

// Terminals here take UTF-8 as it is.
std::function<bool(const QString&)> consolaDe(FILE*) { return {}; }

}  // namespace varnolo::cli::plataforma
