#include "export/ReglasTexto.h"

namespace varnolo {

QString acortar(const QString& texto) {
    if (texto.size() <= 10) return texto;
    return texto.left(8) + texto.right(2);
}

QString mayusculasAscii(const QString& texto) {
    QString r = texto;
    for (QChar& c : r) {
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return r;
}

bool ListaAbreviaturas::contiene(const QString& valor) const {
    return plegadas_.contains(valor.toCaseFolded());
}

void ListaAbreviaturas::agregar(const QString& valor) { plegadas_.insert(valor.toCaseFolded()); }

QString Sufijador::hacerUnica(const QString& primera, const Ocupado& ocupado,
                              const Candidato& candidato) {
    if (!ocupado(primera)) return primera;
    const QString base = primera.left(9);
    int n = ultimoSufijo_.value(base, 0);
    QString c;
    do {
        ++n;
        c = candidato(base, n);
    } while (ocupado(c));
    ultimoSufijo_.insert(base, n);
    return c;
}

QString candidatoDiez(const QString& base, int n) {
    const QString sufijo = QString::number(n);
    if (base.size() + sufijo.size() <= 10) return base + sufijo;
    return base.left(qMax<qsizetype>(0, 10 - sufijo.size())) + sufijo;
}

}  // namespace varnolo
