#pragma once
// Loading the exchange document a conversion was given: as a tree (the import, which
// writes its result in the document's place) or as its sections' records (the
// export), each refused with the same messages when it cannot be read or lacks the
// envelope.

#include <QString>
#include <memory>

#include "velna/Sobre.h"
#include "xml/DocumentoXml.h"

namespace varnolo {

/// True when `ruta` names an existing file (an empty path names none).
bool existeDocumento(const QString& ruta);

/// Loads the document at `ruta` as a tree. Raises ErrorVarnolo naming the file and
/// why it cannot be loaded (missing, unreadable, too large, declares entities, not
/// well-formed with the line and column).
/// `avance` hears of the bytes read; when it stops the read, raises Cancelacion.
std::unique_ptr<DocumentoXml> cargarDocumento(const QString& ruta,
                                              const AvanceLectura& avance = {});

/// Reads the records of the document's sections, with the same refusals, telling
/// `avance` the bytes read. Raises Cancelacion when `avance` stops the read.
std::unique_ptr<SeccionesDocumento> leerSecciones(const QString& ruta,
                                                  const AvanceLectura& avance = {});

/// Raises ErrorVarnolo "El archivo … no es un documento de intercambio: falta …" when
/// the document's root is not SERVICIO or has no BLOQUE_DATOS. `ruta` names the file
/// in the message.
void comprobarSobre(const DocumentoXml& documento, const QString& ruta);
void comprobarSobre(const SeccionesDocumento& secciones, const QString& ruta);

}  // namespace varnolo
