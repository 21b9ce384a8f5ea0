#include "app/Ayuda.h"

namespace varnolo::plataforma {

// No viewer here knows the help contexts of a .chm file: the pages beside the program
// are shown instead.
bool hayVisorConContextos() { return false; }

bool abrirVisorAyuda(const QString&, int) { return false; }

}  // namespace varnolo::plataforma
