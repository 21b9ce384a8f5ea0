#include "DocumentoXml.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "CodificacionXml.h"
#include "Errores.h"
#include "ErroresSistema.h"

namespace varnolo {

namespace {

xmlNodePtr nodoDe(void* p) { return static_cast<xmlNodePtr>(p); }

const xmlChar* x(const QByteArray& b) { return reinterpret_cast<const xmlChar*>(b.constData()); }

QString deUtf8(const xmlChar* s) {
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

/// A text as UTF-8 for the document, in one pass and without a heap allocation for
/// short texts. Characters that XML 1.0 does not allow in a document (control
/// characters other than tab, line feed and carriage return, U+FFFE, U+FFFF, lone
/// surrogates) are left out: written as they stand they would make the saved file
/// unreadable for its reader.
class TextoXml {
  public:
    explicit TextoXml(QStringView texto) {
        const qsizetype n = texto.size();
        bytes_.resize(n * 3 + 1);
        char* o = bytes_.data();
        const char16_t* s = texto.utf16();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = s[i];
            if (c < 0x80) {
                if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') continue;
                *o++ = static_cast<char>(c);
            } else if (c < 0x800) {
                *o++ = static_cast<char>(0xC0 | (c >> 6));
                *o++ = static_cast<char>(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
                const char32_t u = QChar::surrogateToUcs4(c, s[++i]);
                *o++ = static_cast<char>(0xF0 | (u >> 18));
                *o++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
                *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (u & 0x3F));
            } else if (QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
                continue;
            } else {
                *o++ = static_cast<char>(0xE0 | (c >> 12));
                *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *o++ = static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        *o = '\0';
        tam_ = static_cast<int>(o - bytes_.data());
    }
    const xmlChar* datos() const { return reinterpret_cast<const xmlChar*>(bytes_.constData()); }
    int tam() const { return tam_; }

  private:
    // Texts beyond INT_MAX bytes cannot be held by libxml2; the document limit keeps
    // them far away.
    QVarLengthArray<char, 256> bytes_;
    int tam_ = 0;
};

/// Puts the text into a text node that has none yet. A short text is held inside the
/// node itself, in the place that libxml2 uses for it when it parses compactly (the
/// fields that a text node leaves unused), which spares one allocation per node;
/// libxml2 recognises that place when it frees or changes the node.
void ponerContenido(xmlNodePtr t, const TextoXml& texto) {
    const int n = texto.tam();
    if (n < static_cast<int>(2 * sizeof(void*))) {
        auto* dentro = reinterpret_cast<xmlChar*>(&t->properties);
        std::memcpy(dentro, texto.datos(), static_cast<size_t>(n));
        dentro[n] = 0;
        t->content = dentro;
        return;
    }
    t->content = xmlStrndup(texto.datos(), n);
    if (t->content == nullptr) throw std::bad_alloc();
}

/// A new text node of the document holding the text, attached nowhere.
xmlNodePtr nuevoTexto(xmlDocPtr doc, const TextoXml& texto) {
    xmlNodePtr t = xmlNewDocTextLen(doc, nullptr, 0);
    if (t == nullptr) throw std::bad_alloc();
    try {
        ponerContenido(t, texto);
    } catch (...) {
        xmlFreeNode(t);
        throw;
    }
    return t;
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
};

Diagnostico* diagnosticoDe(void* ctx) {
    return static_cast<Diagnostico*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

void anotarError(void* ctx, xmlErrorPtr e) {
    Diagnostico* d = diagnosticoDe(ctx);
    if (d == nullptr || e == nullptr || d->linea > 0 || e->level < XML_ERR_ERROR) return;
    d->linea = e->line;
    d->columna = e->int2;
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

struct LiberarContexto {
    void operator()(xmlParserCtxtPtr c) const { xmlFreeParserCtxt(c); }
    void operator()(xmlXPathContextPtr c) const { xmlXPathFreeContext(c); }
    void operator()(xmlXPathObjectPtr o) const { xmlXPathFreeObject(o); }
};

[[noreturn]] void fallo(const QString& texto) { throw ErrorVarnolo(texto); }

[[noreturn]] void falloCodificacion(const QString& codificacion) {
    fallo(QStringLiteral("No se puede escribir el documento XML en la codificación %1.")
              .arg(codificacion));
}

/// Where the serialised document goes, piece by piece. The first bytes are held back
/// until they show a declaration that a reader recognises (when one is required), so
/// an unreadable result fails before anything is opened or written.
class Salida {
  public:
    Salida(bool exigirDeclaracion, QString codificacion)
        : exigirDeclaracion_(exigirDeclaracion), codificacion_(std::move(codificacion)) {}
    virtual ~Salida() = default;
    Salida(const Salida&) = delete;
    Salida& operator=(const Salida&) = delete;

    const QString& codificacion() const { return codificacion_; }

    void recibir(const char* datos, qsizetype n) {
        if (empezada_) {
            escribir(datos, n);
            return;
        }
        cabeza_.append(datos, n);
        if (cabeza_.size() >= kCabeza) empezar();
    }
    /// After the last piece.
    void terminar() {
        if (!empezada_) empezar();
    }

    /// libxml2's write callback: an error is kept, to be raised once libxml2 returns.
    static int alEscribir(void* contexto, const char* datos, int n) noexcept {
        auto* s = static_cast<Salida*>(contexto);
        if (s->error) return -1;
        try {
            s->recibir(datos, n);
            return n;
        } catch (...) {
            s->error = std::current_exception();
            return -1;
        }
    }
    std::exception_ptr error;

  protected:
    /// Before the first byte is written.
    virtual void abrir() {}
    /// Raises ErrorVarnolo when the bytes cannot be written.
    virtual void escribir(const char* datos, qsizetype n) = 0;

  private:
    static constexpr qsizetype kCabeza = 64;
    void empezar() {
        empezada_ = true;
        // Some encodings (UTF-7, EBCDIC) write even the declaration in a form that no
        // reader recognises; such a file could not be read back, so it is not written.
        if (exigirDeclaracion_ && !tieneDeclaracion(cabeza_)) falloCodificacion(codificacion_);
        abrir();
        escribir(cabeza_.constData(), cabeza_.size());
        cabeza_.clear();
    }
    bool exigirDeclaracion_;
    QString codificacion_;
    bool empezada_ = false;
    QByteArray cabeza_;
};

class SalidaMemoria : public Salida {
  public:
    using Salida::Salida;
    QByteArray bytes;

  protected:
    void escribir(const char* datos, qsizetype n) override { bytes.append(datos, n); }
};

/// Through a temporary file in the target's folder, renamed over the target by
/// confirmar(); destroyed unconfirmed, it leaves the target as it was.
class SalidaArchivo : public Salida {
  public:
    SalidaArchivo(bool exigirDeclaracion, QString codificacion, const QString& ruta)
        : Salida(exigirDeclaracion, std::move(codificacion)), archivo_(ruta), ruta_(ruta) {}
    void confirmar() {
        if (!archivo_.commit()) falloArchivo();
    }

  protected:
    void abrir() override {
        if (!archivo_.open(QIODevice::WriteOnly)) falloArchivo();
    }
    void escribir(const char* datos, qsizetype n) override {
        if (archivo_.write(datos, n) != n) falloArchivo();
    }

  private:
    [[noreturn]] void falloArchivo() const {
        fallo(QStringLiteral("No se ha podido guardar el archivo %1: %2.")
                  .arg(QDir::toNativeSeparators(ruta_), motivo()));
    }
    // A read-only file or folder reads to the system as a refused permission; the
    // user is told which of the two is in the way.
    QString motivo() const {
        const QFileInfo destino(ruta_);
        if (destino.isDir()) return QStringLiteral("hay una carpeta con ese nombre");
        if (archivo_.error() == QFileDevice::PermissionsError ||
            archivo_.error() == QFileDevice::OpenError) {
            if (destino.exists() && !destino.isWritable()) {
                return QStringLiteral("el archivo es de solo lectura");
            }
            const QFileInfo carpeta(destino.absolutePath());
            if (!carpeta.exists()) return QStringLiteral("la carpeta no existe");
            if (!carpeta.isWritable()) {
                return QStringLiteral(
                    "la carpeta es de solo lectura o no tiene permiso para "
                    "escribir en ella");
            }
        }
        return textoFalloArchivo(archivo_);
    }
    QSaveFile archivo_;
    QString ruta_;
};

}  // namespace

struct DocumentoXml::Impl {
    xmlDocPtr doc = nullptr;
    /// The loaded bytes began with an XML declaration; save() writes one then only.
    bool declaracion = false;
    /// Nodes created or detached through this document: every one of them that has no
    /// parent is here (some more than once, and some since attached, until the list is
    /// next compacted). Those still without a parent when the document ends are freed
    /// with their subtrees. A list, not a set: building a large document creates and
    /// attaches hundreds of thousands of nodes, and each is then one append here.
    std::vector<xmlNodePtr> sueltos;
    size_t compactarEn = kCompactarMinimo;
    static constexpr size_t kCompactarMinimo = 4096;
    /// Names recently checked for createElement and setAttribute, with their copy in
    /// the document's dictionary: a document is built with a handful of names used
    /// over and over. Emptied whenever the document (and so its dictionary) changes.
    struct NombreValidado {
        QString nombre;
        const xmlChar* enDiccionario = nullptr;
    };
    std::array<NombreValidado, 16> nombres;
    size_t siguienteNombre = 0;

    Impl() { vaciar(); }
    ~Impl() { liberar(); }

    /// The parentless nodes of `sueltos`, each once.
    std::vector<xmlNodePtr> raicesSueltas() const {
        std::vector<xmlNodePtr> raices;
        for (xmlNodePtr n : sueltos) {
            if (n->parent == nullptr) raices.push_back(n);
        }
        std::sort(raices.begin(), raices.end());
        raices.erase(std::unique(raices.begin(), raices.end()), raices.end());
        return raices;
    }

    /// Makes room in `sueltos` for one more node, so that noting a node after it was
    /// created or detached cannot fail.
    void prepararSuelto() {
        if (sueltos.size() >= compactarEn) {
            sueltos = raicesSueltas();
            compactarEn = std::max(kCompactarMinimo, 2 * sueltos.size());
        }
        if (sueltos.size() == sueltos.capacity()) {
            sueltos.reserve(std::max<size_t>(64, 2 * sueltos.capacity()));
        }
    }

    /// Keeps in `sueltos` only the nodes that have no parent now.
    void olvidarSueltosConPadre() {
        sueltos = raicesSueltas();
        compactarEn = std::max(kCompactarMinimo, 2 * sueltos.size());
    }

    void liberar() {
        // Every root is found before anything is freed: freeing a subtree frees nodes
        // that may stand later in the list.
        for (xmlNodePtr n : raicesSueltas()) xmlFreeNode(n);
        sueltos.clear();
        sueltos.shrink_to_fit();
        compactarEn = kCompactarMinimo;
        olvidarNombres();
        if (doc != nullptr) xmlFreeDoc(doc);
        doc = nullptr;
    }

    void olvidarNombres() {
        nombres.fill(NombreValidado{});
        siguienteNombre = 0;
    }

    /// Why the last load failed; empty after one that succeeded.
    QString motivo;
    bool rechazar(const QString& porque) {
        motivo = porque;
        return false;
    }
    static QString demasiadoGrande() {
        return QStringLiteral("es demasiado grande: el límite es de %1 MB")
            .arg(kTamanoMaximo / (1024 * 1024));
    }

    void vaciar() {
        liberar();
        doc = xmlNewDoc(BAD_CAST "1.0");
        if (doc == nullptr) throw std::bad_alloc();
        // Element and attribute names are kept once in a dictionary, as in a parsed
        // document, instead of one copy per node.
        doc->dict = xmlDictCreate();
        if (doc->dict == nullptr) throw std::bad_alloc();
        declaracion = false;
    }

    /// The name in the document's dictionary; raises ErrorVarnolo with `error` (its %1
    /// the name) when it is not a valid XML name.
    const xmlChar* nombreValido(const QString& nombre, const QString& error) {
        for (const NombreValidado& v : nombres) {
            if (v.enDiccionario != nullptr && v.nombre.size() == nombre.size() &&
                std::memcmp(v.nombre.constData(), nombre.constData(),
                            static_cast<size_t>(nombre.size()) * sizeof(QChar)) == 0) {
                return v.enDiccionario;
            }
        }
        const QByteArray nom = nombre.toUtf8();
        if (xmlValidateName(x(nom), 0) != 0) fallo(error.arg(nombre));
        const xmlChar* enDiccionario =
            xmlDictLookup(doc->dict, x(nom), static_cast<int>(nom.size()));
        if (enDiccionario == nullptr) throw std::bad_alloc();
        // A copy of its own: the caller's characters may be raw data that do not outlive
        // the call.
        nombres[siguienteNombre] =
            NombreValidado{QString(nombre.constData(), nombre.size()), enDiccionario};
        siguienteNombre = (siguienteNombre + 1) % nombres.size();
        return enDiccionario;
    }

    xmlNodePtr comoNodo() const { return reinterpret_cast<xmlNodePtr>(doc); }

    bool cargar(const QByteArray& contenido) {
        vaciar();
        if (contenido.isEmpty()) return rechazar(QStringLiteral("está vacío"));
        if (contenido.size() > kTamanoMaximo || contenido.size() > INT_MAX) {
            return rechazar(demasiadoGrande());
        }
        if (const QByteArray declarada = codificacionContradictoria(contenido);
            !declarada.isEmpty()) {
            return rechazar(QStringLiteral("no es un documento XML válido: está escrito en %1 "
                                           "pero declara la codificación %2")
                                .arg(anchoDeCaracter(contenido) == 2 ? QStringLiteral("UTF-16")
                                                                     : QStringLiteral("UCS-4"),
                                     QString::fromLatin1(declarada)));
        }
        std::unique_ptr<xmlParserCtxt, LiberarContexto> ctxt(xmlNewParserCtxt());
        if (!ctxt) throw std::bad_alloc();
        Diagnostico diagnostico;
        ctxt->_private = &diagnostico;
        ctxt->sax->serror = anotarError;
        ctxt->sax->entityDecl = rechazarEntidad;
        ctxt->sax->unparsedEntityDecl = rechazarEntidadNoAnalizada;
        ctxt->sax->externalSubset = ignorarSubconjuntoExterno;
        const int opciones =
            XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
        xmlDocPtr nuevo =
            xmlCtxtReadMemory(ctxt.get(), contenido.constData(), static_cast<int>(contenido.size()),
                              nullptr, nullptr, opciones);
        const bool entidades =
            diagnostico.entidad || (nuevo != nullptr && (declaraEntidades(nuevo->intSubset) ||
                                                         declaraEntidades(nuevo->extSubset)));
        if (nuevo == nullptr || !ctxt->wellFormed || entidades ||
            xmlDocGetRootElement(nuevo) == nullptr) {
            const bool sinRaiz = nuevo != nullptr && ctxt->wellFormed;
            xmlFreeDoc(nuevo);
            if (entidades) {
                return rechazar(
                    QStringLiteral("declara entidades, que no se admiten por seguridad"));
            }
            if (sinRaiz) {
                return rechazar(
                    QStringLiteral("no es un documento XML válido: no tiene "
                                   "elemento raíz"));
            }
            if (diagnostico.linea <= 0) {
                return rechazar(QStringLiteral("no es un documento XML válido"));
            }
            return rechazar(QStringLiteral("no es un documento XML válido: error en la línea "
                                           "%1, columna %2")
                                .arg(diagnostico.linea)
                                .arg(std::max(1, diagnostico.columna)));
        }
        motivo.clear();
        xmlFreeDoc(doc);
        doc = nuevo;
        olvidarNombres();
        if (doc->dict == nullptr) {
            doc->dict = xmlDictCreate();
            if (doc->dict == nullptr) throw std::bad_alloc();
        }
        declaracion = tieneDeclaracion(contenido);
        if (!declaracion && doc->encoding != nullptr) {
            // Without a declaration the document is saved as UTF-8, which needs none.
            xmlFree(const_cast<xmlChar*>(doc->encoding));
            doc->encoding = nullptr;
        }
        return true;
    }

    /// Serialises the document as toByteArray() describes into `salida`.
    void serializar(Salida& salida) const {
        xmlDocPtr doc = this->doc;
        const bool codificacionDeclarada = declaracion && doc->encoding != nullptr;
        const char* codificacion =
            codificacionDeclarada ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
        struct Cerrar {
            void operator()(xmlSaveCtxtPtr c) const { xmlSaveClose(c); }
        };
        std::unique_ptr<xmlSaveCtxt, Cerrar> ctx(
            xmlSaveToIO(&Salida::alEscribir, nullptr, &salida, codificacion,
                        codificacionDeclarada ? 0 : XML_SAVE_NO_DECL));
        if (!ctx) falloCodificacion(salida.codificacion());

        // A document that names no encoding is UTF-8. libxml2 writes such a document in
        // ASCII with character references; told that it is UTF-8 it writes the characters
        // themselves, and its declaration is then written here, unchanged.
        if (declaracion && !codificacionDeclarada) {
            QByteArray texto =
                "<?xml version=\"" +
                QByteArray(doc->version ? reinterpret_cast<const char*>(doc->version) : "1.0") +
                '"';
            if (doc->standalone == 1) texto += " standalone=\"yes\"";
            if (doc->standalone == 0) texto += " standalone=\"no\"";
            texto += "?>\n";
            salida.recibir(texto.constData(), texto.size());
        }
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

        const long escrito = xmlSaveDoc(ctx.get(), doc);
        const int cerrado = xmlSaveClose(ctx.release());
        if (salida.error) std::rethrow_exception(salida.error);
        if (escrito < 0 || cerrado < 0) falloCodificacion(salida.codificacion());
        salida.terminar();
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
        prepararSuelto();
        xmlUnlinkNode(n);
        sueltos.push_back(n);
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
    if (n == nullptr || doc_ == nullptr || n->type != XML_ELEMENT_NODE) {
        fallo(QStringLiteral("Documento XML: el atributo %1 solo puede ponerse a un elemento.")
                  .arg(nombre));
    }
    const xmlChar* nom = doc_->d->nombreValido(
        nombre, QStringLiteral("Documento XML: \"%1\" no es un nombre de atributo válido."));
    const TextoXml texto(valor);
    xmlDocPtr doc = n->doc;
    if (xmlStrchr(nom, ':') != nullptr || doc == nullptr || doc->intSubset != nullptr ||
        doc->extSubset != nullptr) {
        // A prefixed name or a document type that may declare ID attributes: xmlSetProp
        // resolves the prefix and keeps the document's ID table. It takes the value as
        // plain text (escaped when saved) and keeps an existing attribute in its place.
        if (xmlSetProp(n, nom, texto.datos()) == nullptr) throw std::bad_alloc();
        return;
    }
    // What xmlSetProp does for a plain name without a document type, the value held
    // compactly: the attribute without a namespace of that name keeps its place and
    // gets the new value, or a new attribute goes last. The old value's node is
    // detached, not freed, so a handle to it (the attribute's firstChild()) stays valid.
    xmlNodePtr t = nuevoTexto(doc, texto);
    try {
        xmlAttrPtr a = n->properties;
        while (a != nullptr && (a->ns != nullptr || !xmlStrEqual(a->name, nom))) a = a->next;
        if (a == nullptr) {
            a = xmlNewProp(n, nom, nullptr);
            if (a == nullptr) throw std::bad_alloc();
        }
        while (a->children != nullptr) doc_->d->soltar(a->children);
        t->parent = reinterpret_cast<xmlNodePtr>(a);
        a->children = t;
        a->last = t;
    } catch (...) {
        xmlFreeNode(t);
        throw;
    }
}

void NodoXml::setText(const QString& texto) {
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr || doc_ == nullptr) {
        fallo(QStringLiteral("Documento XML: no se puede poner texto a un nodo inexistente."));
    }
    const TextoXml contenido(texto);
    if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE ||
        n->type == XML_COMMENT_NODE) {
        xmlNodeSetContent(n, contenido.datos());
        return;
    }
    if (n->type != XML_ELEMENT_NODE) {
        fallo(QStringLiteral("Documento XML: solo se puede poner texto a un elemento."));
    }
    // Old children are detached, not freed: handles to them stay valid.
    while (n->children != nullptr) doc_->d->soltar(n->children);
    if (contenido.tam() == 0) return;
    enlazarAlFinal(n, nuevoTexto(n->doc, contenido));
}

void NodoXml::fijarContenido() {
    xmlNodePtr n = nodoDe(nodo_);
    if (n == nullptr || doc_ == nullptr || n->type != XML_ELEMENT_NODE) {
        fallo(QStringLiteral("Documento XML: solo se puede fijar el contenido de un elemento."));
    }
    if (n->children == nullptr) return;  // saved as <nombre/>, which stays so
    xmlDocPtr doc = n->doc;
    struct LiberarBuffer {
        void operator()(xmlBufferPtr b) const { xmlBufferFree(b); }
    };
    std::unique_ptr<xmlBuffer, LiberarBuffer> buffer(xmlBufferCreate());
    if (!buffer) throw std::bad_alloc();
    {
        // Serialised as save() does: UTF-8 here, characters that the document's own
        // encoding cannot hold become references when the whole is written; attribute
        // values keep their characters only while the document names an encoding.
        struct CodificacionProvisional {
            xmlDocPtr doc;
            bool puesta;
            explicit CodificacionProvisional(xmlDocPtr d) : doc(d), puesta(d->encoding == nullptr) {
                if (puesta) doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
            }
            ~CodificacionProvisional() {
                if (!puesta) return;
                xmlFree(const_cast<xmlChar*>(doc->encoding));
                doc->encoding = nullptr;
            }
        } provisional(doc);
        struct Cerrar {
            void operator()(xmlSaveCtxtPtr c) const { xmlSaveClose(c); }
        };
        std::unique_ptr<xmlSaveCtxt, Cerrar> ctx(
            xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_NO_DECL));
        if (!ctx) throw std::bad_alloc();
        for (xmlNodePtr c = n->children; c != nullptr; c = c->next) {
            if (xmlSaveTree(ctx.get(), c) < 0) throw std::bad_alloc();
        }
        if (xmlSaveClose(ctx.release()) < 0) throw std::bad_alloc();
    }
    // One text node written as it stands (libxml2's name for unescaped text).
    xmlNodePtr texto = xmlNewDocTextLen(doc, nullptr, 0);
    if (texto == nullptr) throw std::bad_alloc();
    texto->name = xmlStringTextNoenc;
    texto->content = xmlStrndup(xmlBufferContent(buffer.get()), xmlBufferLength(buffer.get()));
    if (texto->content == nullptr) {
        xmlFreeNode(texto);
        throw std::bad_alloc();
    }
    // The noted parentless nodes are narrowed to those still without a parent, none
    // of them inside this content, before the content is freed.
    doc_->d->olvidarSueltosConPadre();
    xmlNodePtr viejos = n->children;
    for (xmlNodePtr c = viejos; c != nullptr; c = c->next) c->parent = nullptr;
    n->children = nullptr;
    n->last = nullptr;
    xmlFreeNodeList(viejos);
    enlazarAlFinal(n, texto);
}

// ---------------------------------------------------------------------------------
// DocumentoXml

DocumentoXml::DocumentoXml() {
    registrarCodificacionesXml();
    callarLibxml2();
    d = std::make_unique<Impl>();
}

DocumentoXml::~DocumentoXml() = default;

bool DocumentoXml::load(const QString& ruta) {
    const QFileInfo info(ruta);
    if (!info.exists()) {
        d->vaciar();
        return d->rechazar(QStringLiteral("no existe"));
    }
    if (info.isDir()) {
        d->vaciar();
        return d->rechazar(QStringLiteral("es una carpeta, no un archivo"));
    }
    if (info.size() > kTamanoMaximo) {
        d->vaciar();
        return d->rechazar(Impl::demasiadoGrande());
    }
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        d->vaciar();
        return d->rechazar(QStringLiteral("no se puede leer: %1").arg(textoFalloArchivo(f)));
    }
    const QByteArray contenido = f.read(kTamanoMaximo + 1);
    if (f.error() != QFileDevice::NoError) {
        d->vaciar();
        return d->rechazar(QStringLiteral("no se puede leer: %1").arg(textoFalloArchivo(f)));
    }
    return d->cargar(contenido);
}

QString DocumentoXml::motivoFallo() const { return d->motivo; }

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
    const xmlChar* nom = d->nombreValido(
        nombre, QStringLiteral("Documento XML: \"%1\" no es un nombre de elemento válido."));
    d->prepararSuelto();
    // The name belongs to the document's dictionary, so the node takes it as it is.
    xmlNodePtr n = xmlNewDocNodeEatName(d->doc, nullptr, const_cast<xmlChar*>(nom), nullptr);
    if (n == nullptr) throw std::bad_alloc();
    d->sueltos.push_back(n);
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
    enlazarAlFinal(d->comoNodo(), h);
}

void DocumentoXml::removeChild(const NodoXml& raiz) {
    xmlNodePtr h = nodoDe(raiz.nodo_);
    if (h == nullptr || raiz.doc_ != this || h->parent != d->comoNodo() ||
        h->type == XML_DTD_NODE) {
        fallo(
            QStringLiteral("Documento XML: el nodo que se quiere quitar no es hijo del "
                           "documento."));
    }
    d->soltar(h);
}

QString DocumentoXml::encoding() const {
    if (d->declaracion && d->doc->encoding != nullptr) return deUtf8(d->doc->encoding);
    return QStringLiteral("UTF-8");
}

QByteArray DocumentoXml::toByteArray() const {
    SalidaMemoria salida(d->declaracion, encoding());
    d->serializar(salida);
    return std::move(salida.bytes);
}

void DocumentoXml::save(const QString& ruta) const {
    // Written as it is serialised: a large document is never held twice in memory.
    SalidaArchivo salida(d->declaracion, encoding(), ruta);
    d->serializar(salida);
    salida.confirmar();
}

}  // namespace varnolo
