#include "VigiaMarcado.h"

#include <cstring>

namespace varnolo {

namespace {

bool empiezaNombre(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

}  // namespace

bool VigiaMarcado::leer(const char* p, qint64 n) {
    if (excedido_) return false;
    const char* const fin = p + n;
    const qint64 base = desplazamiento_;
    const char* const inicio = p;
    while (p < fin) {
        // Most bytes are text between tags: skipped to the next '<', counting lines.
        if (estado_ == Estado::Texto) {
            const auto* menor =
                static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(fin - p)));
            const char* hasta = menor != nullptr ? menor : fin;
            for (const char* q = p; q < hasta; ++q) {
                if (*q == '\n') {
                    ++linea_;
                    inicioLinea_ = base + (q - inicio) + 1;
                }
            }
            if (menor == nullptr) break;
            p = menor + 1;
            estado_ = Estado::Menor;
            lineaEtiqueta_ = linea_;
            columnaEtiqueta_ = base + (menor - inicio) - inicioLinea_ + 1;
            continue;
        }
        const auto c = static_cast<unsigned char>(*p++);
        if (c == '\n') {
            ++linea_;
            inicioLinea_ = base + (p - inicio);
        }
        // UTF-16 puts a zero beside every ASCII character; the markup reads the same
        // without them.
        if (c == 0) continue;
        switch (estado_) {
            case Estado::Texto:
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
            case Estado::Valor:
                if (c == static_cast<unsigned char>(comilla_)) estado_ = Estado::Etiqueta;
                break;
            case Estado::Comentario:
                if (c == '-') {
                    ++seguidos_;
                } else {
                    if (c == '>' && seguidos_ >= 2) estado_ = Estado::Texto;
                    seguidos_ = 0;
                }
                break;
            case Estado::CData:
                if (c == ']') {
                    ++seguidos_;
                } else {
                    if (c == '>' && seguidos_ >= 2) estado_ = Estado::Texto;
                    seguidos_ = 0;
                }
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
                if (c == '-') {
                    ++seguidos_;
                } else {
                    if (c == '>' && seguidos_ >= 2) estado_ = Estado::Declaracion;
                    seguidos_ = 0;
                }
                break;
            case Estado::Cierre:
                if (c == '>') estado_ = Estado::Texto;
                break;
        }
    }
    desplazamiento_ = base + n;
    return true;
}

}  // namespace varnolo
