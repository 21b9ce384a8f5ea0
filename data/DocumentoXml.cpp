#include "DocumentoXml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <climits>
#include <unordered_set>

#include "Errores.h"

namespace varnolo {

namespace {

xmlNodePtr nodoDe(void* p) { return static_cast<xmlNodePtr>(p); }

const xmlChar* x(const QByteArray& b) { return reinterpret_cast<const xmlChar*>(b.constData()); }

QString deUtf8(const xmlChar* s) {
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

/// Characters that XML 1.0 does not allow in a document (control characters other than
/// tab, line feed and carriage return, U+FFFE, U+FFFF, lone surrogates) are left out:
/// written as they stand they would make the saved file unreadable for its reader.
QByteArray textoXml(const QString& texto) {
    QString limpio;
    limpio.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < texto.size() &&
            QChar::isLowSurrogate(texto[i + 1].unicode())) {
            limpio += texto[i];
            limpio += texto[++i];
            continue;
        }
        if (QChar::isSurrogate(c)) continue;
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') continue;
        if (c == 0xFFFE || c == 0xFFFF) continue;
        limpio += texto[i];
    }
    return limpio.toUtf8();
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
    while (c != nullptr) {
        if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) &&
            c->content != nullptr) {
            acumulado += reinterpret_cast<const char*>(c->content);
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
    return QString::fromUtf8(acumulado);
}

QString nombreCalificado(const xmlChar* nombre, xmlNsPtr ns) {
    if (ns != nullptr && ns->prefix != nullptr) return deUtf8(ns->prefix) + u':' + deUtf8(nombre);
    return deUtf8(nombre);
}

bool esBlanco(xmlNodePtr n) { return n->type == XML_TEXT_NODE && xmlIsBlankNode(n); }

/// Links a detached node as the last child of padre. Unlike xmlAddChild it never
/// merges text nodes, so the handle to the child stays valid.
void enlazarAlFinal(xmlNodePtr padre, xmlNodePtr hijo) {
    hijo->parent = padre;
    hijo->next = nullptr;
    hijo->prev = padre->last;
    if (padre->last != nullptr) {
        padre->last->next = hijo;
    } else {
        padre->children = hijo;
    }
    padre->last = hijo;
}

/// Links a detached node just before `siguiente`.
void enlazarAntes(xmlNodePtr siguiente, xmlNodePtr hijo) {
    xmlNodePtr padre = siguiente->parent;
    hijo->parent = padre;
    hijo->next = siguiente;
    hijo->prev = siguiente->prev;
    if (siguiente->prev != nullptr) {
        siguiente->prev->next = hijo;
    } else {
        padre->children = hijo;
    }
    siguiente->prev = hijo;
}

bool esHijoValido(xmlNodePtr n) {
    switch (n->type) {
        case XML_ELEMENT_NODE:
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            return true;
        default:
            return false;
    }
}

/// True when the bytes start (after a byte order mark) with an XML declaration.
bool tieneDeclaracion(const QByteArray& b) {
    static const char kDecl[] = "<?xml";
    auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    // One byte per character: UTF-8, Latin-1, Windows-1252 and the like.
    const qsizetype i = b.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (b.size() > i + 5 && b.mid(i, 5) == kDecl && blanco(b[i + 5])) return true;
    // Two bytes per character, either byte order, with or without a mark.
    for (int bajo = 0; bajo < 2; ++bajo) {
        qsizetype j = (b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF")) ? 2 : 0;
        bool igual = b.size() >= j + 12;
        for (int k = 0; igual && k < 6; ++k) {
            const char c = b[j + 2 * k + bajo];
            const char cero = b[j + 2 * k + 1 - bajo];
            igual = cero == 0 && (k < 5 ? c == kDecl[k] : blanco(c));
        }
        if (igual) return true;
    }
    return false;
}

bool declaraEntidades(xmlDtdPtr dtd) {
    if (dtd == nullptr) return false;
    auto lleno = [](void* tabla) {
        return tabla != nullptr && xmlHashSize(static_cast<xmlHashTablePtr>(tabla)) > 0;
    };
    return lleno(dtd->entities) || lleno(dtd->pentities);
}

// Parser callbacks: a declared entity stops the parse (the document is refused
// before any entity could be expanded); the external subset is never read.
void rechazarEntidad(void* ctx, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    ctxt->wellFormed = 0;
    xmlStopParser(ctxt);
}
void rechazarEntidadNoAnalizada(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*,
                                const xmlChar*) {
    rechazarEntidad(ctx, nullptr, 0, nullptr, nullptr, nullptr);
}
void ignorarSubconjuntoExterno(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}
void silenciar(void*, xmlErrorPtr) {}

struct LiberarContexto {
    void operator()(xmlParserCtxtPtr c) const { xmlFreeParserCtxt(c); }
    void operator()(xmlXPathContextPtr c) const { xmlXPathFreeContext(c); }
    void operator()(xmlXPathObjectPtr o) const { xmlXPathFreeObject(o); }
    void operator()(xmlBufferPtr b) const { xmlBufferFree(b); }
};

[[noreturn]] void fallo(const QString& texto) { throw ErrorVarnolo(texto); }

}  // namespace

struct DocumentoXml::Impl {
    xmlDocPtr doc = nullptr;
    /// The loaded bytes began with an XML declaration; save() writes one then only.
    bool declaracion = false;
    /// Nodes created or detached through this document. Those still without a parent
    /// when the document ends are freed with their subtrees.
    std::unordered_set<xmlNodePtr> sueltos;
    /// Where a new root goes after the old one was removed: before this node (the
    /// first thing that followed the old root), so the prolog stays before the root
    /// and the comments after it stay after it.
    bool raizQuitada = false;
    xmlNodePtr trasRaiz = nullptr;

    Impl() { vaciar(); }
    ~Impl() { liberar(); }

    void liberar() {
        std::vector<xmlNodePtr> raices;
        for (xmlNodePtr n : sueltos) {
            if (n->parent == nullptr) raices.push_back(n);
        }
        for (xmlNodePtr n : raices) xmlFreeNode(n);
        sueltos.clear();
        if (doc != nullptr) xmlFreeDoc(doc);
        doc = nullptr;
        raizQuitada = false;
        trasRaiz = nullptr;
    }

    void vaciar() {
        liberar();
        doc = xmlNewDoc(BAD_CAST "1.0");
        if (doc == nullptr) throw std::bad_alloc();
        declaracion = false;
    }

    xmlNodePtr comoNodo() const { return reinterpret_cast<xmlNodePtr>(doc); }

    bool cargar(const QByteArray& contenido) {
        vaciar();
        if (contenido.isEmpty() || contenido.size() > kTamanoMaximo || contenido.size() > INT_MAX) {
            return false;
        }
        std::unique_ptr<xmlParserCtxt, LiberarContexto> ctxt(xmlNewParserCtxt());
        if (!ctxt) throw std::bad_alloc();
        ctxt->sax->entityDecl = rechazarEntidad;
        ctxt->sax->unparsedEntityDecl = rechazarEntidadNoAnalizada;
        ctxt->sax->externalSubset = ignorarSubconjuntoExterno;
        const int opciones =
            XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
        xmlDocPtr nuevo =
            xmlCtxtReadMemory(ctxt.get(), contenido.constData(), static_cast<int>(contenido.size()),
                              nullptr, nullptr, opciones);
        if (nuevo == nullptr) return false;
        if (!ctxt->wellFormed || declaraEntidades(nuevo->intSubset) ||
            declaraEntidades(nuevo->extSubset) || xmlDocGetRootElement(nuevo) == nullptr) {
            xmlFreeDoc(nuevo);
            return false;
        }
        xmlFreeDoc(doc);
        doc = nuevo;
        declaracion = tieneDeclaracion(contenido);
        if (!declaracion && doc->encoding != nullptr) {
            // Without a declaration the document is saved as UTF-8, which needs none.
            xmlFree(const_cast<xmlChar*>(doc->encoding));
            doc->encoding = nullptr;
        }
        return true;
    }

    std::vector<NodoXml> seleccionar(DocumentoXml* dueno, xmlNodePtr contexto,
                                     const QString& xpath) const {
        std::vector<NodoXml> r;
        const QByteArray e = xpath.toUtf8();
        if (e.isEmpty()) return r;
        std::unique_ptr<xmlXPathContext, LiberarContexto> ctx(xmlXPathNewContext(doc));
        if (!ctx) throw std::bad_alloc();
        ctx->node = contexto;
        ctx->error = silenciar;
        std::unique_ptr<xmlXPathObject, LiberarContexto> res(
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

    void soltar(xmlNodePtr n) {
        xmlUnlinkNode(n);
        sueltos.insert(n);
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

void NodoXml::appendChild(const NodoXml& hijo) {
    xmlNodePtr padre = nodoDe(nodo_);
    xmlNodePtr h = nodoDe(hijo.nodo_);
    if (padre == nullptr || doc_ == nullptr || h == nullptr) {
        fallo(QStringLiteral("Documento XML: no se puede añadir un nodo inexistente."));
    }
    if (padre->type == XML_DOCUMENT_NODE) {
        doc_->appendChild(hijo);
        return;
    }
    if (hijo.doc_ != doc_ || padre->type != XML_ELEMENT_NODE || !esHijoValido(h)) {
        fallo(QStringLiteral("Documento XML: el nodo no puede añadirse a <%1>.").arg(nombre()));
    }
    for (xmlNodePtr p = padre; p != nullptr; p = p->parent) {
        if (p == h) {
            fallo(QStringLiteral("Documento XML: un nodo no puede contenerse a sí mismo."));
        }
    }
    if (h->parent != nullptr) xmlUnlinkNode(h);
    enlazarAlFinal(padre, h);
    doc_->d->sueltos.erase(h);
}

void NodoXml::removeChild(const NodoXml& hijo) {
    xmlNodePtr padre = nodoDe(nodo_);
    xmlNodePtr h = nodoDe(hijo.nodo_);
    if (padre != nullptr && doc_ != nullptr && padre->type == XML_DOCUMENT_NODE) {
        doc_->removeChild(hijo);
        return;
    }
    if (padre == nullptr || doc_ == nullptr || h == nullptr || h->parent != padre ||
        h->type == XML_ATTRIBUTE_NODE) {
        fallo(QStringLiteral("Documento XML: el nodo que se quiere quitar no es hijo de <%1>.")
                  .arg(nombre()));
    }
    doc_->d->soltar(h);
}

void NodoXml::setAttribute(const QString& nombre, const QString& valor) {
    xmlNodePtr n = nodoDe(nodo_);
    const QByteArray nom = nombre.toUtf8();
    if (n == nullptr || n->type != XML_ELEMENT_NODE) {
        fallo(QStringLiteral("Documento XML: el atributo %1 solo puede ponerse a un elemento.")
                  .arg(nombre));
    }
    if (xmlValidateName(x(nom), 0) != 0) {
        fallo(QStringLiteral("Documento XML: \"%1\" no es un nombre de atributo válido.")
                  .arg(nombre));
    }
    // xmlSetProp takes the value as plain text (escaped when saved) and keeps an
    // existing attribute in its place.
    if (xmlSetProp(n, x(nom), x(textoXml(valor))) == nullptr) throw std::bad_alloc();
}

void NodoXml::setText(const QString& texto) {
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr || doc_ == nullptr) {
        fallo(QStringLiteral("Documento XML: no se puede poner texto a un nodo inexistente."));
    }
    const QByteArray contenido = textoXml(texto);
    if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE ||
        n->type == XML_COMMENT_NODE) {
        xmlNodeSetContent(n, x(contenido));
        return;
    }
    if (n->type != XML_ELEMENT_NODE) {
        fallo(QStringLiteral("Documento XML: solo se puede poner texto a un elemento."));
    }
    // Old children are detached, not freed: handles to them stay valid.
    while (n->children != nullptr) doc_->d->soltar(n->children);
    if (contenido.isEmpty()) return;
    xmlNodePtr t = xmlNewDocTextLen(n->doc, x(contenido), static_cast<int>(contenido.size()));
    if (t == nullptr) throw std::bad_alloc();
    enlazarAlFinal(n, t);
}

// ---------------------------------------------------------------------------------
// DocumentoXml

DocumentoXml::DocumentoXml() {
    xmlInitParser();
    d = std::make_unique<Impl>();
}

DocumentoXml::~DocumentoXml() = default;

bool DocumentoXml::load(const QString& ruta) {
    const QFileInfo info(ruta);
    if (!info.isFile() || info.size() > kTamanoMaximo) {
        d->vaciar();
        return false;
    }
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        d->vaciar();
        return false;
    }
    const QByteArray contenido = f.read(kTamanoMaximo + 1);
    return d->cargar(contenido);
}

bool DocumentoXml::loadXml(const QByteArray& contenido) { return d->cargar(contenido); }

bool DocumentoXml::cargado() const { return xmlDocGetRootElement(d->doc) != nullptr; }

std::vector<NodoXml> DocumentoXml::selectNodes(const QString& xpath) const {
    return d->seleccionar(const_cast<DocumentoXml*>(this), d->comoNodo(), xpath);
}

NodoXml DocumentoXml::selectSingleNode(const QString& xpath) const {
    std::vector<NodoXml> r = selectNodes(xpath);
    return r.empty() ? NodoXml() : r.front();
}

NodoXml DocumentoXml::documentElement() const {
    xmlNodePtr raiz = xmlDocGetRootElement(d->doc);
    return raiz ? NodoXml(const_cast<DocumentoXml*>(this), raiz) : NodoXml();
}

NodoXml DocumentoXml::createElement(const QString& nombre) {
    const QByteArray nom = nombre.toUtf8();
    if (xmlValidateName(x(nom), 0) != 0) {
        fallo(QStringLiteral("Documento XML: \"%1\" no es un nombre de elemento válido.")
                  .arg(nombre));
    }
    xmlNodePtr n = xmlNewDocNode(d->doc, nullptr, x(nom), nullptr);
    if (n == nullptr) throw std::bad_alloc();
    d->sueltos.insert(n);
    return NodoXml(this, n);
}

void DocumentoXml::appendChild(const NodoXml& raiz) {
    xmlNodePtr h = nodoDe(raiz.nodo_);
    if (h == nullptr || raiz.doc_ != this || !esHijoValido(h) || h->type == XML_TEXT_NODE ||
        h->type == XML_CDATA_SECTION_NODE) {
        fallo(QStringLiteral("Documento XML: el nodo no puede añadirse al documento."));
    }
    const bool esRaiz = h->type == XML_ELEMENT_NODE;
    if (esRaiz && xmlDocGetRootElement(d->doc) != nullptr) {
        fallo(QStringLiteral("Documento XML: el documento ya tiene un elemento raíz."));
    }
    if (h->parent != nullptr) xmlUnlinkNode(h);
    xmlNodePtr docNodo = d->comoNodo();
    if (esRaiz && d->raizQuitada && d->trasRaiz != nullptr && d->trasRaiz->parent == docNodo) {
        enlazarAntes(d->trasRaiz, h);
    } else {
        enlazarAlFinal(docNodo, h);
    }
    if (esRaiz) {
        d->raizQuitada = false;
        d->trasRaiz = nullptr;
    }
    d->sueltos.erase(h);
}

void DocumentoXml::removeChild(const NodoXml& raiz) {
    xmlNodePtr h = nodoDe(raiz.nodo_);
    if (h == nullptr || raiz.doc_ != this || h->parent != d->comoNodo() ||
        h->type == XML_DTD_NODE) {
        fallo(
            QStringLiteral("Documento XML: el nodo que se quiere quitar no es hijo del "
                           "documento."));
    }
    if (h->type == XML_ELEMENT_NODE) {
        d->raizQuitada = true;
        d->trasRaiz = h->next;
    }
    d->soltar(h);
}

QString DocumentoXml::encoding() const {
    if (d->declaracion && d->doc->encoding != nullptr) return deUtf8(d->doc->encoding);
    return QStringLiteral("UTF-8");
}

QByteArray DocumentoXml::toByteArray() const {
    xmlDocPtr doc = d->doc;
    const bool codificacionDeclarada = d->declaracion && doc->encoding != nullptr;
    // A document that names no encoding is UTF-8. libxml2 writes such a document in
    // ASCII with character references; told that it is UTF-8 it writes the characters
    // themselves, and its declaration is then written here, unchanged.
    QByteArray declaracion;
    if (d->declaracion && !codificacionDeclarada) {
        declaracion =
            "<?xml version=\"" +
            QByteArray(doc->version ? reinterpret_cast<const char*>(doc->version) : "1.0") + '"';
        if (doc->standalone == 1) declaracion += " standalone=\"yes\"";
        if (doc->standalone == 0) declaracion += " standalone=\"no\"";
        declaracion += "?>\n";
    }
    const char* codificacion =
        codificacionDeclarada ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
    struct CodificacionProvisional {
        xmlDocPtr doc;
        bool puesta;
        CodificacionProvisional(xmlDocPtr d, bool poner) : doc(d), puesta(poner) {
            if (puesta) doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
        }
        ~CodificacionProvisional() {
            if (!puesta) return;
            xmlFree(const_cast<xmlChar*>(doc->encoding));
            doc->encoding = nullptr;
        }
    } provisional(doc, !codificacionDeclarada);

    std::unique_ptr<xmlBuffer, LiberarContexto> buf(xmlBufferCreate());
    if (!buf) throw std::bad_alloc();
    xmlSaveCtxtPtr ctx =
        xmlSaveToBuffer(buf.get(), codificacion, codificacionDeclarada ? 0 : XML_SAVE_NO_DECL);
    if (ctx == nullptr) {
        fallo(QStringLiteral("No se puede escribir el documento XML en la codificación %1.")
                  .arg(encoding()));
    }
    const long escrito = xmlSaveDoc(ctx, doc);
    const int cerrado = xmlSaveClose(ctx);
    if (escrito < 0 || cerrado < 0) {
        fallo(QStringLiteral("No se puede escribir el documento XML en la codificación %1.")
                  .arg(encoding()));
    }
    const QByteArray salida =
        declaracion + QByteArray(reinterpret_cast<const char*>(xmlBufferContent(buf.get())),
                                 xmlBufferLength(buf.get()));
    // Some encodings (UTF-7, EBCDIC) write even the declaration in a form that no reader
    // recognises; such a file could not be read back, so it is not written.
    if (d->declaracion && !tieneDeclaracion(salida)) {
        fallo(QStringLiteral("No se puede escribir el documento XML en la codificación %1.")
                  .arg(encoding()));
    }
    return salida;
}

void DocumentoXml::save(const QString& ruta) const {
    const QByteArray bytes = toByteArray();
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(bytes) != bytes.size() ||
        !archivo.commit()) {
        fallo(QStringLiteral("No se ha podido guardar el archivo %1.")
                  .arg(QDir::toNativeSeparators(ruta)));
    }
}

}  // namespace varnolo
