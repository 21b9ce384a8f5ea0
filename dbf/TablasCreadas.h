#pragma once
// Tables created during a conversion stay held exclusively from their creation until
// the conversion opens them to fill them, so that no other process gets in between
// (and finds, or writes, a half-built table). Outside a conversion nothing is kept:
// a created table is released at once, as before.

#include <QString>
#include <memory>

#include "base/BloqueoArchivo.h"

namespace varnolo::motor::tablasCreadas {

/// Switches the keeping on (a conversion took its work folder) or off (it ended);
/// switching off releases every hold still kept.
void reservar(bool activo);

/// Keeps the exclusive hold under which the table at RUTA was just created; while the
/// keeping is off, the hold is released here.
void guardar(const QString& ruta, std::unique_ptr<plataforma::ArchivoBloqueado> archivo);

/// The kept hold of the table at RUTA, taken out of the keeping; null when none.
std::unique_ptr<plataforma::ArchivoBloqueado> retirar(const QString& ruta);

}  // namespace varnolo::motor::tablasCreadas
