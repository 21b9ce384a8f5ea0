// The watch over a document's markup: an element with more attributes than allowed is
// refused wherever the bytes break, and '=' that is not an attribute's (in values,
// text, comments, CDATA, instructions, the document type) never counts.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "tests/comun/Prueba.h"
#include "tests/xml/FixturasXml.h"
#include "xml/DocumentoXml.h"
#include "xml/VigiaMarcado.h"

namespace varnolo {
namespace {

QByteArray atributos(int n, const QByteArray& prefijo = "a") {
    QByteArray b;
    for (int i = 0; i < n; ++i) b += ' ' + prefijo + QByteArray::number(i) + "=\"v\"";
    return b;
}

TEST(VigiaMarcado, CuentaSoloLosAtributosDeCadaElemento) {
    const int max = VigiaMarcado::kMaxAtributos;
    const QByteArray muchosIguales = QByteArray("=").repeated(10 * max);
    struct Caso {
        const char* que;
        QByteArray xml;
        bool admitido;
        qint64 linea = 0;
    };
    const Caso casos[] = {
        {"el límite justo", "<S" + atributos(max) + "/>", true},
        {"uno más", "<S>\n\n <a" + atributos(max + 1) + "/></S>", false, 3},
        {"espacios de nombres", "<S" + atributos(max + 1, "xmlns:p") + "/>", false, 1},
        {"comillas simples y '>' en un valor",
         "<S a='>" + muchosIguales + "'" + atributos(max - 1) + "/>", true},
        {"el límite en cada uno de muchos elementos",
         QByteArray("<a" + atributos(max) + "/>").repeated(50), true},
        {"texto", "<S>" + muchosIguales + "</S>", true},
        {"comentario", "<S><!-- <a " + muchosIguales + " --></S>", true},
        {"CDATA", "<S><![CDATA[<a " + muchosIguales + "]]></S>", true},
        {"instrucción", "<?p <a " + muchosIguales + "?><S/>", true},
        {"tipo de documento con un comentario de comilla suelta",
         "<!DOCTYPE S [<!-- it's --><!ATTLIST S a CDATA '" + muchosIguales + "'>]><S/>", true},
        {"tras un tipo de documento con un comentario de comilla suelta",
         "<!DOCTYPE S [<!-- it's -->]><S" + atributos(max + 1) + "/>", false, 1},
        {"etiqueta de cierre", "<S></S " + muchosIguales + ">", true},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        VigiaMarcado entero;
        EXPECT_EQ(entero.leer(c.xml.constData(), c.xml.size()), c.admitido);
        // Any cut between reads gives the same answer.
        VigiaMarcado troceado;
        bool admitido = true;
        for (qsizetype i = 0; i < c.xml.size(); i += 7) {
            admitido =
                troceado.leer(c.xml.constData() + i, std::min<qsizetype>(7, c.xml.size() - i));
        }
        EXPECT_EQ(admitido, c.admitido);
        if (!c.admitido) {
            EXPECT_EQ(entero.desplazamiento(), troceado.desplazamiento());
            qint64 linea = 0, columna = 0;
            VigiaMarcado::lugar(c.xml.left(entero.desplazamiento()), linea, columna);
            EXPECT_EQ(linea, c.linea);
            EXPECT_EQ(c.xml.at(entero.desplazamiento()), '<');
        }
    }
}

// A million attributes on one element (a 16 MB file): refused before the parser's
// check for repeats, which would take hours, with the place and the reason.
TEST(VigiaMarcado, UnMillonDeAtributosSeRechazanConSuLugar) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("atributos.xml"));
    prueba::escribirBytes(ruta, "<SERVICIO>\n  <dato" + atributos(1000000) + "/>\n</SERVICIO>");
    DocumentoXml doc;
    const ResultadoCarga r = doc.load(ruta);
    EXPECT_EQ(r.motivo, ResultadoCarga::Motivo::MalFormado);
    EXPECT_EQ(r.texto(),
              QStringLiteral("no es un documento XML válido: error en la línea 2, columna 3: un "
                             "elemento tiene más de 256 atributos, y los de un documento de "
                             "intercambio llevan unos pocos"));
    EXPECT_EQ(doc.loadXml(leer(ruta)).texto(), r.texto());
}

}  // namespace
}  // namespace varnolo
