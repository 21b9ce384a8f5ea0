#pragma once
// The level table NIVELCAN (its layout is catalogo::NIVELCAN()): how a set of levels is written
// into it. The build generates it from NIVELCAN.csv; tests write small ones.

#include <QList>
#include <QString>
#include <memory>

#include "base/Reloj.h"
#include "taviron/Catalogo.h"

namespace varnolo {

/// One level: the course key it belongs to, its abbreviation and its name.
struct FilaNivel {
    int oferta = 0;
    QString abrev, nivel;
};

/// Creates the table at `ruta` (replacing any) with these rows, in order, with the
/// header date from `reloj`.
void escribirTablaNiveles(const QString& ruta, const QList<FilaNivel>& filas,
                          std::shared_ptr<const Reloj> reloj);

}  // namespace varnolo
