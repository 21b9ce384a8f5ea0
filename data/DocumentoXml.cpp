#include "DocumentoXml.h"

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

#include "CodificacionXml.h"
#include "ErroresSistema.h"
#include "VigiaMarcado.h"

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

// ---------------------------------------------------------------------------------
// The records of the sections, read into an AlmacenRegistros

/// An element of that name in no namespace, as an XPath name test without prefix
/// selects it.
bool esElemento(xmlNodePtr n, const char* nombre) {
    return n != nullptr && n->type == XML_ELEMENT_NODE && n->ns == nullptr &&
           xmlStrEqual(n->name, BAD_CAST nombre);
}

/// The seq attribute (no namespace) of a section element, or nothing.
xmlAttrPtr atributoSeq(xmlNodePtr seccion) {
    for (xmlAttrPtr a = seccion->properties; a != nullptr; a = a->next) {
        if (a->ns == nullptr && xmlStrEqual(a->name, BAD_CAST "seq")) return a;
    }
    return nullptr;
}

/// True for a section element where records are looked for: a grupo_datos child of a
/// BLOQUE_DATOS child of the root SERVICIO.
bool esSeccion(xmlNodePtr n) {
    if (!esElemento(n, "grupo_datos") || !esElemento(n->parent, "BLOQUE_DATOS")) return false;
    const xmlNodePtr raiz = n->parent->parent;
    return esElemento(raiz, "SERVICIO") && raiz->parent != nullptr &&
           raiz->parent->type == XML_DOCUMENT_NODE;
}

using ListaRegistros = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

/// Reads one record (its dato children, no namespace, each item its string value) into
/// the store and adds it to `destino`.
void leerRegistro(xmlNodePtr registro, AlmacenRegistros& almacen, ListaRegistros& destino) {
    const std::uint32_t primero = almacen.datos();
    std::uint32_t cantidad = 0;
    for (xmlNodePtr c = registro->children; c != nullptr; c = c->next) {
        if (!esElemento(c, "dato")) continue;
        recorrerTexto(c,
                      [&](const char* texto) { almacen.anadirTexto(texto, std::strlen(texto)); });
        almacen.cerrarDato();
        ++cantidad;
    }
    destino.emplace_back(primero, cantidad);
}

/// While a document is read with Lectura::Registros: where the records go, and the
/// section the last record belonged to.
struct LecturaRegistros {
    AlmacenRegistros* almacen = nullptr;
    xmlNodePtr seccion = nullptr;
    ListaRegistros* destino = nullptr;
    /// The last element dropped, emptied but still in the tree (alTerminarElemento).
    xmlNodePtr vaciado = nullptr;

    /// The list for the records of `seccion`; null when it is not a section with seq.
    /// The answer is remembered until an element above the records ends (olvidar()):
    /// until then the element cannot be replaced by another at the same address, and
    /// no other section is added to the store.
    ListaRegistros* destinoDe(xmlNodePtr s) {
        if (s == seccion) return destino;
        seccion = s;
        destino = nullptr;
        if (esSeccion(s)) {
            if (const xmlAttrPtr seq = atributoSeq(s)) {
                destino = &almacen->seccion(textoDe(reinterpret_cast<xmlNodePtr>(seq)));
            }
        }
        return destino;
    }
    void olvidar() {
        seccion = nullptr;
        destino = nullptr;
    }
};

QString nombreCalificado(const xmlChar* nombre, xmlNsPtr ns) {
    if (ns != nullptr && ns->prefix != nullptr) return deUtf8(ns->prefix) + u':' + deUtf8(nombre);
    return deUtf8(nombre);
}

bool esBlanco(xmlNodePtr n) { return n->type == XML_TEXT_NODE && xmlIsBlankNode(n); }

/// The width of the characters that the first bytes announce: 4 for UCS-4, 2 for
/// UTF-16 (with or without a byte order mark), 1 for everything else.
int anchoDeCaracter(const QByteArray& b) {
    if (b.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)) ||
        b.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)) ||
        b.startsWith(QByteArray("<\x00\x00\x00", 4)) ||
        b.startsWith(QByteArray("\x00\x00\x00<", 4))) {
        return 4;
    }
    if (b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF") ||
        b.startsWith(QByteArray("<\x00?\x00", 4)) || b.startsWith(QByteArray("\x00<\x00?", 4))) {
        return 2;
    }
    return 1;
}

/// True for the names of the Unicode encodings, which can write every character.
bool esUnicode(const QByteArray& codificacion) {
    const QByteArray n = codificacion.toUpper();
    return n.startsWith("UTF") || n.startsWith("UCS") || n.startsWith("ISO-10646");
}

/// The encoding that the declaration of a UTF-16 or UCS-4 file names, when it names a
/// one-byte encoding; empty otherwise. Such a file is read as what its bytes are, but
/// saving it in the declared encoding would turn names and comments that encoding
/// cannot hold into a file that no longer loads.
QByteArray codificacionContradictoria(const QByteArray& b) {
    const int ancho = anchoDeCaracter(b);
    if (ancho == 1) return {};
    const bool marca = b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF") ||
                       b.startsWith(QByteArray("\x00\x00\xFE\xFF", 4));
    // Little-endian forms start with the low byte of '<' or of the mark.
    const bool bajoPrimero = b.startsWith('<') || b.startsWith("\xFF\xFE");
    QByteArray cabeza;  // the declaration, one byte per ASCII character
    for (qsizetype i = marca ? ancho : 0; i + ancho <= b.size() && cabeza.size() < 200;
         i += ancho) {
        const qsizetype bajo = bajoPrimero ? i : i + ancho - 1;
        char c = 0;
        for (qsizetype k = i; k < i + ancho; ++k) {
            if (k == bajo)
                c = b[k];
            else if (b[k] != 0)
                c = 0x7F;  // not ASCII: the declaration has ended
        }
        if (c == 0 || c == 0x7F) break;
        cabeza.append(c);
        if (cabeza.endsWith("?>")) break;
    }
    static const QRegularExpression declaracion(
        QStringLiteral("^<\\?xml\\s[^>]*encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const auto m = declaracion.match(QString::fromLatin1(cabeza));
    if (!m.hasMatch()) return {};
    const QByteArray nombre = m.captured(1).toLatin1();
    return esUnicode(nombre) ? QByteArray() : nombre;
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
/// What a parse tells besides its result, reached through the context's _private: a
/// refused entity, and where the first error stood (later ones follow from it).
struct Diagnostico {
    bool entidad = false;
    int linea = 0;
    int columna = 0;
    /// The first error's reason in Spanish (razonDeError).
    QString razon;
    /// Set when the records are read as the parse goes (Lectura::Registros).
    LecturaRegistros* registros = nullptr;
};

Diagnostico* diagnosticoDe(void* ctx) {
    return static_cast<Diagnostico*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

const QString kAmpersandSuelto = QStringLiteral(
    "hay un «&» que no empieza una referencia válida (en un texto se escribe «&amp;»)");

/// The reason of a parse error in words a user understands, for the errors people
/// meet in a document that was cut, edited by hand or saved in the wrong encoding;
/// empty for the rest.
QString razonDeError(const xmlError& e) {
    const QByteArray mensaje = e.message != nullptr ? QByteArray(e.message) : QByteArray();
    switch (e.code) {
        case XML_ERR_DOCUMENT_EMPTY:
            return QStringLiteral("no tiene ningún elemento");
        case XML_ERR_DOCUMENT_END:
            return QStringLiteral("hay algo más después del final del elemento raíz");
        case XML_ERR_TAG_NOT_FINISHED:
        case XML_ERR_LTSLASH_REQUIRED:
            return QStringLiteral(
                "el archivo se acaba antes de cerrar todos los elementos (puede estar cortado)");
        case XML_ERR_TAG_NAME_MISMATCH:
            return QStringLiteral("una etiqueta de cierre no es la del elemento que está abierto");
        case XML_ERR_GT_REQUIRED:
            return QStringLiteral("falta el «>» que cierra una etiqueta");
        case XML_ERR_NAME_REQUIRED:
            if (mensaje.contains("EntityRef")) return kAmpersandSuelto;
            return QStringLiteral("después de «<» no viene un nombre de elemento válido");
        case XML_ERR_EQUAL_REQUIRED:
        case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
            return QStringLiteral("falta el «=» entre un atributo y su valor");
        case XML_ERR_ATTRIBUTE_NOT_STARTED:
            return QStringLiteral("falta la comilla que abre el valor de un atributo");
        case XML_ERR_ATTRIBUTE_NOT_FINISHED:
            return QStringLiteral("falta la comilla que cierra el valor de un atributo");
        case XML_ERR_LT_IN_ATTRIBUTE:
            return QStringLiteral("hay un «<» dentro del valor de un atributo");
        case XML_ERR_ATTRIBUTE_REDEFINED:
            return QStringLiteral("un elemento tiene dos veces el mismo atributo");
        case XML_ERR_SPACE_REQUIRED:
            return QStringLiteral("falta un espacio entre dos atributos");
        case XML_ERR_ENTITYREF_SEMICOL_MISSING:
        case XML_ERR_ENTITYREF_NO_NAME:
        case XML_ERR_UNDECLARED_ENTITY:
        case XML_WAR_UNDECLARED_ENTITY:
            return kAmpersandSuelto;
        case XML_ERR_INVALID_CHARREF:
            return QStringLiteral("una referencia «&#…;» no es un carácter que XML admita");
        case XML_ERR_INVALID_CHAR:
            if (!mensaje.contains("UTF-8") && !mensaje.contains("encoding")) {
                return QStringLiteral("hay un carácter que XML no admite");
            }
            [[fallthrough]];
        case XML_ERR_INVALID_ENCODING:
            return QStringLiteral(
                "hay bytes que no son caracteres de la codificación del documento (se guardó "
                "en otra codificación que la que declara)");
        case XML_ERR_UNSUPPORTED_ENCODING:
            return QStringLiteral("declara una codificación de caracteres desconocida");
        case XML_ERR_COMMENT_NOT_FINISHED:
            return QStringLiteral("un comentario «<!--» no se cierra");
        case XML_ERR_CDATA_NOT_FINISHED:
            return QStringLiteral("una sección «<![CDATA[» no se cierra");
        case XML_ERR_PI_NOT_FINISHED:
            return QStringLiteral("una instrucción «<?» no se cierra");
        case XML_ERR_RESERVED_XML_NAME:
            return QStringLiteral(
                "hay una declaración «<?xml» que no está al principio del archivo");
        case XML_ERR_INTERNAL_ERROR:
            if (mensaje.contains("depth")) {
                return QStringLiteral(
                    "los elementos están anidados a demasiada profundidad (el límite es de 256 "
                    "niveles)");
            }
            break;
        case XML_ERR_NO_MEMORY:
            if (mensaje.contains("huge text") || mensaje.contains("Huge")) {
                return QStringLiteral("un texto pasa de 10 MB, el límite de un texto");
            }
            break;
        default:
            break;
    }
    if (mensaje.contains("EntityRef")) return kAmpersandSuelto;
    return {};
}

void anotarError(void* ctx, xmlErrorPtr e) {
    Diagnostico* d = diagnosticoDe(ctx);
    if (d == nullptr || e == nullptr || d->linea > 0 || e->level < XML_ERR_ERROR) return;
    d->linea = e->line;
    d->columna = e->int2;
    d->razon = razonDeError(*e);
}

void rechazarEntidad(void* ctx, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    if (Diagnostico* d = diagnosticoDe(ctx)) d->entidad = true;
    ctxt->wellFormed = 0;
    xmlStopParser(ctxt);
}
void rechazarEntidadNoAnalizada(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*,
                                const xmlChar*) {
    rechazarEntidad(ctx, nullptr, 0, nullptr, nullptr, nullptr);
}
/// The end of an element, with Lectura::Registros: once the tree builder has finished
/// it, a record is read into the store and dropped, and so is everything that cannot
/// hold records (anything at the record level or below, and whatever is not on the
/// path SERVICIO / BLOQUE_DATOS / grupo_datos).
///
/// A dropped element loses its content at once but stays in the tree, empty, until
/// the next element ends: the tree builder joins the next text to the last child of
/// the open element when that child is text, and the element in between keeps it
/// from joining text that it no longer tracks. By the next end a later node has
/// followed it, or its parent is the element that ends.
void alTerminarElemento(void* ctx, const xmlChar* nombre, const xmlChar* prefijo,
                        const xmlChar* uri) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    const xmlNodePtr elemento = ctxt->node;
    const int nivel = ctxt->nameNr;  // the root is at level 1
    xmlSAX2EndElementNs(ctx, nombre, prefijo, uri);
    const Diagnostico* d = diagnosticoDe(ctx);
    if (d == nullptr || d->registros == nullptr) return;
    LecturaRegistros& lectura = *d->registros;
    if (lectura.vaciado != nullptr) {
        xmlUnlinkNode(lectura.vaciado);
        xmlFreeNode(lectura.vaciado);
        lectura.vaciado = nullptr;
    }
    if (nivel <= 3) lectura.olvidar();
    if (elemento == nullptr || elemento->type != XML_ELEMENT_NODE || elemento == ctxt->node ||
        nivel < 2) {
        return;
    }
    switch (nivel) {
        case 2:
            if (esElemento(elemento, "BLOQUE_DATOS")) return;
            break;
        case 3:
            if (esElemento(elemento, "grupo_datos")) return;
            break;
        case 4:
            if (esElemento(elemento, "grupo_datos")) {
                if (ListaRegistros* destino = lectura.destinoDe(elemento->parent)) {
                    leerRegistro(elemento, *lectura.almacen, *destino);
                }
            }
            break;
        default:
            return;  // inside a record, dropped with it
    }
    xmlFreeNodeList(elemento->children);
    elemento->children = nullptr;
    elemento->last = nullptr;
    lectura.vaciado = elemento;
}

void ignorarSubconjuntoExterno(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}
void silenciar(void*, xmlErrorPtr) {}
void silenciarGenerico(void*, const char*, ...) {}

/// libxml2 prints its own errors ("I/O error : write error") on standard error unless
/// told otherwise; every failure reaches the user through our own errors instead. The
/// handlers are kept per thread, so each thread that makes a document sets them.
void callarLibxml2() {
    xmlSetGenericErrorFunc(nullptr, silenciarGenerico);
    xmlSetStructuredErrorFunc(nullptr, silenciar);
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

/// Enough first bytes for the checks of the declaration (codificacionContradictoria
/// reads at most 200 characters of four bytes).
constexpr qsizetype kCabeza = 4096;

/// The parser's reads from an open file, counted: beyond DocumentoXml::kTamanoMaximo
/// (a file that grew after its size was checked) and on a read error the parse stops.
struct LectorArchivo {
    QFile* archivo;
    qint64 leidos = 0;
    bool fallo = false;
    VigiaMarcado vigia;

    static int leer(void* contexto, char* destino, int longitud) {
        auto* l = static_cast<LectorArchivo*>(contexto);
        const qint64 n = l->archivo->read(destino, longitud);
        if (n < 0) {
            l->fallo = true;
            return -1;
        }
        l->leidos += n;
        if (l->leidos > DocumentoXml::kTamanoMaximo) return -1;
        if (!l->vigia.leer(destino, n)) return -1;
        return static_cast<int>(n);
    }
};

ResultadoCarga fallida(ResultadoCarga::Motivo motivo, QString detalle = {}) {
    ResultadoCarga r;
    r.motivo = motivo;
    r.detalle = std::move(detalle);
    return r;
}

/// The refusal of a document that the watch stopped; `antes` holds the document's
/// bytes before the element it stopped at.
ResultadoCarga desmesurado(const QByteArray& antes) {
    ResultadoCarga r = fallida(ResultadoCarga::Motivo::MalFormado);
    qint64 linea = 0, columna = 0;
    VigiaMarcado::lugar(antes, linea, columna);
    r.linea = static_cast<int>(linea);
    r.columna = static_cast<int>(columna);
    r.razon = QStringLiteral(
                  "un elemento tiene más de %1 atributos, y los de un documento de intercambio "
                  "llevan unos pocos")
                  .arg(VigiaMarcado::kMaxAtributos);
    return r;
}

}  // namespace

QString ResultadoCarga::texto() const {
    switch (motivo) {
        case Motivo::Ninguno:
            return {};
        case Motivo::NoExiste:
            return QStringLiteral("no existe");
        case Motivo::EsCarpeta:
            return QStringLiteral("es una carpeta, no un archivo");
        case Motivo::Ilegible:
            return QStringLiteral("no se puede leer: %1").arg(detalle);
        case Motivo::Vacio:
            return QStringLiteral("está vacío");
        case Motivo::DemasiadoGrande:
            return QStringLiteral("es demasiado grande: el límite es de %1 MB")
                .arg(DocumentoXml::kTamanoMaximo / (1024 * 1024));
        case Motivo::Entidades:
            return QStringLiteral("declara entidades, que no se admiten por seguridad");
        case Motivo::CodificacionContradictoria:
            return QStringLiteral(
                       "no es un documento XML válido: está escrito en %1 pero declara la "
                       "codificación %2")
                .arg(detalle, codificacionDeclarada);
        case Motivo::SinRaiz:
            return QStringLiteral("no es un documento XML válido: no tiene elemento raíz");
        case Motivo::MalFormado: {
            QString texto = QStringLiteral("no es un documento XML válido");
            if (linea > 0) {
                texto += QStringLiteral(": error en la línea %1, columna %2")
                             .arg(linea)
                             .arg(std::max(1, columna));
            }
            return razon.isEmpty() ? texto : texto + QStringLiteral(": ") + razon;
        }
    }
    return {};
}

struct DocumentoXml::Impl {
    std::unique_ptr<xmlDoc, LiberarLibxml2> doc;
    /// The loaded bytes began with an XML declaration.
    bool declaracion = false;
    ResultadoCarga resultado;
    Lectura lectura = Lectura::Completa;
    /// The records read so far: all of them with Lectura::Registros, those of the
    /// sections asked for with Lectura::Completa.
    AlmacenRegistros almacen;

    Impl() { vaciar(); }

    void vaciar() {
        doc.reset(xmlNewDoc(BAD_CAST "1.0"));
        if (!doc) throw std::bad_alloc();
        declaracion = false;
        lectura = Lectura::Completa;
        almacen.vaciar();
    }

    /// The records of a section, read from the tree the first time they are asked for.
    const AlmacenRegistros& leerSeccion(const QString& seccion) {
        if (lectura == Lectura::Registros || almacen.tieneSeccion(seccion)) return almacen;
        ListaRegistros& destino = almacen.seccion(seccion);
        const QByteArray buscada = seccion.toUtf8();
        const xmlNodePtr raiz = xmlDocGetRootElement(doc.get());
        if (!esElemento(raiz, "SERVICIO")) return almacen;
        for (xmlNodePtr bloque = raiz->children; bloque != nullptr; bloque = bloque->next) {
            if (!esElemento(bloque, "BLOQUE_DATOS")) continue;
            for (xmlNodePtr s = bloque->children; s != nullptr; s = s->next) {
                if (!esElemento(s, "grupo_datos")) continue;
                const xmlAttrPtr seq = atributoSeq(s);
                if (seq == nullptr || textoDe(reinterpret_cast<xmlNodePtr>(seq)) != seccion) {
                    continue;
                }
                for (xmlNodePtr r = s->children; r != nullptr; r = r->next) {
                    if (esElemento(r, "grupo_datos")) leerRegistro(r, almacen, destino);
                }
            }
        }
        return almacen;
    }

    const ResultadoCarga& rechazar(ResultadoCarga r) {
        vaciar();
        resultado = std::move(r);
        return resultado;
    }

    xmlNodePtr comoNodo() const { return reinterpret_cast<xmlNodePtr>(doc.get()); }

    /// Parses with the context and options given; the bytes come from where the caller
    /// knows.
    using Analisis = std::function<xmlDocPtr(xmlParserCtxtPtr, int opciones)>;

    /// Loads a document whose first bytes are `cabeza` (at least kCabeza of them, or
    /// all when there are fewer) and whose parse `analizar` runs.
    const ResultadoCarga& cargar(const QByteArray& cabeza, Lectura modo, const Analisis& analizar) {
        using Motivo = ResultadoCarga::Motivo;
        if (cabeza.isEmpty()) return rechazar(fallida(Motivo::Vacio));
        if (QByteArray declarada = codificacionContradictoria(cabeza); !declarada.isEmpty()) {
            ResultadoCarga r = fallida(
                Motivo::CodificacionContradictoria,
                anchoDeCaracter(cabeza) == 2 ? QStringLiteral("UTF-16") : QStringLiteral("UCS-4"));
            r.codificacionDeclarada = QString::fromLatin1(declarada);
            return rechazar(std::move(r));
        }
        std::unique_ptr<xmlParserCtxt, LiberarLibxml2> ctxt(xmlNewParserCtxt());
        if (!ctxt) throw std::bad_alloc();
        Diagnostico diagnostico;
        ctxt->_private = &diagnostico;
        ctxt->sax->serror = anotarError;
        ctxt->sax->entityDecl = rechazarEntidad;
        ctxt->sax->unparsedEntityDecl = rechazarEntidadNoAnalizada;
        ctxt->sax->externalSubset = ignorarSubconjuntoExterno;
        almacen.vaciar();
        LecturaRegistros registros{&almacen};
        if (modo == Lectura::Registros) {
            diagnostico.registros = &registros;
            ctxt->sax->endElementNs = alTerminarElemento;
        }
        const int opciones =
            XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
        std::unique_ptr<xmlDoc, LiberarLibxml2> nuevo(analizar(ctxt.get(), opciones));
        const bool entidades =
            diagnostico.entidad ||
            (nuevo && (declaraEntidades(nuevo->intSubset) || declaraEntidades(nuevo->extSubset)));
        if (!nuevo || !ctxt->wellFormed || entidades ||
            xmlDocGetRootElement(nuevo.get()) == nullptr) {
            if (entidades) return rechazar(fallida(Motivo::Entidades));
            if (nuevo && ctxt->wellFormed) return rechazar(fallida(Motivo::SinRaiz));
            ResultadoCarga r = fallida(Motivo::MalFormado);
            r.linea = diagnostico.linea;
            r.columna = diagnostico.columna;
            r.razon = diagnostico.razon;
            return rechazar(std::move(r));
        }
        doc = std::move(nuevo);
        lectura = modo;
        declaracion = tieneDeclaracion(cabeza);
        resultado = ResultadoCarga{};
        return resultado;
    }

    std::vector<NodoXml> seleccionar(const DocumentoXml* dueno, xmlNodePtr contexto,
                                     const QString& xpath) const {
        std::vector<NodoXml> r;
        const QByteArray e = xpath.toUtf8();
        if (e.isEmpty()) return r;
        std::unique_ptr<xmlXPathContext, LiberarLibxml2> ctx(xmlXPathNewContext(doc.get()));
        if (!ctx) throw std::bad_alloc();
        ctx->node = contexto;
        ctx->error = silenciar;
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
    callarLibxml2();
    d = std::make_unique<Impl>();
}

DocumentoXml::~DocumentoXml() = default;

ResultadoCarga DocumentoXml::load(const QString& ruta, Lectura lectura) {
    using Motivo = ResultadoCarga::Motivo;
    const QFileInfo info(ruta);
    if (!info.exists()) return d->rechazar(fallida(Motivo::NoExiste));
    if (info.isDir()) return d->rechazar(fallida(Motivo::EsCarpeta));
    if (info.size() > kTamanoMaximo) return d->rechazar(fallida(Motivo::DemasiadoGrande));
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        return d->rechazar(fallida(Motivo::Ilegible, textoFalloArchivo(f)));
    }
    // The file is parsed as it is read: a large document never stands whole in memory
    // beside what is made of it.
    const QByteArray cabeza = f.read(kCabeza);
    if (f.error() != QFileDevice::NoError || !f.seek(0)) {
        return d->rechazar(fallida(Motivo::Ilegible, textoFalloArchivo(f)));
    }
    LectorArchivo lector{&f, 0, false, {}};
    const ResultadoCarga& r = d->cargar(cabeza, lectura, [&](xmlParserCtxtPtr ctxt, int opciones) {
        return xmlCtxtReadIO(ctxt, LectorArchivo::leer, nullptr, &lector, nullptr, nullptr,
                             opciones);
    });
    if (lector.fallo) return d->rechazar(fallida(Motivo::Ilegible, textoFalloArchivo(f)));
    if (lector.vigia.excedido()) {
        QByteArray antes;
        if (f.seek(0)) antes = f.read(lector.vigia.desplazamiento());
        return d->rechazar(desmesurado(antes));
    }
    if (lector.leidos > kTamanoMaximo) return d->rechazar(fallida(Motivo::DemasiadoGrande));
    return r;
}

ResultadoCarga DocumentoXml::loadXml(const QByteArray& contenido, Lectura lectura) {
    if (contenido.size() > kTamanoMaximo || contenido.size() > INT_MAX) {
        return d->rechazar(fallida(ResultadoCarga::Motivo::DemasiadoGrande));
    }
    if (VigiaMarcado vigia; !vigia.leer(contenido.constData(), contenido.size())) {
        return d->rechazar(desmesurado(contenido.left(vigia.desplazamiento())));
    }
    return d->cargar(contenido.left(kCabeza), lectura, [&](xmlParserCtxtPtr ctxt, int opciones) {
        return xmlCtxtReadMemory(ctxt, contenido.constData(), static_cast<int>(contenido.size()),
                                 nullptr, nullptr, opciones);
    });
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

QList<Registro> DocumentoXml::registros(const QString& seccion) const {
    return d->leerSeccion(seccion).registros(seccion);
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
