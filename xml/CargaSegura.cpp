#include "xml/CargaSegura.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <climits>

#include "base/ErroresSistema.h"

namespace varnolo::carga {

namespace {

thread_local Diagnostico* enCurso = nullptr;

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

void anotarError(void*, xmlErrorPtr e) {
    Diagnostico* d = enCurso;
    if (d == nullptr || e == nullptr || d->linea > 0 || e->level < XML_ERR_ERROR) return;
    d->linea = e->line;
    d->columna = e->int2;
    d->razon = razonDeError(*e);
}

void rechazarEntidad(void*, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    Diagnostico* d = enCurso;
    if (d == nullptr) return;
    d->entidad = true;
    if (d->contexto != nullptr) xmlStopParser(d->contexto);
}
void rechazarEntidadNoAnalizada(void*, const xmlChar*, const xmlChar*, const xmlChar*,
                                const xmlChar*) {
    rechazarEntidad(nullptr, nullptr, 0, nullptr, nullptr, nullptr);
}

void ignorarSubconjuntoExterno(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}
void silenciar(void*, xmlErrorPtr) {}
void silenciarGenerico(void*, const char*, ...) {}

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

ResultadoCarga fallida(ResultadoCarga::Motivo motivo, QString detalle) {
    ResultadoCarga r;
    r.motivo = motivo;
    r.detalle = std::move(detalle);
    return r;
}

ResultadoCarga Diagnostico::resultado() const {
    if (entidad) return fallida(ResultadoCarga::Motivo::Entidades);
    ResultadoCarga r = fallida(ResultadoCarga::Motivo::MalFormado);
    r.linea = linea;
    r.columna = columna;
    r.razon = razon;
    return r;
}

/// libxml2 prints its own errors ("I/O error : write error") on standard error unless
/// told otherwise; every failure reaches the user through our own errors instead. The
/// handlers are kept per thread, so each thread that makes a document sets them.
void callarLibxml2() {
    xmlSetGenericErrorFunc(nullptr, silenciarGenerico);
    xmlSetStructuredErrorFunc(nullptr, silenciar);
}

DiagnosticoEnCurso::DiagnosticoEnCurso(Diagnostico& d) : anterior_(enCurso) { enCurso = &d; }
DiagnosticoEnCurso::~DiagnosticoEnCurso() { enCurso = anterior_; }

void vigilar(xmlSAXHandler& h) {
    h.serror = anotarError;
    h.entityDecl = rechazarEntidad;
    h.unparsedEntityDecl = rechazarEntidadNoAnalizada;
    h.externalSubset = ignorarSubconjuntoExterno;
}

int LectorArchivo::leer(void* contexto, char* destino, int longitud) {
    auto* l = static_cast<LectorArchivo*>(contexto);
    const qint64 n = l->archivo->read(destino, longitud);
    if (n < 0) {
        l->fallo = true;
        return -1;
    }
    l->leidos += n;
    if (l->leidos > kTamanoMaximo) return -1;
    if (!l->vigia.leer(destino, n)) return -1;
    if (l->avance != nullptr && *l->avance && !(*l->avance)(l->leidos, l->total)) {
        l->detenido = true;
        return -1;
    }
    return static_cast<int>(n);
}

namespace {

/// The refusal that the first bytes already show, or nothing.
ResultadoCarga revisarCabeza(const QByteArray& cabeza) {
    using Motivo = ResultadoCarga::Motivo;
    if (cabeza.isEmpty()) return fallida(Motivo::Vacio);
    if (QByteArray declarada = codificacionContradictoria(cabeza); !declarada.isEmpty()) {
        ResultadoCarga r = fallida(
            Motivo::CodificacionContradictoria,
            anchoDeCaracter(cabeza) == 2 ? QStringLiteral("UTF-16") : QStringLiteral("UCS-4"));
        r.codificacionDeclarada = QString::fromLatin1(declarada);
        return r;
    }
    return {};
}

}  // namespace

ResultadoCarga cargarArchivo(
    const QString& ruta,
    const std::function<ResultadoCarga(LectorArchivo& lector, const QByteArray& cabeza)>& analizar,
    const AvanceLectura& avance) {
    using Motivo = ResultadoCarga::Motivo;
    const QFileInfo info(ruta);
    if (!info.exists()) return fallida(Motivo::NoExiste);
    if (info.isDir()) return fallida(Motivo::EsCarpeta);
    if (info.size() > kTamanoMaximo) return fallida(Motivo::DemasiadoGrande);
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return fallida(Motivo::Ilegible, textoFalloArchivo(f));
    // The file is parsed as it is read: a large document never stands whole in memory
    // beside what is made of it.
    const QByteArray cabeza = f.read(kCabeza);
    if (f.error() != QFileDevice::NoError || !f.seek(0)) {
        return fallida(Motivo::Ilegible, textoFalloArchivo(f));
    }
    if (ResultadoCarga r = revisarCabeza(cabeza); !r) return r;
    LectorArchivo lector{&f, 0, false, {}, &avance, info.size(), false};
    if (avance && !avance(0, lector.total)) return fallida(Motivo::Detenida);
    ResultadoCarga r = analizar(lector, cabeza);
    if (lector.detenido) return fallida(Motivo::Detenida);
    if (lector.fallo) return fallida(Motivo::Ilegible, textoFalloArchivo(f));
    if (lector.vigia.excedido()) {
        QByteArray antes;
        if (f.seek(0)) antes = f.read(lector.vigia.desplazamiento());
        return desmesurado(antes);
    }
    if (lector.leidos > kTamanoMaximo) return fallida(Motivo::DemasiadoGrande);
    return r;
}

ResultadoCarga cargarMemoria(
    const QByteArray& contenido,
    const std::function<ResultadoCarga(const QByteArray& cabeza)>& analizar) {
    if (contenido.size() > kTamanoMaximo || contenido.size() > INT_MAX) {
        return fallida(ResultadoCarga::Motivo::DemasiadoGrande);
    }
    if (VigiaMarcado vigia; !vigia.leer(contenido.constData(), contenido.size())) {
        return desmesurado(contenido.left(vigia.desplazamiento()));
    }
    const QByteArray cabeza = contenido.left(kCabeza);
    if (ResultadoCarga r = revisarCabeza(cabeza); !r) return r;
    return analizar(cabeza);
}

}  // namespace varnolo::carga

namespace varnolo {

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
                .arg(kTamanoMaximo / (1024 * 1024));
        case Motivo::Entidades:
            return QStringLiteral("declara entidades, que no se admiten por seguridad");
        case Motivo::CodificacionContradictoria:
            return QStringLiteral(
                       "no es un documento XML válido: está escrito en %1 pero declara la "
                       "codificación %2")
                .arg(detalle, codificacionDeclarada);
        case Motivo::SinRaiz:
            return QStringLiteral("no es un documento XML válido: no tiene elemento raíz");
        case Motivo::Detenida:
            return QStringLiteral("su lectura se ha detenido");
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

}  // namespace varnolo
