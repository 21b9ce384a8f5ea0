#pragma once
// A watch over a document's bytes as they reach the parser: it refuses an element
// with more attributes than any exchange document carries, before libxml2 spends
// time on it (libxml2 checks an element's attributes for repeats in time that grows
// with the square of their number: 40,000 take seconds, a million take hours).

#include <QtGlobal>

class QByteArray;

namespace varnolo {

class VigiaMarcado {
  public:
    /// Attributes (namespace declarations included) that one element may have.
    static constexpr int kMaxAtributos = 256;

    /// Reads the next `n` bytes of the document. False once an element has gone
    /// beyond kMaxAtributos; it stays false.
    bool leer(const char* p, qint64 n);

    bool excedido() const { return excedido_; }
    /// Where the element that went beyond the limit starts: the offset of its '<'
    /// from the first byte read.
    qint64 desplazamiento() const { return desplazamientoEtiqueta_; }

    /// The line and byte column (from 1) of the byte that follows `antes`, the
    /// document's first bytes: a place for the user.
    static void lugar(const QByteArray& antes, qint64& linea, qint64& columna);

  private:
    /// True when `c` is the '>' after two `marca` in a row ("-->", "]]>").
    bool terminaCon(unsigned char c, char marca);

    enum class Estado {
        Texto,                    // character data
        Menor,                    // just after '<'
        Exclamacion,              // after "<!"
        Etiqueta,                 // inside a start tag, outside values
        Valor,                    // inside a quoted value of a start tag
        Comentario,               // "<!--" … "-->"
        CData,                    // "<![" … "]]>"
        Instruccion,              // "<?" … "?>"
        Declaracion,              // "<!DOCTYPE" and the like, to its '>' outside quotes and '[ ]'
        ComentarioEnDeclaracion,  // "<!--" … "-->" inside the document type
        Cierre,                   // "</" … '>'
    };
    Estado estado_ = Estado::Texto;
    char comilla_ = 0;           // the quote that ends the value (Valor, Declaracion)
    int atributos_ = 0;          // '=' seen in the current start tag
    int seguidos_ = 0;           // '-', ']' or '?' just seen, towards the end of a construct
    int corchetes_ = 0;          // '[' open in a declaration
    int haciaComentario_ = 0;    // characters of "<!--" just seen in a declaration
    qint64 desplazamiento_ = 0;  // offset of the next byte to read
    qint64 desplazamientoEtiqueta_ = 0;  // offset of the '<' of the current tag
    bool excedido_ = false;
};

}  // namespace varnolo
