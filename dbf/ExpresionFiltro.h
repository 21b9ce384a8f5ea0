#pragma once
// The one filter expression the tables accept: FIELD= 'value', the value in single
// quotes with a quote inside it doubled.

#include <QString>
#include <optional>

namespace varnolo::motor {

struct Filtro {
    QString campo;  ///< as written, letter case kept
    QString valor;  ///< the value with doubled quotes undone
};

/// Parses "CAMPO= 'valor'" (blanks allowed around the name, the "=" and the value).
/// Empty when the text is anything else.
std::optional<Filtro> leerFiltro(const QString& expresion);

}  // namespace varnolo::motor
