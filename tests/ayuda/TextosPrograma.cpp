#include "tests/ayuda/TextosPrograma.h"

#include <QDirIterator>
#include <QFile>
#include <QXmlStreamReader>

namespace varnolo::prueba {

namespace {

QString leer(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

/// Blanks (spaces, tabs, line ends) collapsed to one space.
QString colapsar(const QString& texto) {
    static const QRegularExpression blancos(QStringLiteral("\\s+"));
    return QString(texto).replace(blancos, QStringLiteral(" "));
}

/// Skips blanks and comments from `i`.
qsizetype saltarBlancos(const QString& s, qsizetype i) {
    while (i < s.size()) {
        if (s[i].isSpace()) {
            ++i;
        } else if (s.mid(i, 2) == QLatin1String("//")) {
            while (i < s.size() && s[i] != u'\n') ++i;
        } else if (s.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype fin = s.indexOf(QLatin1String("*/"), i + 2);
            i = fin < 0 ? s.size() : fin + 2;
        } else {
            break;
        }
    }
    return i;
}

/// Reads the literal whose opening quote is at `i`; returns the index after it.
qsizetype leerLiteral(const QString& s, qsizetype i, QString& texto) {
    ++i;
    while (i < s.size() && s[i] != u'"') {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar e = s[i + 1];
            i += 2;
            switch (e.unicode()) {
                case 'n':
                    texto += u'\n';
                    break;
                case 'r':
                    texto += u'\r';
                    break;
                case 't':
                    texto += u'\t';
                    break;
                default:
                    texto += e;
                    break;
            }
        } else {
            texto += s[i++];
        }
    }
    return i + 1;
}

}  // namespace

QList<TextoPrograma> literalesCpp(const QString& s, const QString& origen) {
    QList<TextoPrograma> r;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype j = saltarBlancos(s, i);
        if (j != i) {
            i = j;
            continue;
        }
        if (s[i] == u'\'') {
            // A character literal: skip it, escapes included.
            ++i;
            while (i < s.size() && s[i] != u'\'') i += s[i] == u'\\' ? 2 : 1;
            ++i;
        } else if (s[i] == u'"') {
            TextoPrograma t{{}, origen, false};
            i = leerLiteral(s, i, t.texto);
            // Adjacent literals are one text.
            for (qsizetype k = saltarBlancos(s, i); k < s.size() && s[k] == u'"';
                 k = saltarBlancos(s, i)) {
                i = leerLiteral(s, k, t.texto);
            }
            qsizetype k = saltarBlancos(s, i);
            if (k < s.size() && s[k] == u')') k = saltarBlancos(s, k + 1);
            t.seCompleta = k < s.size() && s[k] == u'+';
            r << t;
        } else {
            ++i;
        }
    }
    return r;
}

QList<TextoPrograma> textosDelPrograma(const QString& raiz, const QStringList& carpetas) {
    QList<TextoPrograma> r;
    for (const QString& carpeta : carpetas) {
        QDirIterator it(raiz + u'/' + carpeta, {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString ruta = it.next();
            r << literalesCpp(leer(ruta), ruta);
        }
    }
    QDirIterator formas(raiz + QStringLiteral("/app/forms"), {QStringLiteral("*.ui")}, QDir::Files);
    while (formas.hasNext()) {
        const QString ruta = formas.next();
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly)) continue;
        QXmlStreamReader xml(&f);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("string")) {
                r << TextoPrograma{xml.readElementText(), ruta, false};
            }
        }
    }
    return r;
}

QString textoDeCita(const QString& html) {
    QString t = html;
    static const QRegularExpression var(QStringLiteral("<var>.*?</var>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression etiqueta(QStringLiteral("<[^>]*>"));
    t.replace(var, QString(QChar(1)));
    t.replace(etiqueta, QString());
    t.replace(QLatin1String("&mdash;"), QStringLiteral("—"));
    t.replace(QLatin1String("&nbsp;"), QStringLiteral(" "));
    t.replace(QLatin1String("&lt;"), QStringLiteral("<"));
    t.replace(QLatin1String("&gt;"), QStringLiteral(">"));
    t.replace(QLatin1String("&quot;"), QStringLiteral("\""));
    t.replace(QLatin1String("&amp;"), QStringLiteral("&"));
    return colapsar(t).trimmed();
}

CatalogoTextos::CatalogoTextos(const QList<TextoPrograma>& textos) {
    static const QRegularExpression hueco(QStringLiteral("%\\d+"));
    for (const TextoPrograma& t : textos) {
        QStringList variantes{t.texto};
        // A form's "&Salir" reads "Salir" on screen.
        if (t.texto.contains(u'&')) {
            QString sinAtajo = t.texto;
            sinAtajo.replace(QLatin1String("&&"), QStringLiteral("\x02"));
            sinAtajo.remove(u'&');
            sinAtajo.replace(u'\x02', u'&');
            variantes << sinAtajo;
        }
        for (const QString& v : variantes) {
            const QString c = colapsar(v).trimmed();
            if (c.isEmpty()) continue;
            QStringList partes;
            for (const QString& p : c.split(hueco)) partes << QRegularExpression::escape(p);
            QString patron = partes.join(QStringLiteral("(.+)"));
            if (t.seCompleta) patron += QStringLiteral(" ?(.+)");
            patrones_ << QRegularExpression(QRegularExpression::anchoredPattern(patron));
        }
    }
}

bool CatalogoTextos::contiene(const QString& cita) const {
    for (const QRegularExpression& p : patrones_) {
        if (p.match(cita).hasMatch()) return true;
    }
    return false;
}

QList<Cita> citasDePagina(const QString& pagina, const QString& html) {
    static const QRegularExpression cita(
        QStringLiteral("<samp>(.*?)</samp>|<span class=\"rotulo\">(.*?)</span>"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<Cita> r;
    for (auto it = cita.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool esSamp = m.capturedStart(1) >= 0;
        r << Cita{pagina, esSamp ? QStringLiteral("samp") : QStringLiteral("rotulo"),
                  textoDeCita(esSamp ? m.captured(1) : m.captured(2))};
    }
    return r;
}

}  // namespace varnolo::prueba
