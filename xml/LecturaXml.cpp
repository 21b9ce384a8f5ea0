#include "xml/LecturaXml.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/CargaSegura.h"
#include "xml/CodificacionXml.h"

namespace varnolo {

namespace {

/// Whitespace-only text in an element, as the tree builder decides it with
/// XML_PARSE_NOBLANKS: kept where the element holds other text, where xml:space asks
/// for it or the document type declares the element mixed, before an end tag with
/// nothing else in the element, or before a reference; dropped between child nodes
/// otherwise. A blank run is held until the next event shows what follows it.
enum class Hijo : unsigned char { Ninguno, Texto, Otro };

struct Elemento {
    /// libxml2's xml:space state: -1 not said, -2 text seen, 0 "default", 1 "preserve".
    signed char espacio = -1;
    /// The element type's content as declared: -1 not declared, 0 elements only,
    /// 1 mixed, any or empty.
    signed char mixto = -1;
    Hijo primero = Hijo::Ninguno;
    Hijo ultimo = Hijo::Ninguno;
};

/// What the callbacks of one read share: where the events go, the open elements and
/// a blank run not yet decided. The parser hands it to every callback as its user data.
struct Lectura {
    EventosXml* eventos = nullptr;
    bool raiz = false;
    std::vector<Elemento> abiertos;
    std::string blanco;
    bool hayBlanco = false;
    std::unordered_map<std::string, signed char> declarados;

    /// Text that the tree keeps: told, and a text child of the open element. `marca`
    /// is true where libxml2 notes that the element holds text.
    void guardar(const char* texto, int longitud, bool marca) {
        Elemento& e = abiertos.back();
        if (e.primero == Hijo::Ninguno) e.primero = Hijo::Texto;
        e.ultimo = Hijo::Texto;
        if (marca && e.espacio == -1) e.espacio = -2;
        eventos->texto(texto, longitud);
    }

    enum class Sigue { Texto, Apertura, Cierre, Otro };

    /// Decides the blank run held, now that `sigue` follows it.
    void decidir(Sigue sigue) {
        if (!hayBlanco) return;
        hayBlanco = false;
        const Elemento& e = abiertos.back();
        bool guarda;
        if (sigue == Sigue::Texto) {
            guarda = true;  // a reference, or more of the same text
        } else if (e.primero == Hijo::Ninguno) {
            guarda = sigue == Sigue::Cierre;
        } else {
            guarda = e.ultimo == Hijo::Texto || e.primero == Hijo::Texto;
        }
        if (guarda) guardar(blanco.data(), static_cast<int>(blanco.size()), true);
        blanco.clear();
    }

    /// A node other than text in the open element.
    void hijo(Sigue sigue) {
        if (abiertos.empty()) return;
        decidir(sigue);
        Elemento& e = abiertos.back();
        if (e.primero == Hijo::Ninguno) e.primero = Hijo::Otro;
        e.ultimo = Hijo::Otro;
    }
};

Lectura& lecturaDe(void* datos) { return *static_cast<Lectura*>(datos); }

bool esBlanco(unsigned char c) { return c == 0x20 || c == 0x09 || c == 0x0A || c == 0x0D; }

void alAbrir(void* datos, const xmlChar* nombre, const xmlChar* prefijo, const xmlChar* uri, int,
             const xmlChar**, int cantidad, int porDefecto, const xmlChar** atributos) {
    Lectura& l = lecturaDe(datos);
    l.raiz = true;
    l.hijo(Lectura::Sigue::Apertura);
    Elemento e;
    if (!l.abiertos.empty() && l.abiertos.back().espacio >= 0)
        e.espacio = l.abiertos.back().espacio;
    if (const auto d = l.declarados.find(reinterpret_cast<const char*>(nombre));
        d != l.declarados.end()) {
        e.mixto = d->second;
    }
    // Five pointers per attribute: local name, prefix, namespace, value, its end. The
    // last `porDefecto` come from the document type only, and a tree has none of them.
    const int escritos = cantidad - porDefecto;
    EventosXml::Atributo propios[16];
    std::unique_ptr<EventosXml::Atributo[]> muchos;
    EventosXml::Atributo* lista = propios;
    if (escritos > 16) {
        muchos = std::make_unique<EventosXml::Atributo[]>(escritos);
        lista = muchos.get();
    }
    for (int i = 0; i < escritos; ++i) {
        const xmlChar* const* a = atributos + 5 * i;
        lista[i] = {reinterpret_cast<const char*>(a[0]), reinterpret_cast<const char*>(a[2]),
                    reinterpret_cast<const char*>(a[3]), static_cast<int>(a[4] - a[3])};
        if (a[2] != nullptr && xmlStrEqual(a[2], XML_XML_NAMESPACE) &&
            xmlStrEqual(a[0], BAD_CAST "space")) {
            const std::string_view valor(lista[i].valor,
                                         static_cast<std::size_t>(lista[i].longitud));
            if (valor == "default") e.espacio = 0;
            if (valor == "preserve") e.espacio = 1;
        }
    }
    l.abiertos.push_back(e);
    l.eventos->abrir(reinterpret_cast<const char*>(nombre), reinterpret_cast<const char*>(prefijo),
                     reinterpret_cast<const char*>(uri), lista, escritos);
}

void alCerrar(void* datos, const xmlChar*, const xmlChar*, const xmlChar*) {
    Lectura& l = lecturaDe(datos);
    if (l.abiertos.empty()) return;
    l.decidir(Lectura::Sigue::Cierre);
    l.abiertos.pop_back();
    l.eventos->cerrar();
}

void alTexto(void* datos, const xmlChar* texto, int longitud) {
    Lectura& l = lecturaDe(datos);
    if (l.abiertos.empty() || longitud <= 0) return;
    l.decidir(Lectura::Sigue::Texto);
    const auto* t = reinterpret_cast<const char*>(texto);
    bool blanco = true;
    for (int i = 0; i < longitud && blanco; ++i) blanco = esBlanco(texto[i]);
    const Elemento& e = l.abiertos.back();
    if (!blanco) {
        // libxml2 notes text in the element for a run that starts with a blank or
        // leaves its fast path (a byte beyond ASCII).
        l.guardar(t, longitud, esBlanco(texto[0]) || texto[0] >= 0x80);
    } else if (e.espacio == 1 || e.espacio == -2 || e.mixto == 1) {
        l.guardar(t, longitud, true);
    } else if (e.mixto == -1) {
        l.blanco.assign(t, static_cast<std::size_t>(longitud));
        l.hayBlanco = true;
    }
}

void alCData(void* datos, const xmlChar* texto, int longitud) {
    Lectura& l = lecturaDe(datos);
    if (l.abiertos.empty()) return;
    l.hijo(Lectura::Sigue::Otro);
    l.eventos->texto(reinterpret_cast<const char*>(texto), longitud);
}

void alComentario(void* datos, const xmlChar*) { lecturaDe(datos).hijo(Lectura::Sigue::Otro); }

void alInstruccion(void* datos, const xmlChar*, const xmlChar*) {
    lecturaDe(datos).hijo(Lectura::Sigue::Otro);
}

void alDeclararElemento(void* datos, const xmlChar* nombre, int tipo, xmlElementContentPtr) {
    Lectura& l = lecturaDe(datos);
    if (xmlStrchr(nombre, ':') != nullptr) return;
    signed char& d =
        l.declarados.try_emplace(reinterpret_cast<const char*>(nombre), -1).first->second;
    if (d != -1) return;  // a second declaration changes nothing
    if (tipo == XML_ELEMENT_TYPE_ELEMENT)
        d = 0;
    else if (tipo != XML_ELEMENT_TYPE_UNDEFINED)
        d = 1;
}

/// Frees the context and whatever document the parser made on its own: for an entity
/// declaration in a document read without a tree, libxml2 keeps one, and a parse
/// stopped there leaves it to the context's owner. Resetting the context frees it.
struct LiberarContexto {
    void operator()(xmlParserCtxtPtr c) const {
        xmlCtxtReset(c);
        xmlFreeParserCtxt(c);
    }
};

/// Bytes in memory handed to the parser as it asks for them.
struct LectorMemoria {
    const char* datos;
    qint64 resto;

    static int leer(void* contexto, char* destino, int longitud) {
        auto* l = static_cast<LectorMemoria*>(contexto);
        const int n = static_cast<int>(std::min<qint64>(longitud, l->resto));
        std::memcpy(destino, l->datos, static_cast<std::size_t>(n));
        l->datos += n;
        l->resto -= n;
        return n;
    }
};

/// Runs the parse over what `leer` gives, telling `eventos`.
ResultadoCarga analizar(xmlInputReadCallback leer, void* origen, EventosXml& eventos) {
    xmlSAXHandler manejador{};
    manejador.initialized = XML_SAX2_MAGIC;
    manejador.startElementNs = alAbrir;
    manejador.endElementNs = alCerrar;
    manejador.characters = alTexto;
    manejador.cdataBlock = alCData;
    manejador.comment = alComentario;
    manejador.processingInstruction = alInstruccion;
    manejador.elementDecl = alDeclararElemento;
    // Every text reaches alTexto, which decides the blanks as the tree builder does.
    manejador.ignorableWhitespace = alTexto;
    carga::vigilar(manejador);
    Lectura lectura;
    lectura.eventos = &eventos;
    std::unique_ptr<xmlParserCtxt, LiberarContexto> ctxt(
        xmlCreateIOParserCtxt(&manejador, &lectura, leer, nullptr, origen, XML_CHAR_ENCODING_NONE));
    if (!ctxt) throw std::bad_alloc();
    carga::Diagnostico diagnostico;
    diagnostico.contexto = ctxt.get();
    const carga::DiagnosticoEnCurso enCurso(diagnostico);
    xmlCtxtUseOptions(ctxt.get(), carga::kOpciones & ~XML_PARSE_NOBLANKS);
    const bool bienFormado = xmlParseDocument(ctxt.get()) == 0;
    if (diagnostico.entidad) return carga::fallida(ResultadoCarga::Motivo::Entidades);
    if (!bienFormado) return diagnostico.resultado();
    if (!lectura.raiz) return carga::fallida(ResultadoCarga::Motivo::SinRaiz);
    return {};
}

}  // namespace

ResultadoCarga leerXml(const QString& ruta, EventosXml& eventos, const AvanceLectura& avance) {
    registrarCodificacionesXml();
    carga::callarLibxml2();
    return carga::cargarArchivo(
        ruta,
        [&](carga::LectorArchivo& lector, const QByteArray&) {
            return analizar(carga::LectorArchivo::leer, &lector, eventos);
        },
        avance);
}

ResultadoCarga leerXml(const QByteArray& contenido, EventosXml& eventos) {
    registrarCodificacionesXml();
    carga::callarLibxml2();
    return carga::cargarMemoria(contenido, [&](const QByteArray&) {
        LectorMemoria lector{contenido.constData(), contenido.size()};
        return analizar(LectorMemoria::leer, &lector, eventos);
    });
}

}  // namespace varnolo
