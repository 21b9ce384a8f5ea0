#pragma once
// The program's help: VELNA.chm of the program folder at the topic of a window, shown
// by the Windows help viewer; elsewhere, and when the viewer fails, the same topic as
// an HTML page of the folder "ayuda" beside the program, shown by the desktop's browser.

#include <QString>
#include <functional>

namespace varnolo {

/// The help file's name, looked up in the program folder.
inline const QString kArchivoAyuda = QStringLiteral("VELNA.chm");
/// The folder of the program folder that holds the help pages.
inline const QString kCarpetaAyuda = QStringLiteral("ayuda");

/// A place in the help: the help context that the compiled file maps to a page
/// (0 is its contents), and the page that a browser shows for it.
struct TemaAyuda {
    int contexto = 0;
    QString pagina;
};

/// "F1 Ayuda": the contents, whose first page is the overview.
inline const TemaAyuda kAyudaContenido{0, QStringLiteral("index.html")};
/// F1 in the main window: context 3 of the help file; the overview in a browser.
inline const TemaAyuda kAyudaVentanaPrincipal{3, QStringLiteral("index.html")};
/// F1 in the time-frame dialog.
inline const TemaAyuda kAyudaMarcos{3, QStringLiteral("marcos.html")};
/// F1 in the teacher data dialog.
inline const TemaAyuda kAyudaProfesores{1, QStringLiteral("profesores.html")};
/// F1 in the dialog of the tables' copies.
inline const TemaAyuda kAyudaCopias{4, QStringLiteral("copias.html")};

/// Shows `tema` of the help of `carpetaPrograma`. Raises ErrorVarnolo with a Spanish
/// text when neither VELNA.chm nor the page is there, or nothing could show them.
void mostrarAyuda(const QString& carpetaPrograma, const TemaAyuda& tema);

/// The viewer of the compiled help file: opens `rutaChm` at help context `contexto`
/// (its contents when 0) and returns false when it could not. Tests replace it.
using VisorAyuda = std::function<bool(const QString& rutaChm, int contexto)>;
VisorAyuda& visorAyuda();

namespace plataforma {
/// True where the platform has a viewer that knows help contexts (Windows).
bool hayVisorConContextos();
/// Starts that viewer on the existing help file `ruta` at context `tema` (contents
/// when 0). Returns false when it could not. Does not wait for the viewer.
bool abrirVisorAyuda(const QString& ruta, int tema);
}  // namespace plataforma

}  // namespace varnolo
