// Fuzz target: any bytes loaded as an exchange document. Loading never crashes, the
// envelope reads, and a result written in the place of a document that loaded (its
// declaration, what stood outside its root, a root with the old root's text) loads
// again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/DocumentoXml.h"
#include "data/Errores.h"
#include "data/EscritorXml.h"
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
    const QString texto = doc.documentElement().text();
    (void)doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).firstChild().text();
    QByteArray guardado;
    try {
        EscritorXml escritor(doc.contorno());
        escritor.abrir(QStringLiteral("SERVICIO"));
        escritor.atributo(QStringLiteral("fecha"), texto.left(40));
        escritor.abrir(QStringLiteral("dato"));
        escritor.texto(texto);
        escritor.terminar();
        guardado = escritor.bytes();
    } catch (const ErrorVarnolo&) {
        return 0;  // an encoding that this build cannot write
    }
    DocumentoXml releido;
    if (!releido.loadXml(guardado)) std::abort();
    return 0;
}
