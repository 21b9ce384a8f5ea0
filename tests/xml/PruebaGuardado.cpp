// Saving: the encoding of the declaration, what stands outside the root, the exact
// bytes of a result document, and the old file kept when a save fails.

#include <gtest/gtest.h>
#include <libxml/encoding.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <csignal>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "FixturasXml.h"
#include "data/DocumentoXml.h"
#include "data/Errores.h"

namespace varnolo {
namespace {

QByteArray utf16(const QString& texto) {
    return QByteArray("\xFF\xFE") +
           QByteArray(reinterpret_cast<const char*>(texto.utf16()), texto.size() * 2);
}

// The result document of an import, built the way the import builds it on the
// loaded exchange document.
TEST(GuardadoXml, DocumentoResultadoByteAByte) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture("latin1.xml")));
    NodoXml raiz = doc.documentElement();
    raiz.removeChild(doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")));
    doc.removeChild(raiz);

    NodoXml servicio = doc.createElement(QStringLiteral("SERVICIO"));
    servicio.setAttribute(QStringLiteral("modulo"), QStringLiteral("PROVISIONAL"));
    servicio.setAttribute(QStringLiteral("tipo"), QStringLiteral("I"));
    servicio.setAttribute(QStringLiteral("autor"), QStringLiteral("VELNA"));
    servicio.setAttribute(QStringLiteral("fecha"), QStringLiteral("15/03/2026 10:30:00"));
    servicio.setAttribute(QStringLiteral("modulo"), QStringLiteral("HORARIOS"));  // keeps its place
    doc.appendChild(servicio);
    servicio.appendChild(doc.createElement(QStringLiteral("BLOQUE_DATOS")));

    auto grupo = [&](const QString& seq, const QString& registros = {}) {
        NodoXml g = doc.createElement(QStringLiteral("grupo_datos"));
        g.setAttribute(QStringLiteral("seq"), seq);
        if (!registros.isEmpty()) g.setAttribute(QStringLiteral("registros"), registros);
        return g;
    };
    auto dato = [&](NodoXml& padre, const QString& nombre, const QString& valor) {
        NodoXml d = doc.createElement(QStringLiteral("dato"));
        d.setAttribute(QStringLiteral("nombre_dato"), nombre);
        d.setText(valor);
        padre.appendChild(d);
    };
    NodoXml anno = grupo(QStringLiteral("ANNO_ACADEMICO"));
    dato(anno, QStringLiteral("C_ANNO"), QStringLiteral("2018"));
    doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).appendChild(anno);

    NodoXml horarios = grupo(QStringLiteral("HORARIOS_REGULARES"), QStringLiteral("1"));
    NodoXml profesor = grupo(QStringLiteral("PROFESOR"), QStringLiteral("1"));
    // Markup characters are escaped, a character that Latin-1 lacks becomes a
    // character reference, a carriage return survives, a control character is dropped.
    dato(profesor, QStringLiteral("D_NOMBRE"), QStringLiteral("Núñez & Peña <Jefa> €"));
    dato(profesor, QStringLiteral("Comilla \"doble\" <&>"), QStringLiteral("línea 1\r\nlínea 2"));
    dato(profesor, QStringLiteral("VACIO"), QString());
    NodoXml actividad = grupo(QStringLiteral("ACTIVIDAD"));
    dato(actividad, QStringLiteral("X"),
         QStringLiteral("a\x01"
                        "b"));
    profesor.appendChild(actividad);
    horarios.appendChild(profesor);
    doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).appendChild(horarios);

    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorlatin1.xml"));
    doc.save(ruta);
    const QByteArray esperado = leer(fixture("resultado_latin1.xml"));
    ASSERT_FALSE(esperado.isEmpty());
    EXPECT_EQ(leer(ruta), esperado);
    EXPECT_EQ(doc.toByteArray(), esperado);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"ResultadoZentorlatin1.xml"});

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
        {"Windows-1252", "<?xml version=\"1.0\" encoding=\"Windows-1252\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<a>\xF1\x80</a>\n"},
        {"UTF-16", utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>")),
         utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<a>ñ€</a>\n"))},
        // No declaration: UTF-8, and still no declaration.
        {"UTF-8", "<a/>", "<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
        {"UTF-8", "\xEF\xBB\xBF<a/>", "<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
        {"UTF-8", "<?xml version=\"1.0\" standalone=\"yes\"?>\n<a/>",
         "<?xml version=\"1.0\" standalone=\"yes\"?>\n<a>\xC3\xB1\xE2\x82\xAC</a>\n"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.esperado.toStdString());
        DocumentoXml doc;
        ASSERT_TRUE(doc.loadXml(c.origen));
        EXPECT_EQ(doc.encoding(), QString::fromLatin1(c.codificacion));
        doc.documentElement().setText(QStringLiteral("ñ€"));
        const QByteArray escrito = doc.toByteArray();
        EXPECT_EQ(escrito.toHex(' '), c.esperado.toHex(' '));

        DocumentoXml releido;
        ASSERT_TRUE(releido.loadXml(escrito));
        EXPECT_EQ(releido.documentElement().text(), QStringLiteral("ñ€"));
        EXPECT_EQ(releido.encoding(), doc.encoding());
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
    EXPECT_THROW(doc.toByteArray(), ErrorVarnolo);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorutf7.xml"));
    EXPECT_THROW(doc.save(ruta), ErrorVarnolo);
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::Files | QDir::Hidden));
}

// What stood outside the old root stays in its order; the new root is appended,
// so it comes after the comments and processing instructions that followed the old.
TEST(GuardadoXml, NuevaRaizAlFinalDelDocumento) {
    const QByteArray origen =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!--antes-->\n<?p1 x?>\n"
        "<SERVICIO><BLOQUE_DATOS/></SERVICIO>\n<!--despues-->\n<?p2?>\n";
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml(origen));
    EXPECT_EQ(doc.toByteArray(), origen);
    doc.removeChild(doc.documentElement());
    NodoXml nueva = doc.createElement(QStringLiteral("SERVICIO"));
    nueva.setAttribute(QStringLiteral("tipo"), QStringLiteral("I"));
    doc.appendChild(nueva);
    EXPECT_EQ(doc.toByteArray(),
              QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!--antes-->\n<?p1 x?>\n"
                         "<!--despues-->\n<?p2?>\n<SERVICIO tipo=\"I\"/>\n"));
}

TEST(GuardadoXml, GuardarReemplazaElArchivo) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorplan.xml"));
    QFile viejo(ruta);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write(QByteArray(5000, 'x'));
    viejo.close();
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<SERVICIO/>"));
    doc.save(ruta);
    EXPECT_EQ(leer(ruta), QByteArray("<SERVICIO/>\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
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

TEST(GuardadoXml, FalloAlGuardarDejaElArchivoAnterior) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<SERVICIO/>"));
    QTemporaryDir dir;

    // The target is a folder: it stays a folder with its content.
    const QString carpeta = dir.filePath(QStringLiteral("resultado.xml"));
    ASSERT_TRUE(QDir().mkpath(carpeta + QStringLiteral("/dentro")));
    try {
        doc.save(carpeta);
        ADD_FAILURE() << "se esperaba un error";
    } catch (const ErrorVarnolo& e) {
        EXPECT_TRUE(e.texto().contains(QDir::toNativeSeparators(carpeta))) << e.what();
    }
    EXPECT_TRUE(QFileInfo(carpeta + QStringLiteral("/dentro")).isDir());

    // The folder cannot be written: the old file is left whole and nothing is added.
    const QString protegida = dir.filePath(QStringLiteral("protegida"));
    ASSERT_TRUE(QDir().mkpath(protegida));
    const QString ruta = protegida + QStringLiteral("/ResultadoZentorplan.xml");
    QFile viejo(ruta);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("anterior");
    viejo.close();
    {
        CarpetaSoloLectura bloqueo(protegida);
        if (bloqueo.escribible()) GTEST_SKIP() << "no se puede proteger una carpeta aquí";
        EXPECT_THROW(doc.save(ruta), ErrorVarnolo);
    }
    EXPECT_EQ(leer(ruta), QByteArray("anterior"));
    EXPECT_EQ(QDir(protegida).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// A write that fails half-way (here: past the file size limit, as a full disk would):
// the user gets our error with the reason, and libxml2 prints nothing of its own.
TEST(GuardadoXml, FalloAlEscribirNoImprimeNadaPorSuCuenta) {
#ifdef _WIN32
    GTEST_SKIP() << "el límite de tamaño de archivo es de POSIX";
#else
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<SERVICIO/>"));
    NodoXml raiz = doc.documentElement();
    NodoXml dato = doc.createElement(QStringLiteral("dato"));
    dato.setText(QString(256 * 1024, u'x'));
    raiz.appendChild(dato);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("ResultadoZentorgrande.xml"));

    struct rlimit antes;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    void (*senal)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limite = antes;
    limite.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    QString mensaje;
    testing::internal::CaptureStderr();
    try {
        doc.save(ruta);
    } catch (const ErrorVarnolo& e) {
        mensaje = e.texto();
    }
    const std::string impreso = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, senal);

    EXPECT_EQ(impreso, "");
    EXPECT_TRUE(mensaje.startsWith(QStringLiteral("No se ha podido guardar el archivo ") +
                                   QDir::toNativeSeparators(ruta) + QStringLiteral(": ")))
        << mensaje.toStdString();
    EXPECT_FALSE(QFile::exists(ruta));
#endif
}

}  // namespace
}  // namespace varnolo
