// Loading untrusted files safely, querying, and building documents node by node.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>

#include "FixturasXml.h"
#include "data/DocumentoXml.h"
#include "data/Errores.h"

namespace varnolo {
namespace {

void escribir(const QString& ruta, const QByteArray& contenido) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(contenido), contenido.size());
}

void esperarVacio(const DocumentoXml& doc) {
    EXPECT_FALSE(doc.cargado());
    EXPECT_TRUE(doc.documentElement().isNull());
    EXPECT_TRUE(doc.selectNodes(QStringLiteral("//node()")).empty());
    EXPECT_TRUE(doc.selectNodes(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).empty());
}

// Files that must leave an empty document: never a crash, an exception, an expanded
// entity or a file read from elsewhere.
TEST(CargaXml, DocumentosRechazadosQuedanVacios) {
    QTemporaryDir dir;
    const QString secreto = dir.filePath(QStringLiteral("secreto.txt"));
    escribir(secreto, "SECRETO");
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
        EXPECT_FALSE(doc.loadXml(c.contenido));
        esperarVacio(doc);
        EXPECT_FALSE(doc.toByteArray().contains("SECRETO"));
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
        EXPECT_EQ(doc.loadXml(c.contenido), c.motivo.isEmpty());
        EXPECT_EQ(doc.motivoFallo().toStdString(), c.motivo.toStdString());
        if (!c.motivo.isEmpty()) continue;
        DocumentoXml releido;
        ASSERT_TRUE(releido.loadXml(doc.toByteArray())) << releido.motivoFallo().toStdString();
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
    escribir(cortado, "<?xml version=\"1.0\"?>\n<SERVICIO>\n  <BLOQUE_DATOS>\n  </SERVICIO>\n");
    // Each failure says why, for the user: the reason follows the file's name.
    struct Caso {
        QString ruta;
        QString motivo;
    };
    const Caso casos[] = {
        {grande, QStringLiteral("es demasiado grande: el límite es de 256 MB")},
        {dir.path(), QStringLiteral("es una carpeta, no un archivo")},
        {dir.filePath(QStringLiteral("falta.xml")), QStringLiteral("no existe")},
        {fixture("mil_millones.xml"),
         QStringLiteral("declara entidades, que no se admiten por seguridad")},
        {cortado, QStringLiteral("no es un documento XML válido: error en la línea 4, columna 14")},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.ruta.toStdString());
        DocumentoXml doc;
        EXPECT_FALSE(doc.load(c.ruta));
        esperarVacio(doc);
        EXPECT_EQ(doc.motivoFallo(), c.motivo);
        ASSERT_TRUE(doc.loadXml("<SERVICIO/>"));
        EXPECT_EQ(doc.motivoFallo(), QString());
    }
}

// An external DTD is neither fetched nor read: the entity that it would declare stays
// unknown and the document loads with nothing in its place.
TEST(CargaXml, DtdExternoNoSeLee) {
    QTemporaryDir dir;
    const QString dtd = dir.filePath(QStringLiteral("externo.dtd"));
    escribir(dtd, "<!ENTITY e \"SECRETO\">");
    const QByteArray xml = "<?xml version=\"1.0\"?><!DOCTYPE SERVICIO SYSTEM \"" +
                           QUrl::fromLocalFile(dtd).toEncoded() +
                           "\"><SERVICIO><dato>a&e;b</dato></SERVICIO>";
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml(xml));
    EXPECT_EQ(doc.selectSingleNode(QStringLiteral("/SERVICIO/dato")).text(), QStringLiteral("ab"));
    EXPECT_FALSE(doc.toByteArray().contains("SECRETO"));

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

TEST(ConstruccionXml, PrimerHijoSaltaSoloTextoEnBlanco) {
    DocumentoXml doc;
    NodoXml a = doc.createElement(QStringLiteral("a"));
    a.setText(QStringLiteral(" \r\n\t "));
    a.appendChild(doc.createElement(QStringLiteral("b")));
    EXPECT_EQ(a.firstChild().nombre(), QStringLiteral("b"));

    NodoXml c = doc.createElement(QStringLiteral("c"));
    c.setText(QStringLiteral(" x "));
    c.appendChild(doc.createElement(QStringLiteral("d")));
    EXPECT_EQ(c.firstChild().nombre(), QStringLiteral("#text"));
    EXPECT_EQ(c.firstChild().text(), QStringLiteral(" x "));
}

TEST(ConstruccionXml, NodosQuitadosSiguenVivosYSePuedenMover) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture("anidados.xml")));
    NodoXml bloque = doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS"));
    NodoXml primera = bloque.firstChild();
    bloque.removeChild(primera);
    EXPECT_EQ(primera.attribute(QStringLiteral("seq")), QStringLiteral("UNIDADES"));
    EXPECT_EQ(doc.selectNodes(QStringLiteral("/SERVICIO/BLOQUE_DATOS/grupo_datos")).size(), 2u);
    // Appended again it goes last; appending an attached node moves it.
    bloque.appendChild(primera);
    NodoXml segunda = bloque.firstChild();
    bloque.appendChild(segunda);
    QStringList orden;
    for (const NodoXml& s : bloque.hijos(QStringLiteral("grupo_datos"))) {
        orden << s.attribute(QStringLiteral("seq"));
    }
    EXPECT_EQ(orden, (QStringList{QStringLiteral("UNIDADES"), QStringLiteral("UNIDADES"),
                                  QStringLiteral("DEPENDENCIAS")}));

    // setText replaces the content; the replaced children stay readable.
    NodoXml dato = doc.selectSingleNode(QStringLiteral("//dato"));
    NodoXml viejo = dato.firstChild();
    dato.setText(QStringLiteral("nuevo"));
    EXPECT_EQ(dato.text(), QStringLiteral("nuevo"));
    EXPECT_EQ(viejo.text(), QStringLiteral("2B"));
    // A removed root with everything under it, and elements never attached, are
    // freed with the document (checked by the sanitizer build).
    doc.createElement(QStringLiteral("suelto")).appendChild(doc.createElement(QStringLiteral("x")));
    doc.removeChild(doc.documentElement());
    EXPECT_FALSE(doc.cargado());
}

// Values short enough to be kept inside their node and longer ones, replaced over and
// over: the replaced value nodes stay readable, names stay right after a new load, and
// many nodes created, attached and removed are all freed with the document (checked by
// the sanitizer build).
TEST(ConstruccionXml, ValoresReemplazadosYNodosSueltosSinPerdidas) {
    DocumentoXml doc;
    NodoXml r = doc.createElement(QStringLiteral("r"));
    doc.appendChild(r);
    r.setAttribute(QStringLiteral("a"), QStringLiteral("corto"));
    NodoXml valorViejo = doc.selectSingleNode(QStringLiteral("/r/@a")).firstChild();
    r.setAttribute(QStringLiteral("a"), QStringLiteral("un valor bastante más largo"));
    EXPECT_EQ(valorViejo.text(), QStringLiteral("corto"));
    EXPECT_EQ(r.attribute(QStringLiteral("a")), QStringLiteral("un valor bastante más largo"));
    // Characters XML cannot carry are left out; others of every length in UTF-8 stay.
    r.setAttribute(QStringLiteral("b"), QStringLiteral("x\u0001y") + QChar(0xD800) +
                                            QStringLiteral("ñ€") +
                                            QString::fromUcs4(U"\U0001F600", 1));
    r.setAttribute(QStringLiteral("xml:lang"), QStringLiteral("es"));
    r.setText(QStringLiteral("uno"));
    NodoXml texto = r.firstChild();
    texto.setText(QStringLiteral("un texto que ya no cabe dentro del nodo"));
    EXPECT_EQ(r.text(), QStringLiteral("un texto que ya no cabe dentro del nodo"));
    texto.setText(QStringLiteral("dos"));
    r.setText(QStringLiteral("tres"));
    EXPECT_EQ(texto.text(), QStringLiteral("dos"));
    EXPECT_EQ(doc.toByteArray(),
              QByteArray("<r a=\"un valor bastante m\xC3\xA1s largo\" b=\"xy\xC3\xB1\xE2\x82\xAC"
                         "\xF0\x9F\x98\x80\" xml:lang=\"es\">tres</r>\n"));

    for (int i = 0; i < 10000; ++i) {
        doc.createElement(QStringLiteral("suelto")).setText(QString::number(i));
        NodoXml e = doc.createElement(QStringLiteral("e"));
        r.appendChild(e);
        if (i % 2 == 0) r.removeChild(e);
    }
    EXPECT_EQ(r.hijos(QStringLiteral("e")).size(), 5000u);

    // The names used before a load are written right after it.
    ASSERT_TRUE(doc.loadXml("<r/>"));
    doc.documentElement().setAttribute(QStringLiteral("a"), QStringLiteral("1"));
    doc.documentElement().appendChild(doc.createElement(QStringLiteral("r")));
    EXPECT_EQ(doc.toByteArray(), QByteArray("<r a=\"1\"><r/></r>\n"));
}

TEST(ConstruccionXml, CambiosQueXmlNoPermiteLevantanError) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<SERVICIO><BLOQUE_DATOS/></SERVICIO>"));
    DocumentoXml otro;
    NodoXml raiz = doc.documentElement();
    NodoXml bloque = raiz.firstChild();
    const std::pair<const char*, std::function<void()>> casos[] = {
        {"añadir a un nodo nulo", [&] { NodoXml().appendChild(doc.createElement("a")); }},
        {"añadir un nodo nulo", [&] { raiz.appendChild(NodoXml()); }},
        {"segunda raiz", [&] { doc.appendChild(doc.createElement("OTRA")); }},
        {"nodo de otro documento", [&] { raiz.appendChild(otro.createElement("a")); }},
        {"contenerse a si mismo", [&] { bloque.appendChild(raiz); }},
        {"quitar lo que no es hijo", [&] { bloque.removeChild(raiz); }},
        {"quitar del documento lo que no es raiz", [&] { doc.removeChild(bloque); }},
        {"nombre de elemento", [&] { doc.createElement("1grupo"); }},
        {"nombre vacio", [&] { doc.createElement(""); }},
        {"nombre de atributo", [&] { raiz.setAttribute("a b", "x"); }},
        {"atributo en nodo nulo", [&] { NodoXml().setAttribute("a", "x"); }},
        {"texto en nodo nulo", [&] { NodoXml().setText("x"); }},
    };
    for (const auto& [nombre, accion] : casos) {
        SCOPED_TRACE(nombre);
        EXPECT_THROW(accion(), ErrorVarnolo);
    }
    // Nothing of the document changed.
    EXPECT_EQ(doc.toByteArray(), QByteArray("<SERVICIO><BLOQUE_DATOS/></SERVICIO>\n"));
}

}  // namespace
}  // namespace varnolo
