#pragma once
// The teacher data completion dialog "Control de Profesores".

#include <QWidget>

#include "data/EstadoPrograma.h"

namespace varnolo {

/// Creates the dialog owned by `propietario`, shows it modally once over PROFT of
/// the work folder, and returns its `result`; the dialog is destroyed afterwards.
bool mostrarControlProfesores(QWidget* propietario, const EstadoPrograma& estado);

}  // namespace varnolo
