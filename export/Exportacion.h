#pragma once
// The export: from a Velna exchange document, Taviron's work tables.

#include <QStringList>
#include <optional>

#include "conversion/Avance.h"
#include "conversion/Desenlace.h"
#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace varnolo {

struct OpcionesExportacion {
    /// The time frames chosen in advance by their codes (the command line); checked
    /// against the document before any table is touched. Nothing: ask when the
    /// document has several.
    std::optional<QStringList> marcos;
    /// Told how far the export has come, and able to stop it; none: nobody watches.
    Avance* avance = nullptr;
};

/// Exports `documento` into the work folder of `entorno`. Checks the document, the
/// level table and the frame choice first, holds the work folder against other
/// conversions and its tables against other programs while it runs, writes the new
/// tables beside the old ones and puts them in place all at once when every step is
/// done, keeping a dated copy of what they replace (taviron/Copias.h). An error,
/// refusal or cancel leaves the work folder as it was.
Desenlace exportar(const Entorno& entorno, const QString& documento,
                   const OpcionesExportacion& opciones, Preguntas& preguntas);

/// The same export into a scratch folder outside the work folder, which is removed
/// at the end: the same outcome, messages and report, and nothing changed anywhere.
Desenlace comprobarExportacion(const Entorno& entorno, const QString& documento,
                               const OpcionesExportacion& opciones, Preguntas& preguntas);

inline const QString kNivelcanNoEncontrado =
    QStringLiteral("ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale VARNOLO");

}  // namespace varnolo
