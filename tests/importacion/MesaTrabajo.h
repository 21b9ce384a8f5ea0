#pragma once
// A small work folder for import tests: every table of the catalogue, PERIODOS with
// one period, and an empty SOLUC (crearSoluc of the shared test helpers).

#include <QList>
#include <QStringList>

#include "taviron/CarpetaTrabajo.h"
#include "taviron/Entorno.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {

/// Appends rows to a table of the work folder; each row gives the values in field
/// order (fewer values leave the rest blank; "" leaves a field blank). Integer,
/// float and Boolean fields take "12", "1.5", "T"/"F".
void agregarFilas(const Entorno& entorno, const QString& tabla, const QList<QStringList>& filas);

/// Creates every table of the catalogue empty, an empty SOLUC, and PERIODOS with the
/// period 01/09/2025 to 30/06/2026.
void crearMesaVacia(const Entorno& entorno);

}  // namespace varnolo::prueba
