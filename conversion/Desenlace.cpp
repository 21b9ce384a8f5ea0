#include "conversion/Desenlace.h"

namespace varnolo {

Desenlace Desenlace::completa(const QString& detalle) {
    return {Tipo::Completada, Motivo::Ninguno, kProcesoFinalizado, detalle, {}};
}

Desenlace Desenlace::aviso(Motivo motivo, const QString& texto, const QString& detalle) {
    return {Tipo::Aviso, motivo, texto, detalle, {}};
}

Desenlace Desenlace::fallo(const QString& texto) {
    return {Tipo::Fallo, Motivo::Ninguno, texto, {}, {}};
}

Desenlace Desenlace::cancelada() {
    return {Tipo::Cancelada, Motivo::Ninguno, kConversionCancelada, {}, {}};
}

}  // namespace varnolo
