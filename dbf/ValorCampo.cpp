#include "dbf/ValorCampo.h"

#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/Errores.h"

namespace varnolo::motor {

namespace {

bool esBinario(const CampoFisico& c, const FormatoValores& f) {
    if (c.tipo == 'I') return f.foxpro || f.nivel7;
    if (c.tipo == '+' || c.tipo == 'O') return f.nivel7;
    return false;
}

bool todoCeros(const char* bytes, int ancho) {
    for (int i = 0; i < ancho; ++i) {
        if (bytes[i] != '\0') return false;
    }
    return true;
}

bool todoBlancos(const char* bytes, int ancho) {
    for (int i = 0; i < ancho; ++i) {
        if (bytes[i] != ' ' && bytes[i] != '\0') return false;
    }
    return true;
}

/// A number field that holds no value: blanks, or asterisks as other dBase writers
/// store a null (and an overflow) in a numeric field.
bool numeroNulo(const char* bytes, int ancho) {
    for (int i = 0; i < ancho; ++i) {
        if (bytes[i] != ' ' && bytes[i] != '\0' && bytes[i] != '*') return false;
    }
    return true;
}

qint64 enteroBinario(const char* bytes, const FormatoValores& f) {
    if (f.foxpro) return qFromLittleEndian<qint32>(bytes);
    const quint32 guardado = qFromBigEndian<quint32>(bytes);
    return static_cast<qint64>(guardado) - (qint64(1) << 31);
}

void ponerEnteroBinario(char* bytes, qint64 valor, const FormatoValores& f) {
    if (f.foxpro) {
        qToLittleEndian<qint32>(static_cast<qint32>(valor), bytes);
    } else {
        qToBigEndian<quint32>(static_cast<quint32>(valor + (qint64(1) << 31)), bytes);
    }
}

double dobleBinario(const char* bytes) {
    quint64 bits = qFromBigEndian<quint64>(bytes);
    if (bits & (quint64(1) << 63)) {
        bits &= ~(quint64(1) << 63);
    } else {
        bits = ~bits;
    }
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void ponerDobleBinario(char* bytes, double valor) {
    quint64 bits;
    std::memcpy(&bits, &valor, sizeof bits);
    if (bits & (quint64(1) << 63)) {
        bits = ~bits;
    } else {
        bits |= (quint64(1) << 63);
    }
    qToBigEndian<quint64>(bits, bytes);
}

[[noreturn]] void noCabe(const QString& tabla, const CampoFisico& c, const QString& valor) {
    throw ErrorTabla(QStringLiteral("El valor '%1' no cabe en el campo %2 de la tabla %3")
                         .arg(valor, c.nombre, tabla));
}

void ponerAlineadoDerecha(char* bytes, const CampoFisico& c, const QString& texto,
                          const QString& tabla) {
    const QByteArray b = texto.toLatin1();
    if (b.size() > c.ancho) noCabe(tabla, c, texto);
    std::memset(bytes, ' ', c.ancho);
    std::memcpy(bytes + c.ancho - b.size(), b.constData(), b.size());
}

void ponerTextoIzquierda(char* bytes, const CampoFisico& c, const QByteArray& b) {
    const int n = qMin<int>(b.size(), c.ancho);
    std::memcpy(bytes, b.constData(), n);
    std::memset(bytes + n, ' ', c.ancho - n);
}

// A text in Windows-1252 straight into the field, cut to its width, padded with blanks.
void ponerTextoIzquierda(char* bytes, const CampoFisico& c, QStringView texto) {
    const int n = codificarWindows1252(texto, bytes, c.ancho);
    std::memset(bytes + n, ' ', c.ancho - n);
}

// A whole number with `decimales` zero decimals as QString::number(v, 'f', decimales)
// writes it, without building a string: false when the value is not a whole number
// that this shortcut covers (fractions, huge values, negative zero).
bool ponerEnteroAlineado(char* bytes, const CampoFisico& c, double valor) {
    if (valor != std::floor(valor) || std::fabs(valor) >= 9007199254740992.0 ||
        (valor == 0 && std::signbit(valor))) {
        return false;
    }
    char texto[40];
    auto [fin, error] = std::to_chars(texto, texto + 20, static_cast<long long>(valor));
    if (error != std::errc()) return false;
    if (c.decimales > 0) {
        if (c.decimales > 18) return false;
        *fin++ = '.';
        fin = std::fill_n(fin, c.decimales, '0');
    }
    const int largo = static_cast<int>(fin - texto);
    if (largo > c.ancho) return false;  // the slow path reports it
    std::memset(bytes, ' ', c.ancho - largo);
    std::memcpy(bytes + c.ancho - largo, texto, largo);
    return true;
}

bool rangoEntero(double v, bool nivel7) {
    const double minimo = nivel7 ? -2147483647.0 : -2147483648.0;
    return v >= minimo && v <= 2147483647.0 && v == std::floor(v);
}

}  // namespace

bool esNumerico(const CampoFisico& c) {
    return c.tipo == 'N' || c.tipo == 'F' || c.tipo == 'I' || c.tipo == '+' || c.tipo == 'O';
}

QString textoCampo(const char* bytes, const CampoFisico& c, const FormatoValores& f) {
    switch (c.tipo) {
        case 'C': {
            int n = c.ancho;
            while (n > 0 && (bytes[n - 1] == ' ' || bytes[n - 1] == '\0')) --n;
            return decodificar(bytes, n, f.pagina);
        }
        case 'N':
        case 'F':
            if (numeroNulo(bytes, c.ancho)) return QString();
            return QString::fromLatin1(bytes, c.ancho).trimmed().remove(QChar(u'\0'));
        case 'D':
            return QString::fromLatin1(bytes, c.ancho).trimmed().remove(QChar(u'\0'));
        case 'L':
            switch (bytes[0]) {
                case 'T':
                case 't':
                case 'Y':
                case 'y':
                    return QStringLiteral("T");
                case 'F':
                case 'f':
                case 'N':
                case 'n':
                    return QStringLiteral("F");
                default:
                    return QString();
            }
        default:
            break;
    }
    if (esBinario(c, f)) {
        const auto v = numeroCampo(bytes, c, f);
        if (!v) return QString();
        return c.tipo == 'O' ? QString::number(*v, 'g', 17)
                             : QString::number(static_cast<qint64>(*v));
    }
    return QString();
}

bool campoEnBlanco(const char* bytes, const CampoFisico& c, const FormatoValores& f) {
    if (esBinario(c, f)) return !f.foxpro && todoCeros(bytes, c.ancho);
    if (c.tipo == 'L') return textoCampo(bytes, c, f).isEmpty();
    if (c.tipo == 'N' || c.tipo == 'F') return numeroNulo(bytes, c.ancho);
    return todoBlancos(bytes, c.ancho);
}

std::optional<double> numeroCampo(const char* bytes, const CampoFisico& c,
                                  const FormatoValores& f) {
    if (esBinario(c, f)) {
        if (campoEnBlanco(bytes, c, f)) return std::nullopt;
        if (c.tipo == 'O') {
            const double v = dobleBinario(bytes);
            if (!std::isfinite(v)) return std::nullopt;
            return v;
        }
        return static_cast<double>(enteroBinario(bytes, f));
    }
    if (c.tipo != 'N' && c.tipo != 'F') return std::nullopt;
    const QString texto = textoCampo(bytes, c, f);
    if (texto.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = texto.toDouble(&ok);
    // "nan" and "inf" are read as numbers by the parser but are no value at all.
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

void ponerEnBlanco(char* bytes, const CampoFisico& c) {
    const bool texto = QByteArrayLiteral("CNFLD").contains(c.tipo) ||
                       (QByteArrayLiteral("MGB").contains(c.tipo) && c.ancho == 10);
    std::memset(bytes, texto ? ' ' : '\0', c.ancho);
}

void guardarTexto(char* bytes, const CampoFisico& c, const FormatoValores& f, const QString& valor,
                  const QString& tabla) {
    switch (c.tipo) {
        case 'C':
            ponerTextoIzquierda(bytes, c, QStringView(valor));
            return;
        case 'L': {
            const QString v = valor.trimmed().toUpper();
            if (v.isEmpty()) {
                bytes[0] = ' ';
            } else if (v == u"T" || v == u"Y" || v == u"TRUE") {
                bytes[0] = 'T';
            } else if (v == u"F" || v == u"N" || v == u"FALSE") {
                bytes[0] = 'F';
            } else {
                noCabe(tabla, c, valor);
            }
            return;
        }
        case 'D': {
            const QString v = valor.trimmed();
            if (v.isEmpty()) {
                ponerEnBlanco(bytes, c);
                return;
            }
            if (c.ancho != 8 || v.size() != 8 || !QDate::fromString(v, u"yyyyMMdd").isValid()) {
                noCabe(tabla, c, valor);
            }
            ponerTextoIzquierda(bytes, c, v.toLatin1());
            return;
        }
        default:
            break;
    }
    if (esNumerico(c)) {
        const QString v = valor.trimmed();
        if (v.isEmpty()) {
            ponerEnBlanco(bytes, c);
            return;
        }
        bool ok = false;
        const double numero = v.toDouble(&ok);
        if (!ok) noCabe(tabla, c, valor);
        guardarNumero(bytes, c, f, numero, tabla);
        return;
    }
    throw ErrorTabla(
        QStringLiteral("El campo %1 de la tabla %2 no se puede escribir").arg(c.nombre, tabla));
}

void guardarNumero(char* bytes, const CampoFisico& c, const FormatoValores& f, double valor,
                   const QString& tabla) {
    if (!std::isfinite(valor)) noCabe(tabla, c, QString::number(valor));
    switch (c.tipo) {
        case 'N':
        case 'F':
            if (ponerEnteroAlineado(bytes, c, valor)) return;
            ponerAlineadoDerecha(bytes, c, QString::number(valor, 'f', c.decimales), tabla);
            return;
        case 'C':
            ponerTextoIzquierda(bytes, c, QString::number(valor, 'g', 15).toLatin1());
            return;
        case 'L':
            bytes[0] = valor != 0 ? 'T' : 'F';
            return;
        default:
            break;
    }
    if (esBinario(c, f)) {
        if (c.tipo == 'O') {
            ponerDobleBinario(bytes, valor);
        } else {
            if (!rangoEntero(valor, f.nivel7)) noCabe(tabla, c, QString::number(valor, 'g', 17));
            ponerEnteroBinario(bytes, static_cast<qint64>(valor), f);
        }
        return;
    }
    throw ErrorTabla(
        QStringLiteral("El campo %1 de la tabla %2 no admite números").arg(c.nombre, tabla));
}

void guardarLogico(char* bytes, const CampoFisico& c, const FormatoValores& f, bool valor,
                   const QString& tabla) {
    if (c.tipo == 'L') {
        bytes[0] = valor ? 'T' : 'F';
    } else if (c.tipo == 'C') {
        ponerTextoIzquierda(bytes, c, valor ? QStringView(u"T") : QStringView(u"F"));
    } else {
        guardarNumero(bytes, c, f, valor ? 1 : 0, tabla);
    }
}

}  // namespace varnolo::motor
