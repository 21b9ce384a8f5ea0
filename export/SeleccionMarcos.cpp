#include "SeleccionMarcos.h"

#include "data/Errores.h"

namespace varnolo {

// Not written yet.
SeleccionMarcos seleccionarMarcosPorCodigo(const EstadoPrograma&, const QStringList&) {
    throw ErrorVarnolo(QStringLiteral("Selección de marcos no disponible todavía"));
}

}  // namespace varnolo
