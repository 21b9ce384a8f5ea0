#include "dbf/IndiceMdx.h"
#include "base/Archivos.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "base/Errores.h"
#include "base/ErroresSistema.h"

namespace varnolo {

namespace {

// Sizes of the file: a page is 512 bytes, a block two pages. The file header and
// the tag table fill the first four pages; each tag header takes one block, and
// so does each node.
constexpr int kPagina = 512;
constexpr int kPaginasPorBloque = 2;
constexpr int kBloque = kPagina * kPaginasPorBloque;
constexpr int kPaginasCabecera = 4;
constexpr int kInicioTablaTags = 544;
constexpr int kEntradasTags = 48;
constexpr int kLargoEntradaTag = 32;
constexpr int kLargoClave = 12;
constexpr int kLargoElemento = 16;  // 4-byte pointer + 12-byte key, a multiple of 4
constexpr int kMaxClavesNodo = (kBloque - 12) / kLargoElemento;  // 63

void poner16(QByteArray& b, int pos, quint16 v) { qToLittleEndian(v, b.data() + pos); }
void poner32(QByteArray& b, int pos, quint32 v) { qToLittleEndian(v, b.data() + pos); }

void ponerFecha(QByteArray& b, int pos, QDate fecha) {
    if (!fecha.isValid()) return;
    b[pos] = static_cast<char>(std::clamp(fecha.year() - 1900, 0, 255));
    b[pos + 1] = static_cast<char>(fecha.month());
    b[pos + 2] = static_cast<char>(fecha.day());
}

void ponerTexto(QByteArray& b, int pos, const QString& texto, int largo) {
    const QByteArray t = texto.toLatin1().left(largo);
    std::copy(t.begin(), t.end(), b.begin() + pos);
}

using Clave = std::pair<double, quint32>;

/// A node already placed in the file: its page and the highest key below it.
struct NodoColocado {
    quint32 pagina;
    double mayor;
};

/// Splits `total` items into `grupos` runs as even as possible; returns the
/// length of each run.
std::vector<int> repartir(int total, int grupos) {
    std::vector<int> largos(grupos, total / grupos);
    for (int i = 0; i < total % grupos; ++i) ++largos[i];
    return largos;
}

/// Builds the nodes of one tag in `nodos` (one block each, in file order from
/// `primeraPagina`) and returns the root's page. Leaves come first, in key order,
/// then each interior level, the root last.
quint32 construirArbol(const std::vector<Clave>& claves, quint32 primeraPagina,
                       std::vector<QByteArray>& nodos) {
    auto nuevoNodo = [&]() -> QByteArray& {
        nodos.emplace_back(kBloque, '\0');
        return nodos.back();
    };
    const std::size_t base = nodos.size();
    auto paginaDe = [&](std::size_t indice) {
        return primeraPagina + static_cast<quint32>(indice - base) * kPaginasPorBloque;
    };

    if (claves.empty()) {
        nuevoNodo();  // an empty leaf as the root
        return paginaDe(nodos.size() - 1);
    }

    // Leaves: items [record number][key]; the word after the last item stays 0.
    std::vector<NodoColocado> nivel;
    const int total = static_cast<int>(claves.size());
    const int hojas = (total + kMaxClavesNodo - 1) / kMaxClavesNodo;
    int desde = 0;
    for (int largo : repartir(total, hojas)) {
        QByteArray& hoja = nuevoNodo();
        poner32(hoja, 0, static_cast<quint32>(largo));
        for (int i = 0; i < largo; ++i) {
            const int pos = 8 + i * kLargoElemento;
            poner32(hoja, pos, claves[desde + i].second);
            const QByteArray clave = claveNumericaMdx(claves[desde + i].first);
            std::copy(clave.begin(), clave.end(), hoja.begin() + pos + 4);
        }
        nivel.push_back({paginaDe(nodos.size() - 1), claves[desde + largo - 1].first});
        desde += largo;
    }

    // Interior levels: each child but the last gets an item [page][its highest
    // key]; the word after the last item points to the last child.
    const int maxHijos = kMaxClavesNodo + 1;
    while (nivel.size() > 1) {
        std::vector<NodoColocado> superior;
        const int hijos = static_cast<int>(nivel.size());
        const int grupos = (hijos + maxHijos - 1) / maxHijos;
        int primero = 0;
        for (int largo : repartir(hijos, grupos)) {
            QByteArray& nodo = nuevoNodo();
            const int items = largo - 1;
            poner32(nodo, 0, static_cast<quint32>(items));
            for (int i = 0; i < items; ++i) {
                const int pos = 8 + i * kLargoElemento;
                poner32(nodo, pos, nivel[primero + i].pagina);
                const QByteArray clave = claveNumericaMdx(nivel[primero + i].mayor);
                std::copy(clave.begin(), clave.end(), nodo.begin() + pos + 4);
            }
            poner32(nodo, 8 + items * kLargoElemento, nivel[primero + items].pagina);
            superior.push_back({paginaDe(nodos.size() - 1), nivel[primero + items].mayor});
            primero += largo;
        }
        nivel = std::move(superior);
    }
    return nivel.front().pagina;
}

/// The serial number of the tag header at `pagina` of the existing file, so that
/// a rewrite raises it as an update would; 0 when there is no such file.
quint8 serieAnterior(const QString& ruta, quint32 pagina) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(qint64(pagina) * kPagina + 20)) return 0;
    char c = 0;
    return f.getChar(&c) ? static_cast<quint8>(c) : 0;
}

}  // namespace

QByteArray claveNumericaMdx(double valor) {
    QByteArray clave(kLargoClave, '\0');
    clave[0] = 0x34;
    clave[1] = 0x01;
    if (!std::isfinite(valor) || valor == 0.0) return clave;

    // Decimal digits of |valor|, with the position of the decimal point, from a
    // fixed-point text trimmed of trailing zeros after the point.
    QString texto = QString::number(std::fabs(valor), 'f', 10);
    while (texto.endsWith(u'0')) texto.chop(1);
    if (texto.endsWith(u'.')) texto.chop(1);
    const qsizetype punto = texto.indexOf(u'.');
    const QString entera = punto < 0 ? texto : texto.left(punto);
    const QString fraccion = punto < 0 ? QString() : texto.mid(punto + 1);
    QString digitos = (entera == QStringLiteral("0") ? QString() : entera) + fraccion;

    // Digits before the point; for |x| < 1 the zeros right after it count negative.
    int exponente = entera == QStringLiteral("0") ? 0 : static_cast<int>(entera.size());
    qsizetype inicio = 0;
    while (inicio < digitos.size() && digitos[inicio] == u'0') ++inicio;
    if (exponente == 0) exponente = -static_cast<int>(inicio);
    digitos = digitos.mid(inicio);
    // The mantissa ends at the last non-zero digit or at the point, whichever is
    // later; at most 20 digits fit.
    if (exponente > 0 && digitos.size() < exponente)
        digitos = digitos.leftJustified(exponente, u'0');
    digitos = digitos.left(20);

    clave[0] = static_cast<char>(0x34 + exponente);
    clave[1] = static_cast<char>((digitos.size() * 4) | 0x01 | (valor < 0 ? 0x80 : 0));
    for (qsizetype i = 0; i < digitos.size(); ++i) {
        const int d = digitos[i].unicode() - u'0';
        const qsizetype pos = 2 + i / 2;
        clave[pos] = static_cast<char>(clave[pos] | (i % 2 == 0 ? d << 4 : d));
    }
    return clave;
}

void escribirIndiceMdx(const QString& ruta, const QString& nombreTabla, const QList<TagMdx>& tags,
                       QDate creacion, QDate actualizacion) {
    std::vector<QByteArray> bloques;  // everything after the first four pages, block by block
    QByteArray cabecera(kPaginasCabecera * kPagina, '\0');
    const int nTags = static_cast<int>(std::min<qsizetype>(tags.size(), kEntradasTags - 1));

    for (int t = 0; t < nTags; ++t) {
        const TagMdx& tag = tags[t];
        std::vector<Clave> claves(tag.claves.begin(), tag.claves.end());
        std::sort(claves.begin(), claves.end());

        const quint32 paginaTag =
            kPaginasCabecera + static_cast<quint32>(bloques.size()) * kPaginasPorBloque;
        bloques.emplace_back(kBloque, '\0');
        const std::size_t indiceTag = bloques.size() - 1;
        const std::size_t primerNodo = bloques.size();
        const quint32 raiz = construirArbol(claves, paginaTag + kPaginasPorBloque, bloques);
        const quint32 nodos = static_cast<quint32>(bloques.size() - primerNodo);
        const quint32 hojas =
            claves.empty()
                ? 1
                : static_cast<quint32>((claves.size() + kMaxClavesNodo - 1) / kMaxClavesNodo);

        QByteArray& th = bloques[indiceTag];
        poner32(th, 0, raiz);
        poner32(th, 4, (1 + nodos) * kPaginasPorBloque);
        th[8] = 0x10;  // ascending, duplicates allowed
        th[9] = 'N';
        th[11] = 0x1B;
        poner16(th, 12, kLargoClave);
        poner16(th, 14, kMaxClavesNodo);
        poner16(th, 18, kLargoElemento);
        th[20] = static_cast<char>(serieAnterior(ruta, paginaTag) + 1);
        ponerTexto(th, 24, tag.expresion.toUpper(), 220);
        th[246] = claves.empty() ? 0 : 1;
        poner32(th, 248, paginaTag + kPaginasPorBloque);
        poner32(th, 252, paginaTag + hojas * kPaginasPorBloque);
        th[480] = 0x01;

        const int e = kInicioTablaTags + t * kLargoEntradaTag;
        poner32(cabecera, e, paginaTag);
        ponerTexto(cabecera, e + 4, tag.nombre.toUpper(), 10);
        cabecera[e + 15] = 0x10;
        cabecera[e + 19] = 0x02;
        cabecera[e + 20] = 'N';
    }

    const quint32 paginas =
        kPaginasCabecera + static_cast<quint32>(bloques.size()) * kPaginasPorBloque;
    cabecera[0] = 2;
    ponerFecha(cabecera, 1, creacion);
    ponerTexto(cabecera, 4, nombreTabla.toUpper(), 16);
    poner16(cabecera, 20, kPaginasPorBloque);
    poner16(cabecera, 22, kBloque);
    cabecera[24] = 1;
    cabecera[25] = kEntradasTags;
    cabecera[26] = kLargoEntradaTag;
    poner16(cabecera, 28, static_cast<quint16>(nTags));
    cabecera[30] = static_cast<char>(nTags);
    cabecera[31] = 0x1B;
    poner32(cabecera, 32, paginas);
    ponerFecha(cabecera, 44, actualizacion);
    cabecera[529] = 0x01;

    QSaveFile archivo(ruta);
    Archivos& archivos = Archivos::actuales();
    QString motivo;
    bool ok = archivo.open(QIODevice::WriteOnly);
    if (!ok) motivo = textoFalloArchivo(archivo);
    ok = ok && archivos.escribir(archivo, cabecera.constData(), cabecera.size(), motivo);
    for (const QByteArray& b : bloques)
        ok = ok && archivos.escribir(archivo, b.constData(), b.size(), motivo);
    if (!ok || !archivos.confirmar(archivo, motivo)) {
        throw ErrorTabla(QStringLiteral("No se pudo escribir el índice %1: %2").arg(ruta, motivo));
    }
}

}  // namespace varnolo
