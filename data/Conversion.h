#pragma once
// What the export and the import do alike: load the chosen exchange document, check
// its envelope, and turn an error that ends a conversion into its outcome.

#include <QString>
#include <functional>
#include <memory>

#include "Desenlace.h"
#include "DocumentoXml.h"

namespace varnolo {

/// True when `ruta` names an existing file (an empty path names none).
bool existeDocumento(const QString& ruta);

/// Loads the document at `ruta`. Raises ErrorVarnolo naming the file and why it
/// cannot be loaded (missing, unreadable, too large, declares entities, not
/// well-formed with the line and column).
std::unique_ptr<DocumentoXml> cargarDocumento(
    const QString& ruta, DocumentoXml::Lectura lectura = DocumentoXml::Lectura::Completa);

/// Raises ErrorVarnolo "El archivo … no es un documento de intercambio: falta …" when
/// the loaded document's root is not SERVICIO or has no BLOQUE_DATOS. `ruta` names
/// the file in the message.
void comprobarSobre(const DocumentoXml& documento, const QString& ruta);

/// Runs a conversion; an error that it raises becomes a failed outcome with the
/// error's text.
Desenlace protegerConversion(const std::function<Desenlace()>& conversion);

}  // namespace varnolo
