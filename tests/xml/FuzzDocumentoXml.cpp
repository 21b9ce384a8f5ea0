// Fuzz target: any bytes loaded as an exchange document. Loading never crashes, the
// envelope reads, and a document that loaded saves into bytes that load again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/DocumentoXml.h"
#include "data/Errores.h"
#include "data/Sobre.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    using namespace varnolo;
    DocumentoXml doc;
    const QByteArray contenido(reinterpret_cast<const char*>(datos),
                               static_cast<qsizetype>(tamano));
    if (!doc.loadXml(contenido)) return 0;
    for (const Registro& r : registrosDeSeccion(doc, QStringLiteral("MATERIAS"))) {
        for (int i = 0; i <= r.count(); ++i) (void)r.dato(i);
    }
    (void)doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).firstChild().text();
    QByteArray guardado;
    try {
        guardado = doc.toByteArray();
    } catch (const ErrorVarnolo&) {
        return 0;  // an encoding that this build cannot write
    }
    DocumentoXml releido;
    if (!releido.loadXml(guardado)) std::abort();
    return 0;
}
