#pragma once
// The form in which a text field of a work table holds a value: converted to
// Windows-1252 (a character outside it becomes '?'), cut to the field width in
// bytes, and read back without trailing blanks, as the table engine returns it.
// The export steps compare document values with table rows in this form.

#include <QString>

namespace varnolo {

/// The value as a string field of `ancho` bytes stores and returns it.
QString formaAlmacenada(const QString& valor, int ancho);

}  // namespace varnolo
