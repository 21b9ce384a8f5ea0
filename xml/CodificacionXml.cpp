#include "xml/CodificacionXml.h"

#include <libxml/encoding.h>
#include <libxml/parser.h>

#include <QString>
#include <mutex>

#include "base/PaginaCodigos.h"

namespace varnolo {

namespace {

// libxml2's conversion callbacks: they convert what fits in `out`, set `*inlen` to
// the bytes consumed and `*outlen` to the bytes produced, and return the bytes
// produced, or -2 when the input holds something they cannot convert (`*inlen` then
// stops just before it).

int deWindows1252(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    if (out == nullptr || outlen == nullptr || inlen == nullptr) return -1;
    if (in == nullptr) {
        *outlen = 0;
        *inlen = 0;
        return 0;
    }
    int leidos = 0;
    int escritos = 0;
    while (leidos < *inlen) {
        const char byte = static_cast<char>(in[leidos]);
        const char16_t c =
            in[leidos] < 0x80
                ? char16_t(in[leidos])
                : motor::decodificar(&byte, 1, motor::PaginaCodigos::Windows1252)[0].unicode();
        const int largo = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (escritos + largo > *outlen) break;
        if (largo == 1) {
            out[escritos] = static_cast<unsigned char>(c);
        } else if (largo == 2) {
            out[escritos] = static_cast<unsigned char>(0xC0 | (c >> 6));
            out[escritos + 1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            out[escritos] = static_cast<unsigned char>(0xE0 | (c >> 12));
            out[escritos + 1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            out[escritos + 2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        escritos += largo;
        ++leidos;
    }
    *outlen = escritos;
    *inlen = leidos;
    return escritos;
}

int aWindows1252(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    if (out == nullptr || outlen == nullptr || inlen == nullptr) return -1;
    if (in == nullptr) {
        *outlen = 0;
        *inlen = 0;
        return 0;
    }
    int leidos = 0;
    int escritos = 0;
    auto fallo = [&] {
        *outlen = escritos;
        *inlen = leidos;
        return -2;
    };
    while (leidos < *inlen) {
        const unsigned char primero = in[leidos];
        int siguen;
        char32_t c;
        if (primero < 0x80) {
            c = primero;
            siguen = 0;
        } else if (primero >= 0xC2 && primero < 0xE0) {
            c = primero & 0x1F;
            siguen = 1;
        } else if (primero >= 0xE0 && primero < 0xF0) {
            c = primero & 0x0F;
            siguen = 2;
        } else if (primero >= 0xF0 && primero < 0xF5) {
            c = primero & 0x07;
            siguen = 3;
        } else {
            return fallo();
        }
        if (leidos + 1 + siguen > *inlen) break;  // the rest comes with the next block
        for (int k = 1; k <= siguen; ++k) {
            const unsigned char b = in[leidos + k];
            if ((b & 0xC0) != 0x80) return fallo();
            c = (c << 6) | (b & 0x3F);
        }
        if (escritos >= *outlen) break;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out[escritos++] = static_cast<unsigned char>(c);
        } else {
            const QByteArray byte = motor::codificarWindows1252(QString::fromUcs4(&c, 1));
            // '?' stands for a character that the code page lacks.
            if (byte.size() != 1 || byte[0] == '?') return fallo();
            out[escritos++] = static_cast<unsigned char>(byte[0]);
        }
        leidos += 1 + siguen;
    }
    *outlen = escritos;
    *inlen = leidos;
    return escritos;
}

}  // namespace

void registrarCodificacionesXml() {
    static std::once_flag registrada;
    std::call_once(registrada, [] {
        xmlInitParser();
        // Registered handlers are found before the system's converters, so this
        // one wins over iconv where libxml2 has it.
        xmlNewCharEncodingHandler("WINDOWS-1252", deWindows1252, aWindows1252);
        xmlAddEncodingAlias("WINDOWS-1252", "CP1252");
    });
}

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

}  // namespace varnolo
