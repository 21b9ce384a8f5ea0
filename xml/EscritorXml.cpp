#include "xml/EscritorXml.h"

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/xmlIO.h>

#include <QHash>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "base/Errores.h"
#include "xml/CodificacionXml.h"
#include "xml/DocumentoXml.h"
#include "xml/SalidaXml.h"

namespace varnolo {

namespace {

[[noreturn]] void fallo(const QString& texto) { throw ErrorVarnolo(texto); }

/// A character that XML 1.0 does not allow in a document at all: written as it
/// stands it would make the file unreadable for its reader.
bool seOmite(char16_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

/// True when something of the text is left once the characters that XML cannot
/// carry are left out.
bool quedaTexto(QStringView texto) {
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = texto[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n &&
            QChar::isLowSurrogate(texto[i + 1].unicode())) {
            return true;
        }
        if (!QChar::isSurrogate(c) && !seOmite(c)) return true;
    }
    return false;
}

/// The characters that the output encoding can hold, learnt one by one from its
/// converter and remembered. Only the others are written as character references,
/// by us: libxml2 would do it inside its encoder too, but with some converters its
/// recovery from a character they cannot hold shifts the bytes after it, and the
/// file no longer loads.
class Repertorio {
  public:
    /// Null for the Unicode encodings, which hold every character.
    static std::unique_ptr<Repertorio> de(const QByteArray& codificacion) {
        const QByteArray n = codificacion.toUpper();
        if (n.startsWith("UTF") || n.startsWith("UCS") || n.startsWith("ISO-10646")) return {};
        return std::unique_ptr<Repertorio>(new Repertorio(codificacion));
    }
    ~Repertorio() {
        if (manejador_ != nullptr) xmlCharEncCloseFunc(manejador_);
    }
    Repertorio(const Repertorio&) = delete;
    Repertorio& operator=(const Repertorio&) = delete;

    bool contiene(char32_t c) {
        const auto hallado = conocidos_.constFind(c);
        if (hallado != conocidos_.constEnd()) return *hallado;
        const bool cabe = probar(c);
        conocidos_.insert(c, cabe);
        return cabe;
    }

  private:
    explicit Repertorio(const QByteArray& codificacion)
        // A converter of its own: the output's may keep a state between calls.
        : manejador_(xmlFindCharEncodingHandler(codificacion.constData())) {}

    /// Converts the character alone: a converter that cannot hold it gives back the
    /// character reference instead.
    bool probar(char32_t c) const {
        if (manejador_ == nullptr) return false;
        const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
        struct Liberar {
            void operator()(xmlBufferPtr b) const { xmlBufferFree(b); }
        };
        std::unique_ptr<xmlBuffer, Liberar> entrada(xmlBufferCreate()), salida(xmlBufferCreate());
        if (!entrada || !salida) throw std::bad_alloc();
        xmlBufferAdd(entrada.get(), reinterpret_cast<const xmlChar*>(utf8.constData()),
                     static_cast<int>(utf8.size()));
        if (xmlCharEncOutFunc(manejador_, salida.get(), entrada.get()) < 0) return false;
        const QByteArray escrito(reinterpret_cast<const char*>(xmlBufferContent(salida.get())),
                                 xmlBufferLength(salida.get()));
        return !escrito.isEmpty() && escrito != "&#" + QByteArray::number(c) + ';';
    }

    xmlCharEncodingHandlerPtr manejador_;
    QHash<char32_t, bool> conocidos_;
};

/// Appends the text in UTF-8 with the markup characters escaped as libxml2 escapes
/// them: in content &, <, > and CR; in an attribute value also ", tab and line feed.
/// Characters that XML cannot carry are left out; those that the output encoding
/// cannot hold (when `repertorio` is given) become character references.
void agregarEscapado(QByteArray& salida, QStringView texto, bool enAtributo,
                     Repertorio* repertorio) {
    const qsizetype n = texto.size();
    const qsizetype inicio = salida.size();
    // The longest form of one UTF-16 unit: a reference such as "&#65533;".
    salida.resize(inicio + 8 * n);
    char* o = salida.data() + inicio;
    const auto poner = [&o](const char* s, size_t largo) {
        std::memcpy(o, s, largo);
        o += largo;
    };
    const char16_t* s = texto.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            switch (c) {
                case u'&':
                    poner("&amp;", 5);
                    continue;
                case u'<':
                    poner("&lt;", 4);
                    continue;
                case u'>':
                    poner("&gt;", 4);
                    continue;
                case u'\r':
                    poner("&#13;", 5);
                    continue;
                case u'"':
                    if (enAtributo) {
                        poner("&quot;", 6);
                        continue;
                    }
                    break;
                case u'\n':
                    if (enAtributo) {
                        poner("&#10;", 5);
                        continue;
                    }
                    break;
                case u'\t':
                    if (enAtributo) {
                        poner("&#9;", 4);
                        continue;
                    }
                    break;
                default:
                    if (seOmite(c)) continue;
            }
            *o++ = static_cast<char>(c);
            continue;
        }
        char32_t u = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            u = QChar::surrogateToUcs4(c, s[i + 1]);
        } else if (QChar::isSurrogate(c) || seOmite(c)) {
            continue;
        }
        if (repertorio != nullptr && !repertorio->contiene(u)) {
            if (u > 0xFFFF) ++i;
            const QByteArray referencia = "&#" + QByteArray::number(u) + ';';
            poner(referencia.constData(), static_cast<size_t>(referencia.size()));
            continue;
        }
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, s[++i]);
            *o++ = static_cast<char>(0xF0 | (u >> 18));
            *o++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (u & 0x3F));
        } else if (QChar::isSurrogate(c) || seOmite(c)) {
            continue;
        } else {
            *o++ = static_cast<char>(0xE0 | (c >> 12));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    salida.resize(o - salida.constData());
}

/// How much text gathers before it goes to libxml2's encoder.
constexpr qsizetype kBloque = 64 * 1024;

}  // namespace

struct EscritorXml::Impl {
    std::unique_ptr<SalidaXml> salida;
    SalidaArchivo* archivo = nullptr;  // the same sink when it is a file
    xmlOutputBufferPtr buffer = nullptr;

    /// UTF-8 not yet handed to the encoder.
    QByteArray pendiente;
    /// The names of the open elements, the innermost last.
    std::vector<QByteArray> abiertos;
    /// The start tag of the innermost element is still open: attributes may follow.
    bool etiquetaAbierta = false;
    std::vector<std::pair<QByteArray, QByteArray>> atributos;  // name, escaped value
    bool raizEscrita = false;
    bool terminado = false;
    QByteArray escapado;  // reused for each attribute value
    /// What the output encoding holds; null when it holds everything.
    std::unique_ptr<Repertorio> repertorio;

    /// Names recently checked, with their UTF-8: a document is written with a handful
    /// of names used over and over.
    struct NombreValidado {
        QString nombre;
        QByteArray utf8;
    };
    std::array<NombreValidado, 16> nombres;
    size_t siguienteNombre = 0;

    Impl(const ContornoXml& contorno, std::unique_ptr<SalidaXml> s) : salida(std::move(s)) {
        registrarCodificacionesXml();
        const bool codificacionDeclarada = contorno.declaracion && !contorno.codificacion.isEmpty();
        const QByteArray codificacion =
            codificacionDeclarada ? contorno.codificacion : QByteArrayLiteral("UTF-8");
        xmlCharEncodingHandlerPtr manejador = xmlFindCharEncodingHandler(codificacion.constData());
        repertorio = Repertorio::de(codificacion);
        if (manejador == nullptr) falloCodificacionXml(salida->codificacion());
        buffer = xmlOutputBufferCreateIO(&SalidaXml::alEscribir, nullptr, salida.get(), manejador);
        if (buffer == nullptr) {
            xmlCharEncCloseFunc(manejador);
            throw std::bad_alloc();
        }
        pendiente.reserve(kBloque + 4096);
        if (contorno.declaracion) {
            pendiente += "<?xml version=\"" + contorno.version + '"';
            if (codificacionDeclarada) pendiente += " encoding=\"" + codificacion + '"';
            if (contorno.independiente == 1) pendiente += " standalone=\"yes\"";
            if (contorno.independiente == 0) pendiente += " standalone=\"no\"";
            pendiente += "?>\n";
        }
        pendiente += contorno.fueraDeRaiz;
    }

    ~Impl() {
        if (buffer == nullptr) return;
        // Abandoned: what libxml2 still holds is dropped, not written.
        if (!salida->error) salida->error = std::make_exception_ptr(std::bad_alloc());
        xmlOutputBufferClose(buffer);
    }

    [[noreturn]] void falloEscritura() {
        if (salida->error) std::rethrow_exception(salida->error);
        falloCodificacionXml(salida->codificacion());
    }

    void vaciar() {
        if (pendiente.isEmpty()) return;
        if (xmlOutputBufferWrite(buffer, static_cast<int>(pendiente.size()),
                                 pendiente.constData()) < 0) {
            falloEscritura();
        }
        pendiente.clear();
    }

    void quizaVaciar() {
        if (pendiente.size() >= kBloque) vaciar();
    }

    const QByteArray& nombreValido(QStringView nombre, const QString& error) {
        for (const NombreValidado& v : nombres) {
            if (!v.utf8.isEmpty() && QStringView(v.nombre) == nombre) return v.utf8;
        }
        QByteArray utf8 = nombre.toUtf8();
        if (utf8.isEmpty() ||
            xmlValidateName(reinterpret_cast<const xmlChar*>(utf8.constData()), 0) != 0) {
            fallo(error.arg(nombre.toString()));
        }
        NombreValidado& nuevo = nombres[siguienteNombre];
        siguienteNombre = (siguienteNombre + 1) % nombres.size();
        nuevo = NombreValidado{nombre.toString(), std::move(utf8)};
        return nuevo.utf8;
    }

    void exigirEnCurso() const {
        if (terminado) fallo(QStringLiteral("Documento XML: el documento ya está terminado."));
    }

    /// Ends the start tag of the innermost element, its content to follow.
    void cerrarEtiqueta() {
        if (!etiquetaAbierta) return;
        pendiente += '<';
        pendiente += abiertos.back();
        for (const auto& [nombre, valor] : atributos) {
            pendiente += ' ';
            pendiente += nombre;
            pendiente += "=\"";
            pendiente += valor;
            pendiente += '"';
        }
        pendiente += '>';
        atributos.clear();
        etiquetaAbierta = false;
    }

    void abrir(QStringView nombre) {
        exigirEnCurso();
        const QByteArray& n = nombreValido(
            nombre, QStringLiteral("Documento XML: \"%1\" no es un nombre de elemento válido."));
        if (abiertos.empty()) {
            if (raizEscrita) {
                fallo(QStringLiteral("Documento XML: el documento ya tiene un elemento raíz."));
            }
            raizEscrita = true;
        }
        cerrarEtiqueta();
        abiertos.push_back(n);
        etiquetaAbierta = true;
        quizaVaciar();
    }

    void atributo(QStringView nombre, QStringView valor) {
        exigirEnCurso();
        if (!etiquetaAbierta) {
            fallo(QStringLiteral("Documento XML: el atributo %1 solo puede ponerse a un elemento "
                                 "recién abierto.")
                      .arg(nombre.toString()));
        }
        const QByteArray& n = nombreValido(
            nombre, QStringLiteral("Documento XML: \"%1\" no es un nombre de atributo válido."));
        escapado.clear();
        agregarEscapado(escapado, valor, true, repertorio.get());
        for (auto& [existente, suValor] : atributos) {
            if (existente == n) {
                suValor = escapado;
                return;
            }
        }
        atributos.emplace_back(n, escapado);
    }

    void texto(QStringView texto) {
        exigirEnCurso();
        if (abiertos.empty()) {
            fallo(QStringLiteral("Documento XML: el texto solo puede ir dentro de un elemento."));
        }
        if (!quedaTexto(texto)) return;
        cerrarEtiqueta();
        agregarEscapado(pendiente, texto, false, repertorio.get());
        quizaVaciar();
    }

    void cerrar() {
        exigirEnCurso();
        if (abiertos.empty()) {
            fallo(QStringLiteral("Documento XML: no hay ningún elemento abierto."));
        }
        const bool vacio = etiquetaAbierta;
        cerrarEtiqueta();
        const QByteArray& nombre = abiertos.back();
        if (vacio) {
            pendiente.chop(1);  // nothing went into it: "<nombre …/>"
            pendiente += "/>";
        } else {
            pendiente += "</";
            pendiente += nombre;
            pendiente += '>';
        }
        abiertos.pop_back();
        if (abiertos.empty()) pendiente += '\n';
        quizaVaciar();
    }

    void terminar() {
        exigirEnCurso();
        while (!abiertos.empty()) cerrar();
        terminado = true;
        vaciar();
        xmlOutputBufferPtr b = buffer;
        buffer = nullptr;
        if (xmlOutputBufferClose(b) < 0 || salida->error) falloEscritura();
        salida->terminar();
        if (archivo != nullptr) archivo->confirmar();
    }
};

EscritorXml::EscritorXml(const ContornoXml& contorno) {
    const bool codificacionDeclarada = contorno.declaracion && !contorno.codificacion.isEmpty();
    auto salida = std::make_unique<SalidaMemoria>(
        contorno.declaracion,
        codificacionDeclarada ? QString::fromUtf8(contorno.codificacion) : QStringLiteral("UTF-8"));
    d = std::make_unique<Impl>(contorno, std::move(salida));
}

EscritorXml::EscritorXml(const ContornoXml& contorno, const QString& ruta) {
    const bool codificacionDeclarada = contorno.declaracion && !contorno.codificacion.isEmpty();
    auto salida = std::make_unique<SalidaArchivo>(
        contorno.declaracion,
        codificacionDeclarada ? QString::fromUtf8(contorno.codificacion) : QStringLiteral("UTF-8"),
        ruta);
    SalidaArchivo* archivo = salida.get();
    d = std::make_unique<Impl>(contorno, std::move(salida));
    d->archivo = archivo;
}

EscritorXml::~EscritorXml() = default;

void EscritorXml::abrir(QStringView nombre) { d->abrir(nombre); }
void EscritorXml::atributo(QStringView nombre, QStringView valor) { d->atributo(nombre, valor); }
void EscritorXml::texto(QStringView texto) { d->texto(texto); }
void EscritorXml::cerrar() { d->cerrar(); }
void EscritorXml::terminar() { d->terminar(); }

const QByteArray& EscritorXml::bytes() const {
    static const QByteArray kNada;
    auto* memoria = dynamic_cast<const SalidaMemoria*>(d->salida.get());
    return memoria != nullptr ? memoria->bytes : kNada;
}

}  // namespace varnolo
