#pragma once
// The export: from a Velna exchange document, Taviron's work tables.

#include <QStringList>
#include <optional>

#include "conversion/Desenlace.h"
#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace varnolo {

struct OpcionesExportacion {
    /// The time frames chosen in advance by their codes (the command line); checked
    /// against the document before any table is touched. Nothing: ask when the
    /// document has several.
    std::optional<QStringList> marcos;
};

/// Exports `documento` into the work folder of `entorno`. Checks the document, the
/// level table and the frame choice before the first table is touched, and holds the
/// work folder against other conversions while it runs. A step's error ends the run
/// where it arose; the tables of the finished steps stay rebuilt.
Desenlace exportar(const Entorno& entorno, const QString& documento,
                   const OpcionesExportacion& opciones, Preguntas& preguntas);

inline const QString kNivelcanNoEncontrado =
    QStringLiteral("ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale VARNOLO");

}  // namespace varnolo
