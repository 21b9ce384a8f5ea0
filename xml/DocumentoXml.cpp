#include "xml/DocumentoXml.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <climits>
#include <cstring>
#include <functional>

#include "xml/CargaSegura.h"
#include "xml/CodificacionXml.h"

namespace varnolo {

namespace {

xmlNodePtr nodoDe(void* p) { return static_cast<xmlNodePtr>(p); }

const xmlChar* x(const QByteArray& b) { return reinterpret_cast<const xmlChar*>(b.constData()); }

QString deUtf8(const xmlChar* s) {
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

/// Hands the text of every text and CDATA descendant of `n` to `anadir`, in document
/// order: the string value of an element as XPath defines it.
template <typename F>
void recorrerTexto(xmlNodePtr n, F&& anadir) {
    xmlNodePtr c = n->children;
    while (c != nullptr) {
        if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) &&
            c->content != nullptr) {
            anadir(reinterpret_cast<const char*>(c->content));
        }
        if (c->type == XML_ELEMENT_NODE && c->children != nullptr) {
            c = c->children;
            continue;
        }
        while (c != nullptr && c->next == nullptr) {
            c = c->parent;
            if (c == n) c = nullptr;
        }
        if (c != nullptr) c = c->next;
    }
}

/// The string value of a node as XPath defines it: for an element, the text of all its
/// descendants in document order. Entity references are never expanded.
QString textoDe(xmlNodePtr n) {
    if (n == nullptr) return {};
    switch (n->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            return deUtf8(n->content);
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
        case XML_DOCUMENT_NODE:
        case XML_DOCUMENT_FRAG_NODE:
            break;
        default:
            return {};
    }
    xmlNodePtr c = n->children;
    // The usual case: an item holding one text node.
    if (c != nullptr && c->next == nullptr &&
        (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE)) {
        return deUtf8(c->content);
    }
    QByteArray acumulado;
    recorrerTexto(n, [&](const char* texto) { acumulado += texto; });
    return QString::fromUtf8(acumulado);
}

QString nombreCalificado(const xmlChar* nombre, xmlNsPtr ns) {
    if (ns != nullptr && ns->prefix != nullptr) return deUtf8(ns->prefix) + u':' + deUtf8(nombre);
    return deUtf8(nombre);
}

bool esBlanco(xmlNodePtr n) { return n->type == XML_TEXT_NODE && xmlIsBlankNode(n); }

bool declaraEntidades(xmlDtdPtr dtd) {
    if (dtd == nullptr) return false;
    auto lleno = [](void* tabla) {
        return tabla != nullptr && xmlHashSize(static_cast<xmlHashTablePtr>(tabla)) > 0;
    };
    return lleno(dtd->entities) || lleno(dtd->pentities);
}

struct LiberarLibxml2 {
    void operator()(xmlParserCtxtPtr c) const { xmlFreeParserCtxt(c); }
    void operator()(xmlXPathContextPtr c) const { xmlXPathFreeContext(c); }
    void operator()(xmlXPathObjectPtr o) const { xmlXPathFreeObject(o); }
    void operator()(xmlBufferPtr b) const { xmlBufferFree(b); }
    void operator()(xmlDocPtr d) const { xmlFreeDoc(d); }
    void operator()(xmlDtdPtr d) const { xmlFreeDtd(d); }
};

/// A copy of a document type that libxml2 writes back as something a parser reads:
/// libxml2 writes an attribute default as it holds it, and a '<' that came from a
/// character reference would go out bare inside the quotes.
xmlDtdPtr copiaEscribible(xmlDtdPtr tipo) {
    std::unique_ptr<xmlDtd, LiberarLibxml2> copia(xmlCopyDtd(tipo));
    if (!copia) return nullptr;
    for (xmlNodePtr n = copia->children; n != nullptr; n = n->next) {
        if (n->type != XML_ATTRIBUTE_DECL) continue;
        auto* declaracion = reinterpret_cast<xmlAttributePtr>(n);
        if (declaracion->defaultValue == nullptr ||
            xmlStrchr(declaracion->defaultValue, '<') == nullptr) {
            continue;
        }
        QByteArray valor(reinterpret_cast<const char*>(declaracion->defaultValue));
        valor.replace('<', "&#60;");
        // A copy without a document owns its strings.
        xmlChar* escrito = xmlStrdup(x(valor));
        if (escrito == nullptr) return nullptr;
        xmlFree(const_cast<xmlChar*>(declaracion->defaultValue));
        declaracion->defaultValue = escrito;
    }
    return copia.release();
}

}  // namespace

struct DocumentoXml::Impl {
    std::unique_ptr<xmlDoc, LiberarLibxml2> doc;
    /// The loaded bytes began with an XML declaration.
    bool declaracion = false;
    ResultadoCarga resultado;

    Impl() { vaciar(); }

    void vaciar() {
        doc.reset(xmlNewDoc(BAD_CAST "1.0"));
        if (!doc) throw std::bad_alloc();
        declaracion = false;
    }

    const ResultadoCarga& tomar(ResultadoCarga r) {
        if (!r) vaciar();
        resultado = std::move(r);
        return resultado;
    }

    xmlNodePtr comoNodo() const { return reinterpret_cast<xmlNodePtr>(doc.get()); }

    /// Builds the tree of a document whose first bytes are `cabeza`; `analizar` runs
    /// the parse with the context and options given, over bytes the caller knows.
    ResultadoCarga construir(
        const QByteArray& cabeza,
        const std::function<xmlDocPtr(xmlParserCtxtPtr, int opciones)>& analizar) {
        // The tree builder's handlers, with the callbacks every load has; a context
        // made with them keeps them through the read functions' reset.
        xmlSAXHandler manejador{};
        xmlSAXVersion(&manejador, 2);
        carga::vigilar(manejador);
        std::unique_ptr<xmlParserCtxt, LiberarLibxml2> ctxt(
            xmlCreatePushParserCtxt(&manejador, nullptr, nullptr, 0, nullptr));
        if (!ctxt) throw std::bad_alloc();
        carga::Diagnostico diagnostico;
        diagnostico.contexto = ctxt.get();
        const carga::DiagnosticoEnCurso enCurso(diagnostico);
        std::unique_ptr<xmlDoc, LiberarLibxml2> nuevo(analizar(ctxt.get(), carga::kOpciones));
        // The read functions give a tree only for a well-formed document.
        const bool entidades =
            diagnostico.entidad ||
            (nuevo && (declaraEntidades(nuevo->intSubset) || declaraEntidades(nuevo->extSubset)));
        if (entidades) return carga::fallida(ResultadoCarga::Motivo::Entidades);
        if (!nuevo) return diagnostico.resultado();
        if (xmlDocGetRootElement(nuevo.get()) == nullptr) {
            return carga::fallida(ResultadoCarga::Motivo::SinRaiz);
        }
        doc = std::move(nuevo);
        declaracion = tieneDeclaracion(cabeza);
        return {};
    }

    std::vector<NodoXml> seleccionar(const DocumentoXml* dueno, xmlNodePtr contexto,
                                     const QString& xpath) const {
        std::vector<NodoXml> r;
        const QByteArray e = xpath.toUtf8();
        if (e.isEmpty()) return r;
        std::unique_ptr<xmlXPathContext, LiberarLibxml2> ctx(xmlXPathNewContext(doc.get()));
        if (!ctx) throw std::bad_alloc();
        ctx->node = contexto;
        ctx->error = [](void*, xmlErrorPtr) {};
        std::unique_ptr<xmlXPathObject, LiberarLibxml2> res(
            xmlXPathEvalExpression(x(e), ctx.get()));
        if (!res || res->type != XPATH_NODESET || res->nodesetval == nullptr) return r;
        const xmlNodeSetPtr nodos = res->nodesetval;
        r.reserve(nodos->nodeNr);
        for (int i = 0; i < nodos->nodeNr; ++i) {
            xmlNodePtr n = nodos->nodeTab[i];
            // Namespace nodes are copies owned by the result; they are not offered.
            if (n == nullptr || n->type == XML_NAMESPACE_DECL) continue;
            r.push_back(NodoXml(dueno, n));
        }
        return r;
    }
};

// ---------------------------------------------------------------------------------
// NodoXml

QString NodoXml::nombre() const {
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr) return {};
    switch (n->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return nombreCalificado(n->name, n->ns);
        case XML_PI_NODE:
            return deUtf8(n->name);
        case XML_TEXT_NODE:
            return QStringLiteral("#text");
        case XML_CDATA_SECTION_NODE:
            return QStringLiteral("#cdata-section");
        case XML_COMMENT_NODE:
            return QStringLiteral("#comment");
        case XML_DOCUMENT_NODE:
            return QStringLiteral("#document");
        default:
            return {};
    }
}

bool NodoXml::esElemento(const QString& nombre) const {
    const xmlNodePtr n = nodoDe(nodo_);
    return n != nullptr && n->type == XML_ELEMENT_NODE && n->ns == nullptr &&
           xmlStrEqual(n->name, x(nombre.toUtf8()));
}

QString NodoXml::text() const { return textoDe(nodoDe(nodo_)); }

QString NodoXml::attribute(const QString& nombre) const {
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr || n->type != XML_ELEMENT_NODE) return {};
    for (xmlAttrPtr a = n->properties; a != nullptr; a = a->next) {
        if (nombreCalificado(a->name, a->ns) == nombre) {
            return textoDe(reinterpret_cast<xmlNodePtr>(a));
        }
    }
    return {};
}

std::vector<NodoXml> NodoXml::selectNodes(const QString& xpath) const {
    if (nodo_ == nullptr || doc_ == nullptr) return {};
    return doc_->d->seleccionar(doc_, nodoDe(nodo_), xpath);
}

NodoXml NodoXml::selectSingleNode(const QString& xpath) const {
    std::vector<NodoXml> r = selectNodes(xpath);
    return r.empty() ? NodoXml() : r.front();
}

NodoXml NodoXml::firstChild() const {
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr || n->type == XML_ENTITY_REF_NODE) return {};
    for (xmlNodePtr c = n->children; c != nullptr; c = c->next) {
        if (!esBlanco(c)) return NodoXml(doc_, c);
    }
    return {};
}

std::vector<NodoXml> NodoXml::hijos(const QString& nombre) const {
    std::vector<NodoXml> r;
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr || (n->type != XML_ELEMENT_NODE && n->type != XML_DOCUMENT_NODE)) return r;
    const QByteArray buscado = nombre.toUtf8();
    for (xmlNodePtr c = n->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && c->ns == nullptr && xmlStrEqual(c->name, x(buscado))) {
            r.push_back(NodoXml(doc_, c));
        }
    }
    return r;
}

// ---------------------------------------------------------------------------------
// DocumentoXml

DocumentoXml::DocumentoXml() {
    registrarCodificacionesXml();
    carga::callarLibxml2();
    d = std::make_unique<Impl>();
}

DocumentoXml::~DocumentoXml() = default;

ResultadoCarga DocumentoXml::load(const QString& ruta, const AvanceLectura& avance) {
    return d->tomar(carga::cargarArchivo(
        ruta,
        [&](carga::LectorArchivo& lector, const QByteArray& cabeza) {
            return d->construir(cabeza, [&](xmlParserCtxtPtr ctxt, int opciones) {
                return xmlCtxtReadIO(ctxt, carga::LectorArchivo::leer, nullptr, &lector, nullptr,
                                     nullptr, opciones);
            });
        },
        avance));
}

ResultadoCarga DocumentoXml::loadXml(const QByteArray& contenido) {
    return d->tomar(carga::cargarMemoria(contenido, [&](const QByteArray& cabeza) {
        return d->construir(cabeza, [&](xmlParserCtxtPtr ctxt, int opciones) {
            return xmlCtxtReadMemory(ctxt, contenido.constData(),
                                     static_cast<int>(contenido.size()), nullptr, nullptr,
                                     opciones);
        });
    }));
}

bool DocumentoXml::cargado() const { return xmlDocGetRootElement(d->doc.get()) != nullptr; }

const ResultadoCarga& DocumentoXml::resultadoCarga() const { return d->resultado; }

QString DocumentoXml::motivoFallo() const { return d->resultado.texto(); }

std::vector<NodoXml> DocumentoXml::selectNodes(const QString& xpath) const {
    return d->seleccionar(this, d->comoNodo(), xpath);
}

NodoXml DocumentoXml::selectSingleNode(const QString& xpath) const {
    std::vector<NodoXml> r = selectNodes(xpath);
    return r.empty() ? NodoXml() : r.front();
}

NodoXml DocumentoXml::documentElement() const {
    xmlNodePtr raiz = xmlDocGetRootElement(d->doc.get());
    return raiz ? NodoXml(this, raiz) : NodoXml();
}

QString DocumentoXml::encoding() const {
    if (d->declaracion && d->doc->encoding != nullptr) return deUtf8(d->doc->encoding);
    return QStringLiteral("UTF-8");
}

ContornoXml DocumentoXml::contorno() const {
    const xmlDocPtr doc = d->doc.get();
    ContornoXml c;
    c.declaracion = d->declaracion;
    if (doc->version != nullptr) c.version = reinterpret_cast<const char*>(doc->version);
    if (d->declaracion && doc->encoding != nullptr) {
        c.codificacion = reinterpret_cast<const char*>(doc->encoding);
    }
    if (doc->standalone == 0 || doc->standalone == 1) c.independiente = doc->standalone;

    std::unique_ptr<xmlBuffer, LiberarLibxml2> buffer(xmlBufferCreate());
    if (!buffer) throw std::bad_alloc();
    const xmlNodePtr raiz = xmlDocGetRootElement(doc);
    for (xmlNodePtr n = doc->children; n != nullptr; n = n->next) {
        if (n == raiz) continue;
        // Each node as libxml2 writes a document's children: unindented, in UTF-8,
        // a line feed after each. A document type goes out as a copy whose attribute
        // defaults can be written back.
        std::unique_ptr<xmlDtd, LiberarLibxml2> tipo;
        if (n->type == XML_DTD_NODE) {
            tipo.reset(copiaEscribible(reinterpret_cast<xmlDtdPtr>(n)));
            if (!tipo) throw std::bad_alloc();
        }
        xmlBufferEmpty(buffer.get());
        const xmlNodePtr escrito = tipo ? reinterpret_cast<xmlNodePtr>(tipo.get()) : n;
        if (xmlNodeDump(buffer.get(), doc, escrito, 0, 0) < 0) throw std::bad_alloc();
        c.fueraDeRaiz.append(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                             xmlBufferLength(buffer.get()));
        c.fueraDeRaiz += '\n';
    }
    return c;
}

}  // namespace varnolo
