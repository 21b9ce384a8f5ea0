#include "base/Textos.h"

namespace varnolo {

QString recortar(const QString& texto) {
    qsizetype inicio = 0;
    qsizetype fin = texto.size();
    while (inicio < fin && texto[inicio].unicode() <= u' ') ++inicio;
    while (fin > inicio && texto[fin - 1].unicode() <= u' ') --fin;
    return texto.mid(inicio, fin - inicio);
}

}  // namespace varnolo
