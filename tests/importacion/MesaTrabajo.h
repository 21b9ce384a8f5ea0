#pragma once
// A small work folder for import tests: every table of the catalogue, PERIODOS with
// one period, and a SOLUC written through our engine with a layout of its own.

#include <QList>
#include <QStringList>

#include "data/CarpetaTrabajo.h"
#include "data/Entorno.h"

namespace varnolo::prueba {

/// Appends rows to a table of the work folder; each row gives the values in field
/// order (fewer values leave the rest blank; "" leaves a field blank). Integer,
/// float and Boolean fields take "12", "1.5", "T"/"F".
void agregarFilas(const Entorno& entorno, const QString& tabla, const QList<QStringList>& filas);

/// The SOLUC layout used by the tests: PROF, DIA, HORA, MARCO, ASIG, CODGRUPO, TAREA,
/// AULA. DIA and HORA are integer columns, or text columns holding the number.
void crearSoluc(const Entorno& entorno, bool diaHoraTexto = false);

/// Creates every table of the catalogue empty, an empty SOLUC, and PERIODOS with the
/// period 01/09/2025 to 30/06/2026.
void crearMesaVacia(const Entorno& entorno);

}  // namespace varnolo::prueba
