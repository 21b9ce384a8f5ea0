#pragma once
// Why the system refused a file operation, in the user's language: Spanish texts for
// the common causes (not found, permission, read-only, disk full, a folder in the way,
// in use), the system's own text for the rest. Each text fits after a colon in a
// sentence: "No se ha podido guardar el archivo X: el disco está lleno."

#include <QFileDevice>
#include <QString>

namespace varnolo {

/// The text for a C runtime error number (errno).
QString textoErrorSistema(int codigo);

/// The text for the last failure of `archivo` (open, read, write, commit).
QString textoFalloArchivo(const QFileDevice& archivo);

#ifdef _WIN32
/// The text of a Windows error code (GetLastError) in the user's language.
QString textoErrorWindows(unsigned long codigo);
#endif

}  // namespace varnolo
