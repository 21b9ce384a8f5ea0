// The bytes of everything a conversion writes, kept as fingerprints: each case exports
// a document with varnolo-cli, places a SOLUC as Taviron would, imports, and compares
// the exit codes, the console texts and the SHA-256 of every table, index and result
// document with the file kept for it in tests/data/huellas. Only the dates differ from
// run to run: the header dates of tables and indexes and the result's fecha are
// blanked before hashing. A change of any other byte is a change of behaviour.
//
// To record the fingerprints anew after an intended change of output, run the test
// with VARNOLO_ESCRIBIR_HUELLAS=1 and review the diff of tests/data/huellas.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringConverter>
#include <functional>

#include "dbf/Tabla.h"
#include "tests/cli/EjecucionCli.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void escribir(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << ruta.toStdString();
    f.write(bytes);
}

// ---- Documents --------------------------------------------------------------------

QByteArray ejemploComoTexto(const char* nombre) {
    return leer(ejemplo(QString::fromLatin1(nombre)));
}

/// The examples are ISO-8859-1; the same document in another encoding, with the
/// declaration naming it (or, for "", with no declaration at all, as UTF-8).
QByteArray enCodificacion(const QByteArray& latin1, const char* codificacion) {
    QString texto = QString::fromLatin1(latin1);
    static const QRegularExpression declaracion(QStringLiteral("^<\\?xml[^>]*\\?>\\s*"));
    texto.remove(declaracion);
    const QString nombre = QString::fromLatin1(codificacion);
    if (nombre.isEmpty()) return texto.toUtf8();
    texto.prepend(QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(nombre));
    if (nombre == u"UTF-8") return texto.toUtf8();
    if (nombre == u"UTF-16") {
        QStringEncoder a(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        return a.encode(texto);
    }
    if (nombre == u"windows-1252") {
        // Characters of the Windows-1252 range above ISO-8859-1 as well.
        texto.replace(QStringLiteral("Horario de junio"),
                      QStringLiteral("Horario \u2013 junio \u20AC"));
        QByteArray b = texto.toLatin1();
        b.replace("Horario ? junio ?", "Horario \x96 junio \x80");
        return b;
    }
    return texto.toLatin1();
}

/// Comments and a processing instruction around the root, which the result keeps.
QByteArray conNodosFuera(const QByteArray& latin1) {
    QByteArray b = latin1;
    const qsizetype raiz = b.indexOf("<SERVICIO>");
    b.insert(raiz, "<!-- exportado por Velna -->\n<?velna version=\"3\"?>\n");
    b.append("\n<!-- fin -->\n");
    return b;
}

/// Subject codes longer than the table's ten characters, and records that lack their
/// last items (no code: the name stands in).
QByteArray codigosLargosYRegistrosCortos(const QByteArray& latin1) {
    QString texto = QString::fromLatin1(latin1);
    static const QRegularExpression codigo(
        QStringLiteral("<dato nombre_dato=\"C_MATERIA\">([^<]*)</dato>"));
    int n = 0;
    QString salida;
    qsizetype desde = 0;
    for (auto it = codigo.globalMatch(texto); it.hasNext();) {
        const auto m = it.next();
        salida += texto.mid(desde, m.capturedStart() - desde);
        switch (n++ % 3) {
            case 0:  // a long code sharing its first ten characters with others
                salida += QStringLiteral("<dato nombre_dato=\"C_MATERIA\">CODIGOLARGO%1</dato>")
                              .arg(m.captured(1));
                break;
            case 1:  // the record ends before its code
                break;
            default:
                salida += m.captured(0);
        }
        desde = m.capturedEnd();
    }
    salida += texto.mid(desde);
    salida.remove(
        QRegularExpression(QStringLiteral("\\s*<dato nombre_dato=\"N_MINUTOS\">[^<]*</dato>")));
    return salida.toLatin1();
}

// ---- SOLUC --------------------------------------------------------------------------

/// A SOLUC as Taviron leaves it after a run: every assignment of ASIGT placed
/// round-robin over the cells of DIASHORAST, teachers and rooms taken in turn, and one
/// lesson not placed.
void colocarSoluc(const QString& carpeta) {
    QStringList profesores, aulas;
    {
        Tabla t(carpeta, QStringLiteral("PROFT"));
        t.open();
        for (t.first(); !t.eof(); t.next()) profesores << t.asString(QStringLiteral("ABREV"));
    }
    {
        Tabla t(carpeta, QStringLiteral("AULAT"));
        t.open();
        for (t.first(); !t.eof(); t.next()) aulas << t.asString(QStringLiteral("ABREV"));
    }
    if (aulas.isEmpty()) aulas << QString();
    struct Celda {
        int dia, hora;
        QString marco;
    };
    QList<Celda> celdas;
    {
        Tabla t(carpeta, QStringLiteral("DIASHORAST"));
        t.open();
        for (t.first(); !t.eof(); t.next()) {
            bool okDia = false, okHora = false;
            const int dia = t.asString(QStringLiteral("DIA")).toInt(&okDia);
            const int hora = t.asString(QStringLiteral("HORA")).toInt(&okHora);
            if (okDia && okHora) celdas.push_back({dia, hora, t.asString(QStringLiteral("MARCO"))});
        }
    }
    ASSERT_FALSE(profesores.isEmpty());
    ASSERT_FALSE(celdas.isEmpty());

    Entorno entorno;
    entorno.carpetaTrabajo = carpeta;
    crearSoluc(entorno);
    Tabla soluc(carpeta, QStringLiteral("SOLUC"));
    soluc.open();
    Tabla asigt(carpeta, QStringLiteral("ASIGT"));
    asigt.open();
    int n = 0, celda = 0;
    for (asigt.first(); !asigt.eof(); asigt.next(), ++n) {
        const int horas = std::max(1, asigt.asInteger(QStringLiteral("HORAS")));
        for (int h = 0; h < horas; ++h, ++celda) {
            const Celda& c = celdas[celda % celdas.size()];
            soluc.append();
            soluc.setString(QStringLiteral("PROF"), profesores[n % profesores.size()]);
            soluc.setInteger(QStringLiteral("DIA"), c.dia);
            soluc.setInteger(QStringLiteral("HORA"), c.hora);
            soluc.setString(QStringLiteral("MARCO"), c.marco);
            soluc.setString(QStringLiteral("ASIG"), asigt.asString(QStringLiteral("CASIG")));
            soluc.setString(QStringLiteral("CODGRUPO"), asigt.asString(QStringLiteral("CGRUP")));
            soluc.setString(QStringLiteral("TAREA"), asigt.asString(QStringLiteral("CTAREA")));
            soluc.setString(QStringLiteral("AULA"), aulas[celda % aulas.size()]);
            soluc.post();
        }
    }
    soluc.append();
    soluc.setString(QStringLiteral("PROF"), profesores.first());
    soluc.setInteger(QStringLiteral("DIA"), 0);
    soluc.setInteger(QStringLiteral("HORA"), 1);
    soluc.setString(QStringLiteral("ASIG"), QStringLiteral("SINCOLOCAR"));
    soluc.post();
}

// ---- Fingerprints -------------------------------------------------------------------

/// The header dates blanked: YYMMDD at byte 1 of a table, at bytes 1 and 44 of an index.
QByteArray sinFechas(QByteArray b, const QString& nombre) {
    const auto borrar = [&b](qsizetype pos) {
        for (qsizetype i = pos; i < pos + 3 && i < b.size(); ++i) b[i] = 0;
    };
    if (nombre.endsWith(u".DBF", Qt::CaseInsensitive)) borrar(1);
    if (nombre.endsWith(u".MDX", Qt::CaseInsensitive)) {
        borrar(1);
        borrar(44);
    }
    return b;
}

/// The result's fecha attribute blanked, in a single-byte, UTF-8 or UTF-16 document.
QByteArray sinFecha(QByteArray b) {
    for (const bool utf16 : {false, true}) {
        QByteArray inicio = "fecha=\"";
        QByteArray comilla = "\"";
        if (utf16) {
            inicio = QStringEncoder(QStringConverter::Utf16LE).encode(u"fecha=\"");
            comilla = QStringEncoder(QStringConverter::Utf16LE).encode(u"\"");
        }
        const qsizetype i = b.indexOf(inicio);
        if (i < 0) continue;
        const qsizetype desde = i + inicio.size();
        const qsizetype hasta = b.indexOf(comilla, desde);
        if (hasta > desde) b.remove(desde, hasta - desde);
    }
    return b;
}

QString huella(const QByteArray& b) {
    return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex());
}

/// What varnolo-cli said, with the case's folders named as placeholders so that the
/// text is the same on every machine.
QString relato(const char* accion, const Salida& s, const QString& carpeta) {
    QString texto = QStringLiteral("%1: %2\n").arg(QLatin1String(accion)).arg(s.codigo);
    for (const QString& linea : (s.salida + s.errores).split(u'\n', Qt::SkipEmptyParts)) {
        QString l = linea;
        l.replace(QDir::toNativeSeparators(carpeta), QStringLiteral("<carpeta>"));
        l.replace(carpeta, QStringLiteral("<carpeta>"));
        l.replace(u'\\', u'/');
        texto += QStringLiteral("  ") + l + u'\n';
    }
    return texto;
}

struct Caso {
    const char* nombre;
    std::function<QByteArray()> documento;
    QStringList marcos;
};

const Caso kCasos[] = {
    {"centro", [] { return ejemploComoTexto("centro.xml"); }, {}},
    {"marcos-uno", [] { return ejemploComoTexto("centro-marcos.xml"); }, {"JUN"}},
    {"marcos-tres", [] { return ejemploComoTexto("centro-marcos.xml"); }, {"TARDE", "ORD", "JUN"}},
    {"sin-toma", [] { return ejemploComoTexto("centro-sin-toma.xml"); }, {}},
    {"completo", [] { return leer(datoPrueba(QStringLiteral("principal/completo.xml"))); }, {}},
    {"utf8",
     [] { return enCodificacion(ejemploComoTexto("centro-marcos.xml"), "UTF-8"); },
     {"ORD", "JUN"}},
    {"utf16",
     [] { return enCodificacion(ejemploComoTexto("centro-marcos.xml"), "UTF-16"); },
     {"ORD"}},
    {"windows-1252",
     [] { return enCodificacion(ejemploComoTexto("centro-marcos.xml"), "windows-1252"); },
     {"JUN", "ORD"}},
    {"sin-declaracion", [] { return enCodificacion(ejemploComoTexto("centro.xml"), ""); }, {}},
    {"nodos-fuera", [] { return conNodosFuera(ejemploComoTexto("centro.xml")); }, {}},
    {"codigos-largos",
     [] { return codigosLargosYRegistrosCortos(ejemploComoTexto("centro-marcos.xml")); },
     {"ORD", "TARDE"}},
};

/// Exports, places SOLUC, imports; the story of the run and the fingerprint of every
/// file written, in name order.
QString ejecutarCaso(const Caso& caso) {
    Carpetas c;
    const QString documento = c.escribirDocumento(QStringLiteral("doc.xml"), caso.documento());
    const QString carpetaDocumento = QFileInfo(documento).absolutePath();
    QStringList exportar = {
        "exportar",  documento,   "--qwork",
        c.trabajo(), "--niveles", QDir(carpetaBinarios()).filePath(QStringLiteral("NIVELCAN.DBF"))};
    for (const QString& m : caso.marcos) exportar << QStringLiteral("--marco") << m;
    const Salida e = ejecutarCli(exportar, c.programa());
    QString texto = relato("exportar", e, carpetaDocumento);
    if (e.codigo == 0) {
        colocarSoluc(c.trabajo());
        const Salida i = ejecutarCli({"importar", documento, "--qwork", c.trabajo()}, c.programa());
        texto += relato("importar", i, carpetaDocumento);
    }
    QDir trabajo(c.trabajo());
    QStringList nombres = trabajo.entryList(QDir::Files);
    for (QString& n : nombres) n = n.toUpper();
    nombres.sort();
    for (const QString& n : nombres) {
        texto += n + u' ' + huella(sinFechas(leer(trabajo.filePath(n)), n)) + u'\n';
    }
    const QString resultado =
        QDir(carpetaDocumento).filePath(QStringLiteral("ResultadoZentordoc.xml"));
    if (QFileInfo::exists(resultado)) {
        texto +=
            QStringLiteral("ResultadoZentordoc.xml ") + huella(sinFecha(leer(resultado))) + u'\n';
    }
    return texto;
}

TEST(Huellas, CadaConversionEscribeLosMismosBytes) {
    const bool escribirHuellas = qEnvironmentVariableIsSet("VARNOLO_ESCRIBIR_HUELLAS");
    for (const Caso& caso : kCasos) {
        SCOPED_TRACE(caso.nombre);
        const QString obtenido = ejecutarCaso(caso);
        const QString ruta =
            datoPrueba(QStringLiteral("huellas/%1.txt").arg(QLatin1String(caso.nombre)));
        if (escribirHuellas) {
            escribir(ruta, obtenido.toUtf8());
            continue;
        }
        EXPECT_EQ(obtenido.toStdString(), QString::fromUtf8(leer(ruta)).toStdString());
    }
}

}  // namespace
}  // namespace varnolo::prueba
