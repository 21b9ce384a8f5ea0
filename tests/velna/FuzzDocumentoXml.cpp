// Fuzz target: any bytes loaded as an exchange document. Loading never crashes, the
// envelope reads, reading the sections as a stream (as the export does) refuses what
// the tree refuses and gives the records the whole tree gives, and a result written in the place of
// a document that loaded (its declaration, what stood outside its root, a root with the old root's
// text) loads again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QStringList>

#include "base/Errores.h"
#include "velna/Sobre.h"
#include "xml/DocumentoXml.h"
#include "xml/EscritorXml.h"

namespace {

/// The text without its ASCII blanks. The stream decides whitespace-only text between
/// the child nodes of an item as the tree builder does, from what follows it; a blank
/// run before a CR or made of character references is where the two may still differ.
QString sinBlancos(QString s) {
    s.removeIf([](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; });
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    using namespace varnolo;
    DocumentoXml doc;
    const QByteArray contenido(reinterpret_cast<const char*>(datos),
                               static_cast<qsizetype>(tamano));
    SeccionesDocumento secciones;
    const bool cargado = doc.loadXml(contenido).operator bool();
    if (secciones.leerXml(contenido).motivo != doc.resultadoCarga().motivo) std::abort();
    if (!cargado) return 0;
    QStringList nombres{QStringLiteral("MATERIAS")};
    for (const NodoXml& seq : doc.selectNodes(QStringLiteral("//@seq"))) nombres << seq.text();
    AlmacenRegistros almacen;
    for (const QString& seccion : nombres) {
        const QList<Registro> registros = registrosDeSeccion(doc, seccion, almacen);
        const QList<Registro> leidos = secciones.registros(seccion);
        if (registros.size() != leidos.size()) std::abort();
        for (qsizetype k = 0; k < registros.size(); ++k) {
            const Registro& r = registros[k];
            if (r.count() != leidos[k].count()) std::abort();
            for (int i = 0; i <= r.count(); ++i) {
                const QString arbol = r.datoSinRecortar(i);
                const QString flujo = leidos[k].datoSinRecortar(i);
                if (arbol != flujo && sinBlancos(arbol) != sinBlancos(flujo)) std::abort();
                (void)r.dato(i);
            }
        }
    }
    if (faltaEnSobre(secciones.raiz(), secciones.tieneBloque()) != faltaEnSobre(doc)) {
        std::abort();
    }
    const QString texto = doc.documentElement().text();
    (void)primeraSeccion(doc).text();
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
