// Loading untrusted files safely, why a file could not be loaded, and querying.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "base/Errores.h"
#include "tests/comun/Prueba.h"
#include "tests/xml/FixturasXml.h"
#include "xml/DocumentoXml.h"
#include "xml/EscritorXml.h"
#include "xml/LecturaXml.h"

namespace varnolo {
namespace {

void esperarVacio(const DocumentoXml& doc) {
    EXPECT_FALSE(doc.cargado());
    EXPECT_TRUE(doc.documentElement().isNull());
    EXPECT_TRUE(doc.selectNodes(QStringLiteral("//node()")).empty());
    EXPECT_TRUE(doc.selectNodes(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).empty());
    EXPECT_TRUE(doc.contorno().fueraDeRaiz.isEmpty());
}

/// A stream reader that only listens.
class SinEventos : public EventosXml {
  public:
    void abrir(const char*, const char*, const char*, const Atributo*, int) override {}
    void cerrar() override {}
    void texto(const char*, int) override {}
};

/// Everything a reader or a result could take from the document: its text and what
/// stands outside its root.
QByteArray todoLoLeido(const DocumentoXml& doc) {
    return doc.documentElement().text().toUtf8() + doc.contorno().fueraDeRaiz;
}

// Files that must leave an empty document: never a crash, an exception, an expanded
// entity or a file read from elsewhere.
TEST(CargaXml, DocumentosRechazadosQuedanVacios) {
    QTemporaryDir dir;
    const QString secreto = dir.filePath(QStringLiteral("secreto.txt"));
    prueba::escribirBytes(secreto, "SECRETO");
    const QByteArray urlSecreto = QUrl::fromLocalFile(secreto).toEncoded();

    struct Caso {
        const char* nombre;
        QByteArray contenido;
    };
    const Caso casos[] = {
        {"vacio", ""},
        {"solo declaracion", "<?xml version=\"1.0\"?>\n"},
        {"texto", "esto no es XML"},
        {"cortado", leer(fixture("malformado.xml"))},
        {"etiquetas cruzadas", leer(fixture("etiquetas_cruzadas.xml"))},
        {"dos raices", "<SERVICIO/><SERVICIO/>"},
        {"nulos", QByteArray("<SERVICIO>\0</SERVICIO>", 22)},
        {"codificacion desconocida", "<?xml version=\"1.0\" encoding=\"X-NO-EXISTE\"?><SERVICIO/>"},
        {"mil millones de risas", leer(fixture("mil_millones.xml"))},
        {"entidad externa", "<?xml version=\"1.0\"?><!DOCTYPE SERVICIO [<!ENTITY s SYSTEM \"" +
                                urlSecreto + "\">]><SERVICIO><dato>&s;</dato></SERVICIO>"},
        {"entidad de parametro externa",
         "<?xml version=\"1.0\"?><!DOCTYPE SERVICIO [<!ENTITY % p SYSTEM \"" + urlSecreto +
             "\"> %p;]><SERVICIO/>"},
        {"entidad por red",
         "<!DOCTYPE SERVICIO [<!ENTITY r SYSTEM \"http://127.0.0.1:9/x\">]>"
         "<SERVICIO>&r;</SERVICIO>"},
        {"entidad interna sencilla",
         "<!DOCTYPE SERVICIO [<!ENTITY e \"valor\">]><SERVICIO>&e;</SERVICIO>"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        DocumentoXml doc;
        ASSERT_TRUE(doc.loadXml("<SERVICIO/>"));
        const ResultadoCarga arbol = doc.loadXml(c.contenido);
        EXPECT_FALSE(arbol);
        esperarVacio(doc);
        // The stream refuses the same files for the same reason, and leaves nothing
        // behind (the sanitizers' build sees a leak).
        SinEventos nada;
        const ResultadoCarga flujo = leerXml(c.contenido, nada);
        EXPECT_FALSE(flujo);
        EXPECT_EQ(flujo.texto(), arbol.texto());
    }
}

// The bytes of a file in UTF-16 or UCS-4 decide how it is read, whatever its
// declaration says. One that declares a one-byte encoding is refused: saved in that
// encoding, a name such as <é/> would become a file that does not load. A Unicode
// declaration that does not match the bytes exactly is harmless and accepted.
TEST(CargaXml, DeclaracionQueContradiceLosBytes) {
    const auto utf16 = [](const QString& t, bool grande, bool marca) {
        QByteArray b = marca ? QByteArray(grande ? "\xFE\xFF" : "\xFF\xFE") : QByteArray();
        for (const QChar c : t) {
            const char alto = static_cast<char>(c.unicode() >> 8);
            const char bajo = static_cast<char>(c.unicode() & 0xFF);
            b.append(grande ? alto : bajo).append(grande ? bajo : alto);
        }
        return b;
    };
    // Short or long: libxml2 reads the short ones by their bytes, and fails on the long
    // ones where the declaration ends.
    const auto documento = [](const char* codificacion, int largo = 0) {
        return QStringLiteral(
                   "<?xml version=\"1.0\" encoding=\"%1\"?><\u00E9><!-- \u00E9 -->%2</\u00E9>")
            .arg(QLatin1String(codificacion), QString(largo, u'x'));
    };
    struct Caso {
        QByteArray contenido;
        QString motivo;  // empty: loads, and what it saves loads again
    };
    const QString enUtf16 = QStringLiteral(
        "no es un documento XML válido: está escrito en UTF-16 "
        "pero declara la codificación %1");
    const Caso casos[] = {
        {utf16(documento("US-ASCII"), false, false), enUtf16.arg(u"US-ASCII")},
        {utf16(documento("ISO-8859-1"), true, true), enUtf16.arg(u"ISO-8859-1")},
        {utf16(documento("windows-1252"), false, true), enUtf16.arg(u"windows-1252")},
        {utf16(documento("US-ASCII", 9000), false, true), enUtf16.arg(u"US-ASCII")},
        {utf16(documento("UTF-16"), false, true), {}},
        {utf16(documento("UTF-16"), true, false), {}},
        {utf16(documento("UTF-8"), false, true), {}},
        {utf16(documento("UTF-16", 9000), true, true), {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.contenido.toHex().toStdString());
        DocumentoXml doc;
        EXPECT_EQ(static_cast<bool>(doc.loadXml(c.contenido)), c.motivo.isEmpty());
        EXPECT_EQ(doc.motivoFallo().toStdString(), c.motivo.toStdString());
        if (!c.motivo.isEmpty()) continue;
        EscritorXml resultado(doc.contorno());
        resultado.abrir(doc.documentElement().nombre());
        resultado.texto(doc.documentElement().text());
        resultado.terminar();
        DocumentoXml releido;
        ASSERT_TRUE(releido.loadXml(resultado.bytes())) << releido.motivoFallo().toStdString();
        EXPECT_EQ(releido.documentElement().nombre(), QStringLiteral("\u00E9"));
    }
}

TEST(CargaXml, ArchivosQueNoSePuedenCargar) {
    QTemporaryDir dir;
    // Larger than allowed: refused before it is read (a sparse file, cheap to make).
    const QString grande = dir.filePath(QStringLiteral("grande.xml"));
    {
        QFile f(grande);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<SERVICIO>");
        ASSERT_TRUE(f.resize(DocumentoXml::kTamanoMaximo + 1));
    }
    const QString cortado = dir.filePath(QStringLiteral("cortado.xml"));
    prueba::escribirBytes(cortado,
                          "<?xml version=\"1.0\"?>\n<SERVICIO>\n  <BLOQUE_DATOS>\n  </SERVICIO>\n");
    // Each failure says why, for the user: the reason follows the file's name.
    using Motivo = ResultadoCarga::Motivo;
    struct Caso {
        QString ruta;
        Motivo motivo;
        QString texto;
    };
    const Caso casos[] = {
        {grande, Motivo::DemasiadoGrande,
         QStringLiteral("es demasiado grande: el límite es de 256 MB")},
        {dir.path(), Motivo::EsCarpeta, QStringLiteral("es una carpeta, no un archivo")},
        {dir.filePath(QStringLiteral("falta.xml")), Motivo::NoExiste, QStringLiteral("no existe")},
        {fixture("mil_millones.xml"), Motivo::Entidades,
         QStringLiteral("declara entidades, que no se admiten por seguridad")},
        {cortado, Motivo::MalFormado,
         QStringLiteral("no es un documento XML válido: error en la línea 4, columna 14: una "
                        "etiqueta de cierre no es la del elemento que está abierto")},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.ruta.toStdString());
        DocumentoXml doc;
        const ResultadoCarga r = doc.load(c.ruta);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.motivo, c.motivo);
        EXPECT_EQ(r.texto(), c.texto);
        EXPECT_EQ(doc.resultadoCarga().motivo, c.motivo);
        esperarVacio(doc);
        EXPECT_EQ(doc.motivoFallo(), c.texto);
        SinEventos nada;
        EXPECT_EQ(leerXml(c.ruta, nada).texto(), c.texto);
        ASSERT_TRUE(doc.loadXml("<SERVICIO/>"));
        EXPECT_EQ(doc.motivoFallo(), QString());
    }
    DocumentoXml doc;
    const ResultadoCarga cortadoEnMemoria = doc.loadXml(leer(cortado));
    EXPECT_EQ(cortadoEnMemoria.motivo, Motivo::MalFormado);
    EXPECT_EQ(cortadoEnMemoria.linea, 4);
    EXPECT_EQ(cortadoEnMemoria.columna, 14);
    EXPECT_EQ(doc.loadXml("").motivo, Motivo::Vacio);
}

// A document that is not well-formed says where and why, in Spanish, for the faults
// people meet: a cut file, hand edits, the wrong encoding, the parser's limits.
TEST(CargaXml, RazonDelErrorEnCastellano) {
    struct Caso {
        QByteArray xml;
        QString razon;
    };
    const Caso casos[] = {
        {"<?xml version=\"1.0\"?>\n<SERVICIO>\n  <BLOQUE_DATOS>\n",
         "el archivo se acaba antes de cerrar todos los elementos (puede estar cortado)"},
        {"<SERVICIO><a></b></SERVICIO>",
         "una etiqueta de cierre no es la del elemento que está abierto"},
        {"<SERVICIO a=x/>", "falta la comilla que abre el valor de un atributo"},
        {"<SERVICIO a=\"x/>", "falta la comilla que cierra el valor de un atributo"},
        {"<SERVICIO a \"x\"/>", "falta el «=» entre un atributo y su valor"},
        {"<SERVICIO a=\"1\" a=\"2\"/>", "un elemento tiene dos veces el mismo atributo"},
        {"<SERVICIO/><otro/>", "hay algo más después del final del elemento raíz"},
        {"<SERVICIO>a & b</SERVICIO>",
         "hay un «&» que no empieza una referencia válida (en un texto se escribe «&amp;»)"},
        {"<SERVICIO>\x01</SERVICIO>", "hay un carácter que XML no admite"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><SERVICIO>\xE9</SERVICIO>",
         "hay bytes que no son caracteres de la codificación del documento (se guardó en otra "
         "codificación que la que declara)"},
        {QByteArray("<a>").repeated(300) + QByteArray("</a>").repeated(300),
         "los elementos están anidados a demasiada profundidad (el límite es de 256 niveles)"},
        {"<SERVICIO>" + QByteArray(11 * 1024 * 1024, 'x') + "</SERVICIO>",
         "un texto pasa de 10 MB, el límite de un texto"},
        {"<SERVICIO><!DOCTYPE x></SERVICIO>",
         "después de «<» no viene un nombre de elemento válido"},
        // Others keep the general sentence with the place.
        {"<?xml version=\"1.0\" standalone=\"quizas\"?><SERVICIO/>", {}},
        {"<!DOCTYPE a [ <!ELEMENT a (b|)> ]><a/>", {}},
    };
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("d.xml"));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.xml.left(60).toStdString());
        prueba::escribirBytes(ruta, c.xml);
        DocumentoXml doc;
        const ResultadoCarga r = doc.load(ruta);
        ASSERT_EQ(r.motivo, ResultadoCarga::Motivo::MalFormado);
        EXPECT_GT(r.linea, 0);
        EXPECT_EQ(r.razon, c.razon);
        const QString lugar = QStringLiteral(
                                  "no es un documento XML válido: error en la línea %1, "
                                  "columna %2")
                                  .arg(r.linea)
                                  .arg(std::max(1, r.columna));
        EXPECT_EQ(r.texto(), c.razon.isEmpty() ? lugar : lugar + QStringLiteral(": ") + c.razon);
    }
}

// An external DTD is neither fetched nor read: the entity that it would declare stays
// unknown and the document loads with nothing in its place.
TEST(CargaXml, DtdExternoNoSeLee) {
    QTemporaryDir dir;
    const QString dtd = dir.filePath(QStringLiteral("externo.dtd"));
    prueba::escribirBytes(dtd, "<!ENTITY e \"SECRETO\">");
    const QByteArray xml = "<?xml version=\"1.0\"?><!DOCTYPE SERVICIO SYSTEM \"" +
                           QUrl::fromLocalFile(dtd).toEncoded() +
                           "\"><SERVICIO><dato>a&e;b</dato></SERVICIO>";
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml(xml));
    EXPECT_EQ(doc.selectSingleNode(QStringLiteral("/SERVICIO/dato")).text(), QStringLiteral("ab"));
    EXPECT_FALSE(todoLoLeido(doc).contains("SECRETO"));

    // A DOCTYPE without entities is harmless and accepted.
    ASSERT_TRUE(doc.loadXml("<!DOCTYPE SERVICIO [<!ELEMENT SERVICIO ANY>]><SERVICIO>x</SERVICIO>"));
    EXPECT_EQ(doc.documentElement().text(), QStringLiteral("x"));
}

TEST(ConsultaXml, ExpresionesYNodosNulosNoFallan) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture("utf8.xml")));
    for (const char* expresion : {"", "/SERVICIO[", "///", "count(//dato)", "namespace::*",
                                  "//dato/namespace::*", "1 div 0", "/NO_EXISTE"}) {
        SCOPED_TRACE(expresion);
        EXPECT_TRUE(doc.selectNodes(QString::fromUtf8(expresion)).empty());
        EXPECT_TRUE(doc.selectSingleNode(QString::fromUtf8(expresion)).isNull());
    }
    const NodoXml nulo = doc.selectSingleNode(QStringLiteral("/NO_EXISTE"));
    EXPECT_TRUE(nulo.firstChild().firstChild().isNull());
    EXPECT_EQ(nulo.text(), QString());
    EXPECT_EQ(nulo.nombre(), QString());
    EXPECT_EQ(nulo.attribute(QStringLiteral("seq")), QString());
    EXPECT_TRUE(nulo.selectNodes(QStringLiteral("dato")).empty());
    EXPECT_TRUE(nulo.hijos(QStringLiteral("dato")).empty());

    // Attributes can be selected; the text of an element is that of all its descendants.
    const auto seqs = doc.selectNodes(QStringLiteral("//grupo_datos/@seq"));
    ASSERT_EQ(seqs.size(), 4u);
    EXPECT_EQ(seqs[1].text(), QStringLiteral("MATERIAS"));
    const NodoXml registro =
        doc.selectSingleNode(QStringLiteral("//grupo_datos[@seq='MATERIA'][2]"));
    EXPECT_EQ(registro.text(), QStringLiteral("102Lengua & Literatura"));
    EXPECT_EQ(registro.selectNodes(QStringLiteral("dato")).size(), 2u);
}

TEST(ConsultaXml, PrimerHijoSaltaSoloTextoEnBlanco) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<r><a> \r\n\t <b/></a><c> x <d/></c></r>"));
    EXPECT_EQ(doc.selectSingleNode(QStringLiteral("/r/a")).firstChild().nombre(),
              QStringLiteral("b"));
    const NodoXml c = doc.selectSingleNode(QStringLiteral("/r/c"));
    EXPECT_EQ(c.firstChild().nombre(), QStringLiteral("#text"));
    EXPECT_EQ(c.firstChild().text(), QStringLiteral(" x "));
}

}  // namespace
}  // namespace varnolo
