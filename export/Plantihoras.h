#pragma once
// The time-frame selection dialog "Planillas, Marcos o Jornadas Horarias".

#include <QWidget>

#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace varnolo {

/// Creates the dialog owned by `propietario`, shows it modally once over the
/// document named by estado.filenameXML, and returns its resultMH, resultado and the
/// number of entries of its frame list; the dialog is destroyed afterwards.
SeleccionMarcos mostrarPlantillas(QWidget* propietario, const EstadoPrograma& estado);

}  // namespace varnolo
