#include "taviron/CsvNiveles.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <optional>
#include <tuple>

#include "base/Errores.h"
#include "base/PaginaCodigos.h"

namespace varnolo {

namespace {

const QString kCabecera = QStringLiteral("X_OFERTAMATRIG;NIVEL_ABREV;NIVEL");

QString decodificarCsv(const QByteArray& contenido) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(contenido);
    if (utf8.hasError()) {
        texto = motor::decodificar(contenido.constData(), static_cast<int>(contenido.size()),
                                   motor::PaginaCodigos::Windows1252);
    }
    if (texto.startsWith(QChar(0xFEFF))) texto.remove(0, 1);
    return texto;
}

/// Splits a line at its semicolons. A field that starts with a double quote ends at
/// the next lone quote; a doubled quote inside stands for one. Empty when the line
/// ends inside quotes.
std::optional<QStringList> campos(const QString& linea) {
    QStringList r;
    QString actual;
    bool entreComillas = false, citado = false;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const QChar c = linea[i];
        if (entreComillas) {
            if (c != u'"') {
                actual += c;
            } else if (i + 1 < linea.size() && linea[i + 1] == u'"') {
                actual += c;
                ++i;
            } else {
                entreComillas = false;
            }
        } else if (c == u';') {
            r << actual;
            actual.clear();
            citado = false;
        } else if (c == u'"' && !citado && actual.trimmed().isEmpty()) {
            entreComillas = citado = true;
            actual.clear();
        } else {
            actual += c;
        }
    }
    if (entreComillas) return std::nullopt;
    r << actual;
    return r;
}

/// The first character of `texto` that Windows-1252 cannot store, or empty.
QString caracterAjeno(const QString& texto) {
    for (const char32_t c : texto.toUcs4()) {
        const QString uno = QString::fromUcs4(&c, 1);
        if (uno != u"?" && motor::codificarWindows1252(uno) == "?") return uno;
    }
    return {};
}

QString codigo(const QString& caracter) {
    const uint c = caracter.toUcs4().value(0);
    return QStringLiteral("U+") + QString::number(c, 16).toUpper().rightJustified(4, u'0');
}

}  // namespace

QList<FilaNivel> leerCsvNiveles(const QString& ruta) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        throw ErrorVarnolo(QStringLiteral("No se puede leer el archivo %1").arg(nombre));
    }
    return leerCsvNiveles(f.readAll(), nombre);
}

QList<FilaNivel> leerCsvNiveles(const QByteArray& contenido, const QString& nombre) {
    QList<FilaNivel> niveles;
    QSet<int> vistas;
    bool cabeceraLeida = false;
    int numero = 0;
    for (QString linea : decodificarCsv(contenido).split(u'\n')) {
        ++numero;
        if (linea.endsWith(u'\r')) linea.chop(1);
        const auto fallo = [&](const QString& que) {
            return ErrorVarnolo(
                QStringLiteral("%1, línea %2: %3").arg(nombre).arg(numero).arg(que));
        };
        const QString limpia = linea.trimmed();
        if (limpia.isEmpty() || limpia.startsWith(u'#')) continue;
        const auto partes = campos(linea);
        if (!partes) throw fallo(QStringLiteral("faltan las comillas que cierran el campo"));
        QStringList valores;
        for (const QString& p : *partes) valores << p.trimmed();
        if (valores.join(QString()).isEmpty()) continue;  // a spreadsheet's empty row
        if (!cabeceraLeida) {
            if (valores.join(u';') != kCabecera) {
                throw fallo(QStringLiteral("se esperaba la cabecera %1").arg(kCabecera));
            }
            cabeceraLeida = true;
            continue;
        }
        if (valores.size() != 3) {
            throw fallo(QStringLiteral("se esperaban 3 campos separados por punto y coma y hay %1")
                            .arg(valores.size()));
        }
        FilaNivel n;
        try {
            n.oferta = aEntero(valores[0]);
        } catch (const ErrorConversion&) {
            throw fallo(
                QStringLiteral("X_OFERTAMATRIG \"%1\" no es un número entero").arg(valores[0]));
        }
        n.abrev = valores[1];
        n.nivel = valores[2];
        for (const auto& [nombreCampo, texto, ancho] :
             {std::tuple{campo::NIVEL_ABREV, n.abrev, catalogo::kAnchoNivelAbrev},
              std::tuple{campo::NIVEL, n.nivel, catalogo::kAnchoNivel}}) {
            const QString ajeno = caracterAjeno(texto);
            if (!ajeno.isEmpty()) {
                throw fallo(QStringLiteral("%1 tiene el carácter \"%2\" (%3), que no existe en "
                                           "Windows-1252")
                                .arg(nombreCampo, ajeno, codigo(ajeno)));
            }
            if (texto.size() > ancho) {
                throw fallo(
                    QStringLiteral("%1 de más de %2 caracteres").arg(nombreCampo).arg(ancho));
            }
        }
        if (vistas.contains(n.oferta)) {
            throw fallo(QStringLiteral("X_OFERTAMATRIG %1 repetido").arg(n.oferta));
        }
        vistas.insert(n.oferta);
        niveles.append(n);
    }
    if (!cabeceraLeida) {
        throw ErrorVarnolo(QStringLiteral("%1: falta la cabecera %2").arg(nombre, kCabecera));
    }
    return niveles;
}

}  // namespace varnolo
