// Windows-1252 through the program's own handler, the same on every system: every
// byte of the code page read and written back, characters outside it written as
// character references, and texts long enough to cross libxml2's blocks.

#include <gtest/gtest.h>

#include <QByteArray>

#include "xml/DocumentoXml.h"
#include "xml/EscritorXml.h"

namespace varnolo {
namespace {

const QByteArray kDeclaracion = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n";

/// A result in the place of `doc`: its root <a> holding the text.
QByteArray escribirA(const DocumentoXml& doc, const QString& texto) {
    EscritorXml escritor(doc.contorno());
    escritor.abrir(QStringLiteral("a"));
    escritor.texto(texto);
    escritor.terminar();
    return escritor.bytes();
}

TEST(CodificacionXml, Windows1252CadaByteIdaYVuelta) {
    // Every byte that XML allows in a text: 0x20 to 0xFF, the five that the code page
    // leaves undefined included (read as the control characters of the same value, as
    // Windows reads them). Markup characters are left out.
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b != '<' && b != '&' && b != '>') bytes += char(b);
    }
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml(kDeclaracion + "<a>" + bytes + "</a>"));
    const QString texto = doc.documentElement().text();
    ASSERT_EQ(texto.size(), bytes.size());
    EXPECT_EQ(texto[0x80 - 0x20 - 3], QChar(0x20AC));  // 0x80, after the three left out
    EXPECT_EQ(texto[0x81 - 0x20 - 3], QChar(0x0081));
    EXPECT_EQ(texto[0x9F - 0x20 - 3], QChar(0x0178));
    EXPECT_EQ(texto.back(), QChar(0x00FF));
    EXPECT_EQ(escribirA(doc, texto), kDeclaracion + "<a>" + bytes + "</a>\n");
}

TEST(CodificacionXml, Windows1252FueraDeLaPaginaComoReferencia) {
    struct Caso {
        QString texto;
        QByteArray escrito;
    };
    const Caso casos[] = {
        {QStringLiteral("Ā€"), "&#256;\x80"},
        {QStringLiteral("x\U0001F600y"), "x&#128512;y"},
        {QStringLiteral("Œœ…"), "\x8C\x9C\x85"},
        {QStringLiteral("ΩÑ"), "&#937;\xD1"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.escrito.toStdString());
        DocumentoXml doc;
        ASSERT_TRUE(doc.loadXml(kDeclaracion + "<a/>"));
        const QByteArray escrito = escribirA(doc, c.texto);
        EXPECT_EQ(escrito, kDeclaracion + "<a>" + c.escrito + "</a>\n");
        DocumentoXml releido;
        ASSERT_TRUE(releido.loadXml(escrito));
        EXPECT_EQ(releido.documentElement().text(), c.texto);
    }
}

TEST(CodificacionXml, Windows1252TextoLargoEntreBloques) {
    // Far beyond libxml2's conversion blocks, with multi-byte characters at every
    // offset so that some fall across the end of a block.
    QString texto;
    for (int i = 0; i < 40000; ++i) texto += (i % 3 == 0) ? u'€' : (i % 3 == 1) ? u'ñ' : u'a';
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml(kDeclaracion + "<a/>"));
    const QByteArray escrito = escribirA(doc, texto);
    EXPECT_EQ(escrito.size(), kDeclaracion.size() + 3 + texto.size() + 5);
    DocumentoXml releido;
    ASSERT_TRUE(releido.loadXml(escrito));
    EXPECT_EQ(releido.documentElement().text(), texto);
    EXPECT_EQ(releido.encoding(), QStringLiteral("windows-1252"));
}

TEST(CodificacionXml, Cp1252EsElMismoNombre) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<?xml version=\"1.0\" encoding=\"CP1252\"?><a>\x80\xF1</a>"));
    EXPECT_EQ(doc.documentElement().text(), QStringLiteral("€ñ"));
}

}  // namespace
}  // namespace varnolo
