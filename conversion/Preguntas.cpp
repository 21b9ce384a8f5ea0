#include "conversion/Preguntas.h"

namespace varnolo {

QStringList MarcosHorarios::entradas() const {
    QStringList lista;
    lista.reserve(jornadas.size());
    for (const Jornada& j : jornadas) lista << j.codigo;
    return lista;
}

}  // namespace varnolo
