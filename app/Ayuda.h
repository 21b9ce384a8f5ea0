#pragma once
// The program's help: the HTML help file VELNA.chm of the program folder, shown by
// the platform's help viewer.

#include <QString>

namespace varnolo {

/// The help file's name, looked up in the program folder.
inline const QString kArchivoAyuda = QStringLiteral("VELNA.chm");
/// The help context of the main window (topic opened by F1).
inline constexpr int kTemaVentanaPrincipal = 3;

/// Shows the help file `ruta`: its contents when `tema` is 0, otherwise the topic
/// with that help context. Raises ErrorVarnolo with a Spanish text when the file is
/// missing or the viewer cannot be started.
void mostrarAyuda(const QString& ruta, int tema);

namespace plataforma {
/// Starts the platform's viewer on the existing help file `ruta` (contents when
/// `tema` is 0, otherwise that topic where the viewer supports topics). Returns
/// false when the viewer could not be started. Does not wait for the viewer.
bool abrirVisorAyuda(const QString& ruta, int tema);
}  // namespace plataforma

}  // namespace varnolo
