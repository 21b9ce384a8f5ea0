#pragma once
// The modal windows that the main window opens on behalf of a conversion, gathered
// so that tests can put scripted answers in their place.

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/DialogoAvance.h"
#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace varnolo {

/// The two kinds of box the program shows, and their one rule: a message of the
/// program (a conversion's outcome, a refused choice, a missing help file) is a plain
/// box without an icon; an error keeps the icon of the standard error box.
enum class ClaseAviso { Mensaje, Error };
QMessageBox::Icon iconoDe(ClaseAviso clase);

/// One message of the main window: caption, text and the kind of box.
struct AvisoVentana {
    QString titulo;
    QString texto;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    /// What the box shows behind its details button (what a conversion wrote); none
    /// when empty.
    QString detalles = {};
};

/// A message of the given kind, captioned "Varnolo".
AvisoVentana avisoDe(ClaseAviso clase, const QString& texto);

struct DialogosVentana {
    /// The file-open dialog; nothing when cancelled.
    std::function<std::optional<QString>(QWidget* propietario)> elegirArchivo;
    /// A modal message box with an OK button; returns once confirmed.
    std::function<void(QWidget* propietario, const AvisoVentana& aviso)> avisar;
    /// The time-frame dialog over the document's frames: the positions accepted, or
    /// none.
    std::function<QList<int>(QWidget* propietario, const Entorno& entorno,
                             const MarcosHorarios& marcos)>
        marcos;
    /// The teacher data dialog over PROFT of the work folder: its `result`.
    std::function<bool(QWidget* propietario, const Entorno& entorno)> profesores;
    /// The dialog of the tables' copies over the work folder.
    std::function<void(QWidget* propietario, const Entorno& entorno)> copias;
    /// The progress dialog of one conversion, not yet shown; none: no progress shown.
    std::function<std::unique_ptr<DialogoAvance>(QWidget* propietario)> avance;

    /// The real windows: OpenDialogXML, QMessageBox, DialogoMarcos, DialogoProfesores,
    /// DialogoCopias, DialogoAvance.
    static DialogosVentana reales();
};

/// OpenDialogXML: "Seleccione Archivo XML obtenido de VELNA", one filter entry
/// "*.xml", default suffix "xml". The chosen path, or nothing when cancelled.
std::optional<QString> mostrarOpenDialogXML(QWidget* propietario);

/// The box of `aviso`, not yet shown: one OK button, the text as plain text. A long
/// path wraps after its separators on screen, while what a screen reader reads and
/// what Ctrl+C copies is the message exactly.
std::unique_ptr<QMessageBox> crearCajaAviso(QWidget* propietario, const AvisoVentana& aviso);

/// Shows the box of `aviso` modally; returns once confirmed.
void mostrarAviso(QWidget* propietario, const AvisoVentana& aviso);

}  // namespace varnolo
