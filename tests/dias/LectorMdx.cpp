#include "tests/dias/LectorMdx.h"

#include <QStringList>
#include <cmath>
#include <functional>

namespace varnolo::prueba {

namespace {

quint32 u32(const QByteArray& b, qint64 pos) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<quint8>(b[pos + i]);
    return v;
}

int u16(const QByteArray& b, qint64 pos) {
    return static_cast<quint8>(b[pos]) | (static_cast<quint8>(b[pos + 1]) << 8);
}

QString cadena(const QByteArray& b, qint64 pos, int largo) {
    QByteArray t = b.mid(pos, largo);
    const qsizetype fin = t.indexOf('\0');
    if (fin >= 0) t.truncate(fin);
    return QString::fromLatin1(t);
}

}  // namespace

double decodificarClave(const QByteArray& clave) {
    const int digitos = (static_cast<quint8>(clave[1]) & 0x7F) >> 2;
    if (digitos == 0) return 0.0;
    double mantisa = 0;  // 0.d1 d2 ... dn
    double peso = 0.1;
    for (int i = 0; i < digitos; ++i) {
        const quint8 byte = static_cast<quint8>(clave[2 + i / 2]);
        const int d = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
        mantisa += d * peso;
        peso /= 10;
    }
    const int exponente = static_cast<int>(static_cast<quint8>(clave[0])) - 0x34;
    const double valor = std::round(mantisa * std::pow(10.0, exponente) * 1e6) / 1e6;
    return (static_cast<quint8>(clave[1]) & 0x80) ? -valor : valor;
}

MdxLeido leerMdx(const QByteArray& a, QStringList& errores) {
    MdxLeido m;
    if (a.size() < 2048) {
        errores << QStringLiteral("archivo demasiado corto: %1 bytes").arg(a.size());
        return m;
    }
    m.version = static_cast<quint8>(a[0]);
    m.anioCreacion = 1900 + static_cast<quint8>(a[1]);
    m.mesCreacion = static_cast<quint8>(a[2]);
    m.diaCreacion = static_cast<quint8>(a[3]);
    m.tabla = cadena(a, 4, 16);
    m.paginasPorBloque = u16(a, 20);
    m.tamanoBloque = u16(a, 22);
    m.produccion = static_cast<quint8>(a[24]);
    m.entradasTags = static_cast<quint8>(a[25]);
    m.largoEntradaTag = static_cast<quint8>(a[26]);
    m.tagsEnUso = u16(a, 28);
    m.paginas = u32(a, 32);
    if (qint64(m.paginas) * 512 != a.size()) {
        errores << QStringLiteral("la cabecera dice %1 páginas y el archivo tiene %2 bytes")
                       .arg(m.paginas)
                       .arg(a.size());
    }

    for (int t = 0; t < m.tagsEnUso; ++t) {
        const qint64 e = 544 + qint64(t) * m.largoEntradaTag;
        TagLeido tag;
        tag.paginaCabecera = u32(a, e);
        tag.nombre = cadena(a, e + 4, 11);
        const qint64 th = qint64(tag.paginaCabecera) * 512;
        if (th + m.tamanoBloque > a.size()) {
            errores << QStringLiteral("cabecera del tag %1 fuera del archivo").arg(tag.nombre);
            continue;
        }
        tag.raiz = u32(a, th);
        tag.banderas = static_cast<quint8>(a[th + 8]);
        tag.tipoClave = a[th + 9];
        tag.largoClave = u16(a, th + 12);
        tag.maxClaves = u16(a, th + 14);
        tag.largoElemento = u16(a, th + 18);
        tag.expresion = cadena(a, th + 24, 220);
        tag.tieneClaves = a[th + 246] != 0;
        tag.primeraHoja = u32(a, th + 248);
        tag.ultimaHoja = u32(a, th + 252);

        // Walks a subtree; returns the highest key found in it.
        std::function<double(quint32, int)> visitar = [&](quint32 pagina, int nivel) -> double {
            const qint64 pos = qint64(pagina) * 512;
            if (pagina == 0 || pos + m.tamanoBloque > a.size() || nivel > 20) {
                errores << QStringLiteral("nodo en la página %1 fuera del archivo").arg(pagina);
                return 0;
            }
            const quint32 n = u32(a, pos);
            if (n > quint32(tag.maxClaves)) {
                errores << QStringLiteral("nodo %1 con %2 claves").arg(pagina).arg(n);
                return 0;
            }
            const quint32 ultimo = u32(a, pos + 8 + qint64(n) * tag.largoElemento);
            double mayor = 0;
            if (ultimo == 0) {  // leaf
                if (tag.profundidad == 0) tag.profundidad = nivel;
                if (tag.profundidad != nivel) {
                    errores << QStringLiteral("hoja %1 a otra profundidad").arg(pagina);
                }
                tag.hojas.push_back(pagina);
                for (quint32 i = 0; i < n; ++i) {
                    const qint64 it = pos + 8 + qint64(i) * tag.largoElemento;
                    EntradaMdx en;
                    en.registro = u32(a, it);
                    en.clave = decodificarClave(a.mid(it + 4, tag.largoClave));
                    tag.claves.push_back(en);
                    mayor = en.clave;
                }
                return mayor;
            }
            for (quint32 i = 0; i < n; ++i) {
                const qint64 it = pos + 8 + qint64(i) * tag.largoElemento;
                const double clave = decodificarClave(a.mid(it + 4, tag.largoClave));
                const double real = visitar(u32(a, it), nivel + 1);
                if (real != clave) {
                    errores << QStringLiteral("nodo %1: clave %2 y el hijo llega a %3")
                                   .arg(pagina)
                                   .arg(clave)
                                   .arg(real);
                }
            }
            return visitar(ultimo, nivel + 1);
        };
        visitar(tag.raiz, 1);
        m.tags << tag;
    }
    return m;
}

}  // namespace varnolo::prueba
