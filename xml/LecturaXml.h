#pragma once
// A document read as a stream of events, without building its tree: the same safe
// load as DocumentoXml, with the same refusals and the same reasons, and the text the
// tree would hold (whitespace-only text dropped where the tree drops it). Memory stays
// small whatever the document's size.

#include <QByteArray>
#include <QString>

#include "xml/ResultadoCarga.h"

namespace varnolo {

/// What a stream reader is told, in document order. Names and texts are UTF-8 and
/// valid only during the call.
class EventosXml {
  public:
    struct Atributo {
        const char* nombre;  ///< local name
        const char* uri;     ///< namespace; null when none
        const char* valor;   ///< not terminated: `longitud` bytes
        int longitud;
    };

    virtual ~EventosXml() = default;
    /// An element starts: its local name, its prefix and namespace (null when none), the
    /// attributes written on it (none that only a document type supplies).
    virtual void abrir(const char* nombre, const char* prefijo, const char* uri,
                       const Atributo* atributos, int cantidad) = 0;
    /// The element last opened ends.
    virtual void cerrar() = 0;
    /// Text of the element open now: character data, CDATA, resolved references.
    virtual void texto(const char* utf8, int longitud) = 0;
};

/// Reads the file at `ruta`, telling `eventos` what it holds and `avance` how many
/// bytes are read. A failure says why as DocumentoXml::load does; events told before
/// it stay told.
ResultadoCarga leerXml(const QString& ruta, EventosXml& eventos, const AvanceLectura& avance = {});
/// The same from bytes in memory.
ResultadoCarga leerXml(const QByteArray& contenido, EventosXml& eventos);

}  // namespace varnolo
