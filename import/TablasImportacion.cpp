#include "import/TablasImportacion.h"

namespace varnolo {

TablasImportacion::TablasImportacion(const CarpetaTrabajo& carpeta)
    : soluc(carpeta.abrir(catalogo::SOLUC(), Acceso::Exclusiva)),
      grupost(carpeta.abrir(catalogo::GRUPOST(), Acceso::Exclusiva)),
      cursost(carpeta.abrir(catalogo::CURSOST(), Acceso::Exclusiva)),
      proft(carpeta.abrir(catalogo::PROFT(), Acceso::Compartida)),
      aulat(carpeta.abrir(catalogo::AULAT(), Acceso::Exclusiva)),
      asignomt(carpeta.abrir(catalogo::ASIGNOMT(), Acceso::Exclusiva)),
      asignomt2(carpeta.abrir(catalogo::ASIGNOMT2(), Acceso::Exclusiva)),
      diashorast(carpeta.abrir(catalogo::DIASHORAST(), Acceso::Exclusiva)),
      asigt(carpeta.abrir(catalogo::ASIGT(), Acceso::Exclusiva)) {}

void TablasImportacion::cerrar() {
    for (Tabla* t :
         {&soluc, &grupost, &cursost, &proft, &aulat, &asignomt, &asignomt2, &diashorast, &asigt}) {
        t->close();
    }
}

}  // namespace varnolo
