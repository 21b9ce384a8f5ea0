#pragma once
// The modal windows that the main window opens on behalf of a conversion, gathered
// so that tests can put scripted answers in their place.

#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "data/Entorno.h"
#include "data/Preguntas.h"

namespace varnolo {

/// One message of the main window: caption, text and the kind of box.
struct AvisoVentana {
    QString titulo;
    QString texto;
    QMessageBox::Icon icono = QMessageBox::Information;
};

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

    /// The real windows: OpenDialogXML, QMessageBox, DialogoMarcos, DialogoProfesores.
    static DialogosVentana reales();
};

/// OpenDialogXML: "Seleccione Archivo XML obtenido de VELNA", one filter entry
/// "*.xml", default suffix "xml". The chosen path, or nothing when cancelled.
std::optional<QString> mostrarOpenDialogXML(QWidget* propietario);

/// `texto` with a break opportunity (a zero-width space) after every path separator, so
/// that a long path wraps in a message box instead of being cut off at its right edge.
QString textoPartible(const QString& texto);

/// A modal QMessageBox with one OK button and the text shown as plain text; long paths
/// wrap.
void mostrarAviso(QWidget* propietario, const AvisoVentana& aviso);

}  // namespace varnolo
