#pragma once
// Putting one file in the place of another in one step, and making what was written
// reach the disk: the two things a journalled replacement needs from the system.

#include <QString>

namespace varnolo::plataforma {

/// Moves `origen` to `destino` (same file system), replacing `destino` when it exists,
/// and waits until the move is on disk. False with the reason in the user's language
/// in `motivo`. POSIX: rename(2), then fsync of the folder. Windows: MoveFileExW with
/// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH (a file open elsewhere without
/// sharing deletion is not replaced).
bool reemplazarArchivo(const QString& origen, const QString& destino, QString& motivo);

/// Writes what the system still holds of the file at `ruta` to the disk. False with
/// the reason in `motivo`.
bool sincronizarArchivo(const QString& ruta, QString& motivo);

}  // namespace varnolo::plataforma
