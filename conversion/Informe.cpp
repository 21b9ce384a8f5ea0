#include "conversion/Informe.h"

namespace varnolo {

void Informe::agregarLinea(const QString& linea) { lineas_ << linea; }

void Informe::anotar(const QString& tipo, const QString& lugar) {
    auto it = posicion_.constFind(tipo);
    if (it == posicion_.cend()) {
        it = posicion_.insert(tipo, grupos_.size());
        grupos_.append(Grupo{tipo, {}, {}});
    }
    Grupo& g = grupos_[*it];
    if (g.lugares.contains(lugar)) return;
    g.lugares.insert(lugar);
    if (g.primeros.size() < kLugaresMostrados) g.primeros << lugar;
}

QString LugarRegistro::texto() const { return Informe::lugar(seccion, registro); }

QString Informe::lugar(const QString& seccion, int registro) {
    return QStringLiteral("%1 registro %2").arg(seccion).arg(registro);
}

int Informe::cuenta(const QString& tipo) const {
    const auto it = posicion_.constFind(tipo);
    return it == posicion_.cend() ? 0 : static_cast<int>(grupos_[*it].lugares.size());
}

QString Informe::texto() const {
    QString t;
    for (const QString& linea : lineas_) t += linea + u'\n';
    for (const Grupo& g : grupos_) {
        const qsizetype resto = g.lugares.size() - g.primeros.size();
        QString lugares = g.primeros.join(QStringLiteral(", "));
        if (resto > 0) lugares += QStringLiteral(" y %1 más").arg(resto);
        t +=
            QStringLiteral("%1: %2 (%3)\n").arg(g.tipo, QString::number(g.lugares.size()), lugares);
    }
    return t;
}

}  // namespace varnolo
