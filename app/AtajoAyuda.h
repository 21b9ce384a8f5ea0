#pragma once
// F1 in a dialog: opens the help topic of that dialog, or tells the user why it
// cannot.

#include <QString>

#include "app/Ayuda.h"

class QWidget;

namespace varnolo {

/// Makes F1 in `ventana` open `tema` of the help in `carpetaPrograma`. When the help
/// cannot be shown, an information box titled "Varnolo" says why.
void instalarAyudaF1(QWidget* ventana, const QString& carpetaPrograma, const TemaAyuda& tema);

}  // namespace varnolo
