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

std::function<bool(qint64, qint64)> avanceDeLectura(Avance* avance) {
    return [avance](qint64 leidos, qint64 total) {
        return avance == nullptr || avance->seguir(Avance::Fase::Lectura, leidos, total);
    };
}

void informarAvance(Avance* avance, Avance::Fase fase, qint64 hecho, qint64 total) {
    if (avance != nullptr && !avance->seguir(fase, hecho, total)) throw Cancelacion();
}

}  // namespace varnolo
