#pragma once
// Writing one entry of an INI settings file of the Windows private-profile kind,
// as Taviron reads it: every other section, key, comment and line ending stays
// byte for byte as it was.

#include <QString>

namespace varnolo {

/// Sets `clave`=`valor` in section `seccion` of the INI file at `ruta`. Section
/// and key names are matched with ASCII letter case ignored and surrounding blanks
/// ignored, the first match counting. An existing value is replaced in place (the
/// line up to and including its '=' is kept); a missing key is added after the last
/// non-blank line of its section; a missing section is added at the end of the file.
/// New lines take the file's own line ending (CRLF for a new or single-line file).
/// The file is created when missing and replaced through a temporary file, so an
/// interrupted write leaves the old file; temporaries of such a write that were left
/// behind (the file's name, ".", six letters or digits, over a minute old) are
/// removed by the next write. Raises ErrorVarnolo
/// "Unable to write to <ruta>" when the file cannot be read or written.
void escribirValorIni(const QString& ruta, const QString& seccion, const QString& clave,
                      const QString& valor);

/// The outcome flag in Taviron's settings file: [Transformadores] Transformado=<flag>.
void escribirTransformado(const QString& rutaIni, int transformado);

/// The settings file of the program folder: "Taviron.ini".
inline const QString kArchivoIni = QStringLiteral("Taviron.ini");

}  // namespace varnolo
