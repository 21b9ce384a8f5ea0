#pragma once
// Reading the levels of NIVELCAN.csv, the text a school edits with a spreadsheet or
// a text editor: UTF-8 or Windows-1252, semicolons between fields, fields in double
// quotes as spreadsheets write them. Every error names the file and the line.

#include <QByteArray>
#include <QList>
#include <QString>

#include "taviron/TablaNiveles.h"

namespace varnolo {

/// The levels of the CSV file at `ruta`, in file order. Raises ErrorVarnolo with a
/// Spanish text naming the file and, for a bad line, its number.
QList<FilaNivel> leerCsvNiveles(const QString& ruta);

/// The same over the file's bytes; `nombre` names the file in the errors. Bytes that
/// are valid UTF-8 are read as UTF-8 (a byte order mark is skipped), any others as
/// Windows-1252. Blank lines and lines starting with # are skipped; the first other
/// line must be the header "X_OFERTAMATRIG;NIVEL_ABREV;NIVEL". Refused: a key that is
/// not a whole number or is repeated, a text wider than its field or with a
/// character that Windows-1252 cannot store, a line without three fields, an
/// unclosed quote. NIVEL_ABREV may be blank.
QList<FilaNivel> leerCsvNiveles(const QByteArray& contenido, const QString& nombre);

}  // namespace varnolo
