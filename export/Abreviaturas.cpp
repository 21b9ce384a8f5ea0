#include "export/Abreviaturas.h"

#include "export/FormaAlmacenada.h"

namespace varnolo {

bool AbreviaturasUnicas::ocupada(const QString& valor) const {
    return dadas_.contiene(valor) || almacenadas_.contiene(formaAlmacenada(valor, ancho_));
}

void AbreviaturasUnicas::recordar(const QString& abreviatura) {
    dadas_.agregar(abreviatura);
    almacenadas_.agregar(formaAlmacenada(abreviatura, ancho_));
}

QString AbreviaturasUnicas::dar(const QString& primera) {
    const QString abreviatura = sufijador_.hacerUnica(
        primera, [this](const QString& v) { return ocupada(v); }, candidatoDiez);
    recordar(abreviatura);
    return abreviatura;
}

QString AbreviaturasUnicas::darAcortada(const QString& primera) {
    // Candidates are at most 10 characters, so acortar changes only the first choice.
    const QString abreviatura = acortar(sufijador_.hacerUnica(
        primera, [this](const QString& v) { return ocupada(acortar(v)); }, candidatoDiez));
    recordar(abreviatura);
    return abreviatura;
}

}  // namespace varnolo
