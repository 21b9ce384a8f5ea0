#pragma once
// The timetable section HORARIOS_REGULARES of the result document: one teacher
// record per row of PROFT, and in it one activity record per placed lesson of SOLUC,
// each lesson's codes translated into Velna's keys through the work tables.

#include <QString>
#include <QStringList>

#include "conversion/Avance.h"
#include "conversion/Informe.h"
#include "import/TablasImportacion.h"
#include "xml/EscritorXml.h"

namespace varnolo {

/// The first period of the chosen time frame, as PERIODOS holds it.
struct FechasPeriodo {
    QString fecIni;
    QString fecFin;
};

/// Minutes of the day of a clock text: "09:05" and "9:05" give 545, "" gives 0.
/// A text shorter than 5 characters gets a "0" in front; hours are its first two
/// characters, minutes its last two. A part that is not a whole number raises
/// ErrorConversion.
int minutosDelDia(const QString& hora);

/// Fails with ErrorTabla naming the table and the field when an open lookup table
/// or SOLUC lacks a field that the section reads; call it before any work is done.
void comprobarCamposHorarios(const TablasImportacion& tablas);

/// The placed lessons that DIASHORAST has no slot for, one line each ("registro 12:
/// PROF …, DIA 1, HORA 3, MARCO 0").
struct LeccionesSinTramo {
    QStringList filas;
    /// For a console: a heading and the first lines; empty when there are none.
    QString lineas() const;
};

/// Writes the section as the next child of the element open in `resultado`
/// (BLOQUE_DATOS), closed when it returns, from SOLUC, PROFT, ASIGT, ASIGNOMT,
/// ASIGNOMT2, DIASHORAST and GRUPOST of `tablas`, whose fields comprobarCamposHorarios
/// has checked (once, before the import asked anything); each lookup table is read once into
/// an index, SOLUC is grouped by teacher once, so the run is linear in the size of the
/// tables. Errors propagate. Returns the lessons written without a slot; when every
/// placed lesson lacks one, raises ErrorVarnolo instead (the caller then leaves the
/// result unwritten). `informe` gets one line per teacher with the lessons written for
/// them, and each lesson of SOLUC left out or written without a slot, with its row.
/// `avance` hears of the lessons gone through (raising Cancelacion when the person
/// stops).
LeccionesSinTramo construirHorarios(EscritorXml& resultado, TablasImportacion& tablas,
                                    const FechasPeriodo& fechas, Informe& informe,
                                    Avance* avance = nullptr);

}  // namespace varnolo
