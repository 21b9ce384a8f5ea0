#pragma once
// Qt's own Spanish texts, so that standard buttons read "Aceptar", "Abrir" and
// "Cancelar".

#include <QCoreApplication>

namespace varnolo {

/// Installs qtbase_es from Qt's translations folder on `aplicacion`. Returns false
/// when it is not installed (the standard texts then stay in English).
bool cargarTraduccionesQt(QCoreApplication& aplicacion);

}  // namespace varnolo
