// Fuzz target: any bytes loaded as an exchange document. Loading never crashes, the
// envelope reads, reading only the records (as the export does) gives the records the
// whole tree gives, and a result written in the place of a document that loaded (its
// declaration, what stood outside its root, a root with the old root's text) loads
// again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QStringList>

#include "data/DocumentoXml.h"
#include "data/Errores.h"
#include "data/EscritorXml.h"
#include "data/Sobre.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    using namespace varnolo;
    DocumentoXml doc;
    const QByteArray contenido(reinterpret_cast<const char*>(datos),
                               static_cast<qsizetype>(tamano));
    DocumentoXml soloRegistros;
    const bool cargado = doc.loadXml(contenido).operator bool();
    if (soloRegistros.loadXml(contenido, DocumentoXml::Lectura::Registros).motivo !=
        doc.resultadoCarga().motivo) {
        std::abort();
    }
    if (!cargado) return 0;
    QStringList secciones{QStringLiteral("MATERIAS")};
    for (const NodoXml& seq : doc.selectNodes(QStringLiteral("//@seq"))) secciones << seq.text();
    for (const QString& seccion : secciones) {
        const QList<Registro> registros = registrosDeSeccion(doc, seccion);
        const QList<Registro> leidos = soloRegistros.registros(seccion);
        if (registros.size() != leidos.size()) std::abort();
        for (qsizetype k = 0; k < registros.size(); ++k) {
            const Registro& r = registros[k];
            if (r.count() != leidos[k].count()) std::abort();
            for (int i = 0; i <= r.count(); ++i) {
                if (r.datoSinRecortar(i) != leidos[k].datoSinRecortar(i)) std::abort();
                (void)r.dato(i);
            }
        }
    }
    if (soloRegistros.documentElement().nombre() != doc.documentElement().nombre() ||
        soloRegistros.documentElement().hijos(QStringLiteral("BLOQUE_DATOS")).size() !=
            doc.documentElement().hijos(QStringLiteral("BLOQUE_DATOS")).size()) {
        std::abort();
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
