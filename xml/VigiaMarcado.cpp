#include "xml/VigiaMarcado.h"

#include <QByteArray>
#include <array>
#include <cstring>

namespace varnolo {

namespace {

bool empiezaNombre(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

/// The bytes that change something inside a start tag.
constexpr auto kEnEtiqueta = [] {
    std::array<bool, 256> t{};
    t['='] = t['"'] = t['\''] = t['>'] = true;
    return t;
}();

}  // namespace

bool VigiaMarcado::leer(const char* p, qint64 n) {
    if (excedido_) return false;
    const char* const fin = p + n;
    const qint64 base = desplazamiento_;
    const char* const inicio = p;
    while (p < fin) {
        // Most bytes are text between tags or values inside them: skipped whole.
        if (estado_ == Estado::Texto) {
            const auto* menor =
                static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(fin - p)));
            if (menor == nullptr) break;
            p = menor + 1;
            estado_ = Estado::Menor;
            desplazamientoEtiqueta_ = base + (menor - inicio);
            continue;
        }
        if (estado_ == Estado::Cierre) {
            const auto* mayor =
                static_cast<const char*>(std::memchr(p, '>', static_cast<size_t>(fin - p)));
            if (mayor == nullptr) break;
            p = mayor + 1;
            estado_ = Estado::Texto;
            continue;
        }
        if (estado_ == Estado::Etiqueta) {
            // Names and blanks up to the next byte that matters.
            while (p < fin && !kEnEtiqueta[static_cast<unsigned char>(*p)]) ++p;
            if (p == fin) break;
        }
        if (estado_ == Estado::Valor) {
            const auto* cierre =
                static_cast<const char*>(std::memchr(p, comilla_, static_cast<size_t>(fin - p)));
            if (cierre == nullptr) break;
            p = cierre + 1;
            estado_ = Estado::Etiqueta;
            continue;
        }
        const auto c = static_cast<unsigned char>(*p++);
        // UTF-16 puts a zero beside every ASCII character; the markup reads the same
        // without them.
        if (c == 0) continue;
        switch (estado_) {
            case Estado::Texto:
            case Estado::Valor:
                break;
            case Estado::Menor:
                if (c == '!') {
                    estado_ = Estado::Exclamacion;
                } else if (c == '?') {
                    estado_ = Estado::Instruccion;
                    seguidos_ = 0;
                } else if (c == '/') {
                    estado_ = Estado::Cierre;
                } else if (empiezaNombre(c)) {
                    estado_ = Estado::Etiqueta;
                    atributos_ = 0;
                } else {
                    estado_ = Estado::Texto;
                }
                break;
            case Estado::Exclamacion:
                seguidos_ = 0;
                if (c == '-') {
                    estado_ = Estado::Comentario;
                    seguidos_ = -1;  // the second '-' of "<!--" does not count towards "-->"
                } else if (c == '[') {
                    estado_ = Estado::CData;
                } else {
                    estado_ = Estado::Declaracion;
                    comilla_ = 0;
                    corchetes_ = 0;
                    haciaComentario_ = 0;
                }
                break;
            case Estado::Etiqueta:
                if (c == '"' || c == '\'') {
                    comilla_ = static_cast<char>(c);
                    estado_ = Estado::Valor;
                } else if (c == '=') {
                    if (++atributos_ > kMaxAtributos) {
                        excedido_ = true;
                        return false;
                    }
                } else if (c == '>') {
                    estado_ = Estado::Texto;
                }
                break;
            case Estado::Comentario:
                if (terminaCon(c, '-')) estado_ = Estado::Texto;
                break;
            case Estado::CData:
                if (terminaCon(c, ']')) estado_ = Estado::Texto;
                break;
            case Estado::Instruccion:
                if (c == '>' && seguidos_ > 0) estado_ = Estado::Texto;
                seguidos_ = c == '?' ? 1 : 0;
                break;
            case Estado::Declaracion:
                // A comment in the document type may hold a lone quote.
                if (comilla_ == 0) {
                    static const char kComentario[] = "<!--";
                    if (c == static_cast<unsigned char>(kComentario[haciaComentario_])) {
                        if (++haciaComentario_ == 4) {
                            haciaComentario_ = 0;
                            seguidos_ = 0;
                            estado_ = Estado::ComentarioEnDeclaracion;
                            break;
                        }
                    } else {
                        haciaComentario_ = c == '<' ? 1 : 0;
                    }
                }
                if (comilla_ != 0) {
                    if (c == static_cast<unsigned char>(comilla_)) comilla_ = 0;
                } else if (c == '"' || c == '\'') {
                    comilla_ = static_cast<char>(c);
                } else if (c == '[') {
                    ++corchetes_;
                } else if (c == ']') {
                    if (corchetes_ > 0) --corchetes_;
                } else if (c == '>' && corchetes_ == 0) {
                    estado_ = Estado::Texto;
                }
                break;
            case Estado::ComentarioEnDeclaracion:
                if (terminaCon(c, '-')) estado_ = Estado::Declaracion;
                break;
            case Estado::Cierre:
                if (c == '>') estado_ = Estado::Texto;
                break;
        }
    }
    desplazamiento_ = base + n;
    return true;
}

bool VigiaMarcado::terminaCon(unsigned char c, char marca) {
    if (c == static_cast<unsigned char>(marca)) {
        ++seguidos_;
        return false;
    }
    const bool fin = c == '>' && seguidos_ >= 2;
    seguidos_ = 0;
    return fin;
}

void VigiaMarcado::lugar(const QByteArray& antes, qint64& linea, qint64& columna) {
    linea = antes.count('\n') + 1;
    const qsizetype salto = antes.lastIndexOf('\n');
    columna = antes.size() - (salto + 1) + 1;
}

}  // namespace varnolo
