#include "dbf/ExpresionFiltro.h"

namespace varnolo::motor {

namespace {

bool esBlanco(QChar c) { return c == u' ' || c == u'\t'; }

bool esLetraDeNombre(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

}  // namespace

std::optional<Filtro> leerFiltro(const QString& expresion) {
    const qsizetype n = expresion.size();
    qsizetype i = 0;
    while (i < n && esBlanco(expresion[i])) ++i;
    const qsizetype inicioNombre = i;
    while (i < n && esLetraDeNombre(expresion[i])) ++i;
    if (i == inicioNombre) return std::nullopt;
    Filtro filtro;
    filtro.campo = expresion.mid(inicioNombre, i - inicioNombre);
    while (i < n && esBlanco(expresion[i])) ++i;
    if (i == n || expresion[i] != u'=') return std::nullopt;
    ++i;
    while (i < n && esBlanco(expresion[i])) ++i;
    if (i == n || expresion[i] != u'\'') return std::nullopt;
    ++i;
    bool cerrado = false;
    while (i < n) {
        if (expresion[i] == u'\'') {
            if (i + 1 < n && expresion[i + 1] == u'\'') {
                filtro.valor.append(u'\'');
                i += 2;
                continue;
            }
            cerrado = true;
            ++i;
            break;
        }
        filtro.valor.append(expresion[i]);
        ++i;
    }
    if (!cerrado) return std::nullopt;
    while (i < n && esBlanco(expresion[i])) ++i;
    if (i != n) return std::nullopt;
    return filtro;
}

}  // namespace varnolo::motor
