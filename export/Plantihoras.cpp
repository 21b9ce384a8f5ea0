#include "Plantihoras.h"

namespace varnolo {

// Not written yet.
SeleccionMarcos mostrarPlantillas(QWidget*, const EstadoPrograma&) { return {true, QString(), 0}; }

}  // namespace varnolo
