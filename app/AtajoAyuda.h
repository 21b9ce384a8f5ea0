#pragma once
// F1 in a dialog: opens the help topic of that dialog, or tells the user why it
// cannot.

#include <QString>

class QWidget;

namespace varnolo {

/// Makes F1 in `ventana` open topic `tema` of VELNA.chm in `carpetaPrograma`. When
/// the help cannot be shown, a message box titled "Varnolo" says why.
void instalarAyudaF1(QWidget* ventana, const QString& carpetaPrograma, int tema);

}  // namespace varnolo
