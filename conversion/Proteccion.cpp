#include "conversion/Proteccion.h"

#include "base/Errores.h"

namespace varnolo {

Desenlace protegerConversion(const std::function<Desenlace()>& conversion) {
    try {
        return conversion();
    } catch (const Cancelacion&) {
        return Desenlace::cancelada();
    } catch (const ErrorVarnolo& e) {
        return Desenlace::fallo(e.texto());
    } catch (const std::exception& e) {
        return Desenlace::fallo(QString::fromLocal8Bit(e.what()));
    }
}

}  // namespace varnolo
