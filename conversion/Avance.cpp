#include "conversion/Avance.h"

#include "base/Errores.h"

namespace varnolo {

QString textoDeFase(Avance::Fase fase) {
    switch (fase) {
        case Avance::Fase::Lectura:
            return QStringLiteral("Leyendo el documento de Velna…");
        case Avance::Fase::Tablas:
            return QStringLiteral("Escribiendo las tablas de Taviron…");
        case Avance::Fase::Lecciones:
            return QStringLiteral("Escribiendo el horario de cada profesor…");
    }
    return {};
}

void informarAvance(Avance* avance, Avance::Fase fase, qint64 hecho, qint64 total) {
    if (avance != nullptr && !avance->seguir(fase, hecho, total)) throw Cancelacion();
}

}  // namespace varnolo
