#pragma once
// The time-frame choice without a window: what the dialog does when it closes, and
// the same choice made from frame codes given on the command line.

#include <QStringList>

#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace varnolo {

/// The choice made headless: selects the frame-list entries of the document named
/// by estado.filenameXML whose code equals one of `marcos`, and closes the selection
/// as the dialog does. Raises ErrorVarnolo with the dialog's message when none or
/// more than five frames are selected, and with a message that lists the frame codes
/// when `marcos` is empty.
SeleccionMarcos seleccionarMarcosPorCodigo(const EstadoPrograma& estado, const QStringList& marcos);

}  // namespace varnolo
