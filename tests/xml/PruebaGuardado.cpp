// The result writer: the encoding of the declaration, what stands outside the root,
// the exact bytes of a result document, and the old file kept when a save fails.

#include <gtest/gtest.h>
#include <libxml/encoding.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "base/Archivos.h"
#include "base/Errores.h"
#include "base/ErroresSistema.h"
#include "tests/comun/Prueba.h"
#include "tests/xml/FixturasXml.h"
#include "xml/DocumentoXml.h"
#include "xml/EscritorXml.h"

namespace varnolo {
namespace {

using prueba::ArchivosQueFallan;

QByteArray utf16(const QString& texto) {
    return QByteArray("\xFF\xFE") +
           QByteArray(reinterpret_cast<const char*>(texto.utf16()), texto.size() * 2);
}

/// The contorno of a document loaded from these bytes.
ContornoXml contornoDe(const QByteArray& xml) {
    DocumentoXml doc;
    EXPECT_TRUE(doc.loadXml(xml)) << doc.motivoFallo().toStdString();
    return doc.contorno();
}

/// A result holding one root element with that text, written in memory.
QByteArray conRaiz(const ContornoXml& contorno, const QString& nombre, const QString& texto) {
    EscritorXml escritor(contorno);
    escritor.abrir(nombre);
    escritor.texto(texto);
    escritor.terminar();
    return escritor.bytes();
}

// The result document of an import, written the way the import writes it in the
// place of the loaded exchange document.
TEST(GuardadoXml, DocumentoResultadoByteAByte) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture("latin1.xml")));

    const auto escribir = [](EscritorXml& xml) {
        xml.abrir(QStringLiteral("SERVICIO"));
        xml.atributo(QStringLiteral("modulo"), QStringLiteral("PROVISIONAL"));
        xml.atributo(QStringLiteral("tipo"), QStringLiteral("I"));
        xml.atributo(QStringLiteral("autor"), QStringLiteral("VELNA"));
        xml.atributo(QStringLiteral("fecha"), QStringLiteral("15/03/2026 10:30:00"));
        xml.atributo(QStringLiteral("modulo"), QStringLiteral("HORARIOS"));  // keeps its place
        xml.abrir(QStringLiteral("BLOQUE_DATOS"));
        const auto grupo = [&](const QString& seq, const QString& registros = {}) {
            xml.abrir(QStringLiteral("grupo_datos"));
            xml.atributo(QStringLiteral("seq"), seq);
            if (!registros.isEmpty()) xml.atributo(QStringLiteral("registros"), registros);
        };
        const auto dato = [&](const QString& nombre, const QString& valor) {
            xml.abrir(QStringLiteral("dato"));
            xml.atributo(QStringLiteral("nombre_dato"), nombre);
            xml.texto(valor);
            xml.cerrar();
        };
        grupo(QStringLiteral("ANNO_ACADEMICO"));
        dato(QStringLiteral("C_ANNO"), QStringLiteral("2018"));
        xml.cerrar();
        grupo(QStringLiteral("HORARIOS_REGULARES"), QStringLiteral("1"));
        grupo(QStringLiteral("PROFESOR"), QStringLiteral("1"));
        // Markup characters are escaped, a character that Latin-1 lacks becomes a
        // character reference, a carriage return survives, a control character is
        // dropped.
        dato(QStringLiteral("D_NOMBRE"), QStringLiteral("Núñez & Peña <Jefa> €"));
        dato(QStringLiteral("Comilla \"doble\" <&>"), QStringLiteral("línea 1\r\nlínea 2"));
        dato(QStringLiteral("VACIO"), QString());
        grupo(QStringLiteral("ACTIVIDAD"));
        dato(QStringLiteral("X"), QStringLiteral("a\x01"
                                                 "b"));
        xml.terminar();  // closes what is still open
    };

    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorlatin1.xml"));
    EscritorXml archivo(doc.contorno(), ruta);
    escribir(archivo);
    EscritorXml memoria(doc.contorno());
    escribir(memoria);
    const QByteArray esperado = leer(fixture("resultado_latin1.xml"));
    ASSERT_FALSE(esperado.isEmpty());
    EXPECT_EQ(leer(ruta), esperado);
    EXPECT_EQ(memoria.bytes(), esperado);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"ResultadoZentorlatin1.xml"});

    // What was written reads back the same.
    DocumentoXml otra;
    ASSERT_TRUE(otra.load(ruta));
    EXPECT_EQ(otra.selectSingleNode(QStringLiteral("//dato[@nombre_dato='D_NOMBRE']")).text(),
              QStringLiteral("Núñez & Peña <Jefa> €"));
    EXPECT_EQ(otra.selectNodes(QStringLiteral("//dato"))[2].text(),
              QStringLiteral("línea 1\r\nlínea 2"));
}

// Each encoding that a declaration may name: the bytes written for "ñ€", and the
// document read back.
TEST(GuardadoXml, CodificacionDeLaDeclaracion) {
    struct Caso {
        const char* codificacion;
        QByteArray origen;
        QByteArray esperado;
    };
    const Caso casos[] = {
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a>\xF1&#8364;</a>\n"},
        {"iso-8859-1", "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<a>\xF1&#8364;</a>\n"},
        {"Windows-1252", "<?xml version=\"1.0\" encoding=\"Windows-1252\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<a>\xF1\x80</a>\n"},
        {"US-ASCII", "<?xml version=\"1.0\" encoding=\"US-ASCII\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n<a>&#241;&#8364;</a>\n"},
        {"UTF-16", utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>")),
         utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<a>ñ€</a>\n"))},
        // No declaration: UTF-8, and still no declaration.
        {"UTF-8", "<a/>", "<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
        {"UTF-8", "\xEF\xBB\xBF<a/>", "<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
        {"UTF-8", "<?xml version=\"1.0\" standalone=\"yes\"?>\n<a/>",
         "<?xml version=\"1.0\" standalone=\"yes\"?>\n<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?>\n"
         "<a>\xF1&#8364;</a>\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.esperado.toStdString());
        DocumentoXml doc;
        ASSERT_TRUE(doc.loadXml(c.origen));
        EXPECT_EQ(doc.encoding(), QString::fromLatin1(c.codificacion));
        const QByteArray escrito =
            conRaiz(doc.contorno(), QStringLiteral("a"), QStringLiteral("ñ€"));
        EXPECT_EQ(escrito.toHex(' '), c.esperado.toHex(' '));

        DocumentoXml releido;
        ASSERT_TRUE(releido.loadXml(escrito));
        EXPECT_EQ(releido.documentElement().text(), QStringLiteral("ñ€"));
        EXPECT_EQ(releido.encoding(), doc.encoding());
    }
}

// The writer escapes and encodes as libxml2's own serialiser does, which wrote the
// results before it: markup characters in text and in attribute values, line ends,
// tabs, characters beyond the encoding, and empty elements.
TEST(GuardadoXml, EscribeComoElSerializadorDeLibxml2) {
    const QString valores[] = {
        QStringLiteral("a&b<c>d\"e'f"),
        QStringLiteral("tab\tlf\ncr\rcrlf\r\n"),
        QStringLiteral("ñ€Ā") + QString::fromUcs4(U"\U0001F600", 1),
        QStringLiteral("]]> &amp; &#13;"),
        QString(),
    };
    for (const char* codificacion :
         {"UTF-8", "ISO-8859-1", "Windows-1252", "UTF-16", "US-ASCII", "iso-8859-15"}) {
        for (const QString& valor : valores) {
            SCOPED_TRACE(std::string(codificacion) + " " + valor.toStdString());
            const QByteArray v = valor.toUtf8();
            const auto* x = reinterpret_cast<const xmlChar*>(v.constData());

            // libxml2 building and saving the same document.
            DocumentoXml registro;  // registers the program's Windows-1252 handler
            xmlCharEncodingHandlerPtr manejador = xmlFindCharEncodingHandler(codificacion);
            if (manejador == nullptr) continue;  // not in this build of libxml2 (no iconv)
            xmlCharEncCloseFunc(manejador);
            xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
            doc->encoding = xmlStrdup(BAD_CAST codificacion);
            xmlNodePtr raiz = xmlNewDocNode(doc, nullptr, BAD_CAST "r", nullptr);
            xmlDocSetRootElement(doc, raiz);
            xmlNewProp(raiz, BAD_CAST "a", x);
            xmlNodePtr t = xmlNewChild(raiz, nullptr, BAD_CAST "t", nullptr);
            if (!v.isEmpty()) xmlAddChild(t, xmlNewDocText(doc, x));
            xmlNewChild(raiz, nullptr, BAD_CAST "v", nullptr);
            xmlBufferPtr buffer = xmlBufferCreate();
            xmlSaveCtxtPtr ctx = xmlSaveToBuffer(buffer, codificacion, 0);
            ASSERT_NE(ctx, nullptr);
            xmlSaveDoc(ctx, doc);
            xmlSaveClose(ctx);
            const QByteArray deLibxml2(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                                       xmlBufferLength(buffer));
            xmlBufferFree(buffer);
            xmlFreeDoc(doc);

            ContornoXml contorno;
            contorno.declaracion = true;
            contorno.codificacion = codificacion;
            EscritorXml escritor(contorno);
            escritor.abrir(QStringLiteral("r"));
            escritor.atributo(QStringLiteral("a"), valor);
            escritor.abrir(QStringLiteral("t"));
            escritor.texto(valor);
            escritor.cerrar();
            escritor.abrir(QStringLiteral("v"));
            escritor.terminar();
            EXPECT_EQ(escritor.bytes().toHex(' '), deLibxml2.toHex(' '));
        }
    }
}

// Characters that the encoding cannot hold become references, and the text after them
// stays as it was, whatever converter the system has for that name. (With some
// converters, such as the one for "ISO-88591-", libxml2's own recovery shifted the
// bytes after such a character: the reference lost, "&quot;" cut in two, the file
// unreadable.)
TEST(GuardadoXml, CaracteresFueraDeLaCodificacionConCualquierConversor) {
    const QString valor = QStringLiteral("Pe\u00f1a \u1A48 \"x\" & y \u20AC") +
                          QString::fromUcs4(U"\U0001F600", 1) + QStringLiteral(" fin");
    for (const char* codificacion :
         {"ISO-88591-", "latin1", "CP850", "ISO-8859-15", "US-ASCII", "ISO-8859-1", "SHIFT_JIS"}) {
        SCOPED_TRACE(codificacion);
        DocumentoXml registro;  // registers the program's Windows-1252 handler
        xmlCharEncodingHandlerPtr manejador = xmlFindCharEncodingHandler(codificacion);
        if (manejador == nullptr) continue;  // no converter for it in this build
        xmlCharEncCloseFunc(manejador);
        ContornoXml contorno;
        contorno.declaracion = true;
        contorno.codificacion = codificacion;
        EscritorXml escritor(contorno);
        escritor.abrir(QStringLiteral("r"));
        escritor.atributo(QStringLiteral("a"), valor);
        escritor.abrir(QStringLiteral("t"));
        escritor.texto(valor);
        escritor.terminar();
        DocumentoXml releido;
        ASSERT_TRUE(releido.loadXml(escritor.bytes())) << releido.motivoFallo().toStdString();
        EXPECT_EQ(releido.documentElement().attribute(QStringLiteral("a")), valor);
        EXPECT_EQ(releido.selectSingleNode(QStringLiteral("/r/t")).text(), valor);
    }
}

// A document in an encoding whose output no reader would recognise (UTF-7 writes even
// the declaration as "+ADw?xml") is refused rather than written unreadable.
TEST(GuardadoXml, CodificacionIlegibleNoSeEscribe) {
    const QByteArray utf7 = "<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<SERVICIO>x</SERVICIO>";
    DocumentoXml doc;
    xmlCharEncodingHandlerPtr manejador = xmlFindCharEncodingHandler("UTF-7");
    if (manejador != nullptr) xmlCharEncCloseFunc(manejador);
    if (manejador == nullptr) {
        // A libxml2 without iconv (the Windows build) knows no UTF-7: such a document
        // is refused when read, so it can never be written.
        EXPECT_FALSE(doc.loadXml(utf7));
        GTEST_SKIP()
            << "Esta libxml2 no tiene UTF-7 (sin iconv): el documento se rechaza al leerlo";
    }
    ASSERT_TRUE(doc.loadXml(utf7));
    EXPECT_EQ(doc.documentElement().text(), QStringLiteral("x"));
    EXPECT_THROW(conRaiz(doc.contorno(), QStringLiteral("SERVICIO"), QString()), ErrorVarnolo);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorutf7.xml"));
    EXPECT_THROW(
        {
            EscritorXml escritor(doc.contorno(), ruta);
            escritor.abrir(QStringLiteral("SERVICIO"));
            escritor.terminar();
        },
        ErrorVarnolo);
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::Files | QDir::Hidden));
}

// What stood outside the old root stays in its order, written as it was read; the new
// root comes last, after the comments and processing instructions that followed the
// old one.
TEST(GuardadoXml, NuevaRaizAlFinalDelDocumento) {
    struct Caso {
        QByteArray origen;
        QByteArray esperado;
    };
    const Caso casos[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!--antes-->\n<?p1 x?>\n"
         "<SERVICIO><BLOQUE_DATOS/></SERVICIO>\n<!--despu\xE9s-->\n<?p2?>\n",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!--antes-->\n<?p1 x?>\n"
         "<!--despu\xE9s-->\n<?p2?>\n<SERVICIO tipo=\"I\"><vacio/></SERVICIO>\n"},
        // A document type, its declarations written back as libxml2 writes them.
        {"<!DOCTYPE SERVICIO [ <!ELEMENT SERVICIO ANY> <!ATTLIST SERVICIO tipo CDATA #IMPLIED> ]>"
         "<!---->\n<SERVICIO/>",
         "<!DOCTYPE SERVICIO [\n<!ELEMENT SERVICIO ANY>\n"
         "<!ATTLIST SERVICIO tipo CDATA #IMPLIED>\n]>\n<!---->\n"
         "<SERVICIO tipo=\"I\"><vacio/></SERVICIO>\n"},
        // A default that holds a '<' (read from a reference) goes out as a reference
        // again: bare, no parser would read the result.
        {"<!DOCTYPE SERVICIO [<!ATTLIST SERVICIO tipo CDATA \"a&#60;b&#38;c\">]><SERVICIO/>",
         "<!DOCTYPE SERVICIO [\n<!ATTLIST SERVICIO tipo CDATA \"a&#60;b&#38;c\">\n]>\n"
         "<SERVICIO tipo=\"I\"><vacio/></SERVICIO>\n"},
        // Whatever the document type names, the result is written by the rules of XML.
        {"<!DOCTYPE SERVICIO PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\"><SERVICIO/>",
         "<!DOCTYPE SERVICIO PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
         "<SERVICIO tipo=\"I\"><vacio/></SERVICIO>\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.origen.toStdString());
        EscritorXml escritor(contornoDe(c.origen));
        escritor.abrir(QStringLiteral("SERVICIO"));
        escritor.atributo(QStringLiteral("tipo"), QStringLiteral("I"));
        escritor.abrir(QStringLiteral("vacio"));
        escritor.terminar();
        EXPECT_EQ(escritor.bytes(), c.esperado);
        DocumentoXml releido;
        EXPECT_TRUE(releido.loadXml(escritor.bytes()));
    }
}

// Calls that XML or the order of writing do not allow raise an error and write nothing
// of their own.
TEST(GuardadoXml, LlamadasFueraDeOrdenLevantanError) {
    const std::pair<const char*, std::function<void(EscritorXml&)>> casos[] = {
        {"segunda raiz", [](EscritorXml& x) { x.cerrar(), x.abrir(QStringLiteral("OTRA")); }},
        {"atributo tras contenido",
         [](EscritorXml& x) { x.texto(QStringLiteral("t")), x.atributo(QStringLiteral("a"), {}); }},
        {"atributo tras un hijo",
         [](EscritorXml& x) {
             x.abrir(QStringLiteral("b")), x.cerrar(), x.atributo(QStringLiteral("a"), {});
         }},
        {"nombre de elemento", [](EscritorXml& x) { x.abrir(QStringLiteral("1grupo")); }},
        {"nombre vacio", [](EscritorXml& x) { x.abrir(QString()); }},
        {"nombre de atributo",
         [](EscritorXml& x) { x.atributo(QStringLiteral("a b"), QStringLiteral("x")); }},
        {"cerrar de mas", [](EscritorXml& x) { x.cerrar(), x.cerrar(); }},
        {"texto fuera de la raiz",
         [](EscritorXml& x) { x.cerrar(), x.texto(QStringLiteral("x")); }},
        {"despues de terminar", [](EscritorXml& x) { x.terminar(), x.abrir(QStringLiteral("b")); }},
    };
    for (const auto& [nombre, accion] : casos) {
        SCOPED_TRACE(nombre);
        EscritorXml escritor(contornoDe("<SERVICIO/>"));
        escritor.abrir(QStringLiteral("SERVICIO"));
        EXPECT_THROW(accion(escritor), ErrorVarnolo);
    }
}

TEST(GuardadoXml, GuardarReemplazaElArchivo) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorplan.xml"));
    prueba::escribirBytes(ruta, QByteArray(5000, 'x'));
    EscritorXml escritor(contornoDe("<SERVICIO/>"), ruta);
    escritor.abrir(QStringLiteral("SERVICIO"));
    escritor.terminar();
    EXPECT_EQ(leer(ruta), QByteArray("<SERVICIO/>\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A result abandoned half-way (an error while it is built) leaves the old file as it
// was and no temporary file, also when far more than a first block had been written.
TEST(GuardadoXml, ResultadoAbandonadoNoDejaNada) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorplan.xml"));
    prueba::escribirBytes(ruta, "anterior");
    {
        EscritorXml escritor(contornoDe("<SERVICIO/>"), ruta);
        escritor.abrir(QStringLiteral("SERVICIO"));
        for (int i = 0; i < 20000; ++i) {
            escritor.abrir(QStringLiteral("dato"));
            escritor.texto(QStringLiteral("valor %1").arg(i));
            escritor.cerrar();
        }
    }
    EXPECT_EQ(leer(ruta), QByteArray("anterior"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A write in the middle of a large result, or the final renaming, that fails: the
// user is told which file, the old result stays whole and no temporary file is left;
// the next save on a sound disk writes the whole result.
TEST(GuardadoXml, FalloDeDiscoDejaElResultadoAnterior) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorplan.xml"));
    const auto guardar = [&] {
        EscritorXml escritor(contornoDe("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><S/>"),
                             ruta);
        escritor.abrir(QStringLiteral("SERVICIO"));
        for (int i = 0; i < 50000; ++i) {
            escritor.abrir(QStringLiteral("dato"));
            escritor.texto(QStringLiteral("profesor número %1").arg(i));
            escritor.cerrar();
        }
        escritor.terminar();
    };
    guardar();
    const QByteArray sano = leer(ruta);
    ASSERT_GT(sano.size(), 1000000);
    prueba::escribirBytes(ruta, "anterior");

    struct Caso {
        const char* nombre;
        int fallarEscritura;
        bool fallarConfirmacion;
    };
    for (const Caso& c : {Caso{"primera escritura", 1, false}, Caso{"escritura 5", 5, false},
                          Caso{"al ponerlo en su sitio", 0, true}}) {
        SCOPED_TRACE(c.nombre);
        ArchivosQueFallan archivos;
        archivos.fallarEscrituraGuardado = c.fallarEscritura;
        archivos.fallarConfirmacion = c.fallarConfirmacion;
        const ArchivosInstalados instalados(archivos);
        try {
            guardar();
            ADD_FAILURE() << "se esperaba un error";
        } catch (const ErrorVarnolo& e) {
            EXPECT_TRUE(e.texto().startsWith(QStringLiteral("No se ha podido guardar el archivo ") +
                                             QDir::toNativeSeparators(ruta) + QStringLiteral(": ")))
                << e.what();
        }
        if (c.fallarEscritura > 0) {
            EXPECT_EQ(archivos.escriturasGuardado, c.fallarEscritura);
        }
        EXPECT_EQ(leer(ruta), QByteArray("anterior"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"ResultadoZentorplan.xml"});
    }
    guardar();
    EXPECT_EQ(leer(ruta), sano);
}

// Makes a folder unwritable for the life of the object; also for the administrator,
// whom file modes do not stop, through the immutable attribute where the file system
// has it.
class CarpetaSoloLectura {
  public:
    explicit CarpetaSoloLectura(const QString& carpeta) : carpeta_(carpeta) {
        QFile::setPermissions(carpeta_, QFile::ReadOwner | QFile::ExeOwner);
        if (!escribible()) return;
        inmutable_ = QProcess::execute(QStringLiteral("chattr"), {"+i", carpeta_}) == 0;
    }
    ~CarpetaSoloLectura() {
        if (inmutable_) QProcess::execute(QStringLiteral("chattr"), {"-i", carpeta_});
        QFile::setPermissions(carpeta_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool escribible() const {
        QFile prueba(carpeta_ + QStringLiteral("/.prueba"));
        const bool si = prueba.open(QIODevice::WriteOnly);
        if (si) prueba.remove();
        return si;
    }

  private:
    QString carpeta_;
    bool inmutable_ = false;
};

void guardarServicio(const QString& ruta) {
    EscritorXml escritor(contornoDe("<SERVICIO/>"), ruta);
    escritor.abrir(QStringLiteral("SERVICIO"));
    escritor.terminar();
}

TEST(GuardadoXml, FalloAlGuardarDejaElArchivoAnterior) {
    QTemporaryDir dir;

    // The target is a folder: it stays a folder with its content.
    const QString carpeta = dir.filePath(QStringLiteral("resultado.xml"));
    ASSERT_TRUE(QDir().mkpath(carpeta + QStringLiteral("/dentro")));
    try {
        guardarServicio(carpeta);
        ADD_FAILURE() << "se esperaba un error";
    } catch (const ErrorVarnolo& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("No se ha podido guardar el archivo %1: hay una "
                                            "carpeta con ese nombre.")
                                 .arg(QDir::toNativeSeparators(carpeta)));
    }
    EXPECT_TRUE(QFileInfo(carpeta + QStringLiteral("/dentro")).isDir());

    // The folder cannot be written: the old file is left whole and nothing is added.
    const QString protegida = dir.filePath(QStringLiteral("protegida"));
    ASSERT_TRUE(QDir().mkpath(protegida));
    const QString ruta = protegida + QStringLiteral("/ResultadoZentorplan.xml");
    prueba::escribirBytes(ruta, "anterior");
    {
        CarpetaSoloLectura bloqueo(protegida);
        if (bloqueo.escribible()) GTEST_SKIP() << "no se puede proteger una carpeta aquí";
        EXPECT_THROW(guardarServicio(ruta), ErrorVarnolo);
    }
    EXPECT_EQ(leer(ruta), QByteArray("anterior"));
    EXPECT_EQ(QDir(protegida).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A write that fails half-way (here: past the file size limit, as a nearly full disk
// would): the system takes part of a write without an error and refuses the rest, or
// refuses what Qt still buffered when the file is put in place. Either way the user
// gets our error with the reason in Spanish, the old result stays, and libxml2
// prints nothing of its own.
TEST(GuardadoXml, FalloAlEscribirNoImprimeNadaPorSuCuenta) {
#ifdef _WIN32
    GTEST_SKIP() << "el límite de tamaño de archivo es de POSIX";
#else
    struct Caso {
        const char* que;
        rlim_t limite;
        qsizetype texto;
    };
    const Caso casos[] = {
        {"escrito en parte y luego rechazado", 64 * 1024, 256 * 1024},
        {"rechazado al vaciar el búfer de Qt", 1024, 4 * 1024},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        QTemporaryDir dir;
        const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorgrande.xml"));
        prueba::escribirBytes(ruta, "anterior");

        struct rlimit antes;
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
        void (*senal)(int) = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limite = antes;
        limite.rlim_cur = c.limite;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
        QString mensaje;
        testing::internal::CaptureStderr();
        try {
            EscritorXml escritor(contornoDe("<SERVICIO/>"), ruta);
            escritor.abrir(QStringLiteral("SERVICIO"));
            escritor.abrir(QStringLiteral("dato"));
            escritor.texto(QString(c.texto, u'x'));
            escritor.terminar();
        } catch (const ErrorVarnolo& e) {
            mensaje = e.texto();
        }
        const std::string impreso = testing::internal::GetCapturedStderr();
        setrlimit(RLIMIT_FSIZE, &antes);
        std::signal(SIGXFSZ, senal);

        EXPECT_EQ(impreso, "");
        EXPECT_EQ(mensaje, QStringLiteral("No se ha podido guardar el archivo ") +
                               QDir::toNativeSeparators(ruta) +
                               QStringLiteral(": el archivo supera el tamaño que el sistema "
                                              "permite."))
            << mensaje.toStdString();
        EXPECT_EQ(leer(ruta), QByteArray("anterior"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
#endif
}

// The reasons the system gives for a refused write, in Spanish: a full disk (the
// device that is always full) and an old result that the user may not change.
TEST(GuardadoXml, MotivoDelSistemaEnCastellano) {
#ifndef _WIN32
    QFile lleno(QStringLiteral("/dev/full"));
    if (lleno.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        EXPECT_EQ(lleno.write("x", 1), -1);
        EXPECT_EQ(textoFalloArchivo(lleno), QStringLiteral("el disco está lleno"));
    }
#endif
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorajeno.xml"));
    prueba::escribirBytes(ruta, "anterior");
    // Read-only for its owner; for the administrator, immutable where the file system
    // has the attribute.
    QFile(ruta).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadUser);
    const bool inmutable = QFileInfo(ruta).isWritable() &&
                           QProcess::execute(QStringLiteral("chattr"), {"+i", ruta}) == 0;
    const bool protegido = !QFileInfo(ruta).isWritable();
    QString mensaje;
    if (protegido) {
        try {
            guardarServicio(ruta);
        } catch (const ErrorVarnolo& e) {
            mensaje = e.texto();
        }
    }
    if (inmutable) QProcess::execute(QStringLiteral("chattr"), {"-i", ruta});
    if (!protegido) GTEST_SKIP() << "aquí se puede escribir en todo";
    EXPECT_EQ(mensaje, QStringLiteral("No se ha podido guardar el archivo ") +
                           QDir::toNativeSeparators(ruta) +
                           QStringLiteral(": no tiene permiso para cambiar el archivo (es de "
                                          "solo lectura o de otro usuario)."))
        << mensaje.toStdString();
    EXPECT_EQ(leer(ruta), QByteArray("anterior"));
}

}  // namespace
}  // namespace varnolo
