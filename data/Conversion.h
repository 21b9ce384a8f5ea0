#pragma once
// What the export and the import do alike at their start and at their end: take the
// exchange document from the file dialog and check it exists, and report a completed
// conversion.

#include <QString>

#include "EstadoPrograma.h"
#include "Interaccion.h"

namespace varnolo {

inline const QString kNoExisteArchivo = QStringLiteral("No existe archivo");
inline const QString kProcesoFinalizado = QStringLiteral("Proceso finalizado");

/// Shows the file dialog; a confirmed choice becomes estado.filenameXML, a cancelled
/// one keeps the earlier path. True when a file exists there. Otherwise shows
/// "No existe archivo" and, in batch mode, sets the outcome flag to -1 and closes the
/// window; the caller then ends.
bool elegirDocumentoExistente(EstadoPrograma& estado, Interaccion& interaccion);

/// Loads estado.filenameXML into a new estado.documento. Raises ErrorVarnolo naming
/// the file and why it cannot be loaded (missing, unreadable, too large, declares
/// entities, not well-formed with the line and column).
void cargarDocumentoElegido(EstadoPrograma& estado);

/// Raises ErrorVarnolo "El archivo … no es un documento de intercambio: falta …" when
/// the loaded document's root is not SERVICIO or has no BLOQUE_DATOS. `ruta` names
/// the file in the message.
void comprobarSobre(const DocumentoXml& documento, const QString& ruta);

/// A completed conversion: normal cursor, outcome flag 1, "Proceso finalizado", both
/// conversion buttons disabled, and in batch mode the window closes.
void concluirConversion(EstadoPrograma& estado, Interaccion& interaccion);

}  // namespace varnolo
