// Reading sections, records and items of exchange documents in every encoding that
// Velna may write, and of documents that are not exchange documents at all.

#include <gtest/gtest.h>

#include <QStringList>

#include "tests/xml/FixturasXml.h"
#include "velna/Sobre.h"
#include "xml/DocumentoXml.h"

namespace varnolo {
namespace {

QList<QStringList> datosDe(const QList<Registro>& registros) {
    QList<QStringList> r;
    for (const Registro& reg : registros) {
        QStringList l;
        for (int i = 0; i < reg.count(); ++i) l << reg.dato(i);
        r << l;
    }
    return r;
}

// The records of a section of a tree, in a store that lives as long as the test
// program.
QList<Registro> deArbol(const DocumentoXml& doc, const QString& seccion) {
    static AlmacenRegistros almacen;
    return registrosDeSeccion(doc, seccion, almacen);
}

// The same exchange document written in four encodings (one of them with CR LF line
// ends, one with the euro sign as a character reference) reads the same.
struct Codificacion {
    const char* archivo;
    const char* declarada;
};
void PrintTo(const Codificacion& c, std::ostream* os) { *os << c.archivo; }

class SobreCodificaciones : public ::testing::TestWithParam<Codificacion> {};

TEST_P(SobreCodificaciones, LeeSeccionesRegistrosYDatos) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture(GetParam().archivo)));
    EXPECT_EQ(doc.encoding(), QString::fromUtf8(GetParam().declarada));

    const QList<Registro> materias = deArbol(doc, QStringLiteral("MATERIAS"));
    ASSERT_EQ(materias.size(), 2);
    const Registro& m = materias[0];
    ASSERT_EQ(m.count(), 4);
    EXPECT_EQ(m.dato(0), QStringLiteral("101"));
    EXPECT_EQ(m.datoSinRecortar(0), QStringLiteral("  101 "));
    EXPECT_EQ(m.dato(1), QStringLiteral("Matemáticas Ñ"));
    EXPECT_TRUE(m.datoSinRecortar(1).startsWith(QLatin1Char('\n')) ||
                m.datoSinRecortar(1).startsWith(QLatin1Char('\r')));
    EXPECT_EQ(m.dato(2), QStringLiteral("5 €"));
    // A blank-only item keeps its blanks until it is trimmed.
    EXPECT_EQ(m.datoSinRecortar(3), QStringLiteral("   "));
    EXPECT_EQ(m.dato(3), QString());
    EXPECT_EQ(datosDe({materias[1]}),
              (QList<QStringList>{{QStringLiteral("102"), QStringLiteral("Lengua & Literatura")}}));

    // Whitespace between elements is not a node: the first child of BLOQUE_DATOS is
    // the first section.
    const NodoXml primera =
        doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).firstChild();
    EXPECT_EQ(primera.nombre(), QStringLiteral("grupo_datos"));
    EXPECT_EQ(primera.text(), QStringLiteral("2018/2019"));
    EXPECT_EQ(primera.attribute(QStringLiteral("seq")), QStringLiteral("CURSO_ESCOLAR"));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SobreCodificaciones,
                         ::testing::Values(Codificacion{"utf8.xml", "UTF-8"},
                                           Codificacion{"latin1.xml", "ISO-8859-1"},
                                           Codificacion{"cp1252.xml", "Windows-1252"},
                                           Codificacion{"utf16.xml", "UTF-16"}),
                         [](const ::testing::TestParamInfo<Codificacion>& info) {
                             const std::string archivo = info.param.archivo;
                             return archivo.substr(0, archivo.find('.'));
                         });

TEST(Sobre, SoloRegistrosEHijosDirectosYSeccionesRepetidasEnOrden) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture("anidados.xml")));
    // Records nested in records are not records of the section; items of a nested
    // record are not items of its parent; other children are not items.
    const QList<QStringList> esperados = {
        {QStringLiteral("1A"), QStringLiteral("Primero A")},
        {QStringLiteral("2B"), QStringLiteral("Segundo B")},
    };
    EXPECT_EQ(datosDe(deArbol(doc, QStringLiteral("UNIDADES"))), esperados);
    EXPECT_EQ(deArbol(doc, QStringLiteral("DEPENDENCIAS")).size(), 1);
    EXPECT_TRUE(deArbol(doc, QStringLiteral("EMPLEADOS")).isEmpty());
    // The section name is compared whole and case-sensitively.
    EXPECT_TRUE(deArbol(doc, QStringLiteral("unidades")).isEmpty());
    EXPECT_TRUE(deArbol(doc, QStringLiteral("UNIDADE")).isEmpty());
}

TEST(Sobre, HijosDaLoMismoQueLaExpresionDato) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.load(fixture("anidados.xml")));
    for (const NodoXml& registro :
         doc.selectNodes(QStringLiteral("//grupo_datos | /SERVICIO | //dato"))) {
        const auto porExpresion = registro.selectNodes(QStringLiteral("dato"));
        const auto porHijos = registro.hijos(QStringLiteral("dato"));
        ASSERT_EQ(porExpresion.size(), porHijos.size());
        for (size_t i = 0; i < porHijos.size(); ++i) {
            EXPECT_EQ(porHijos[i].text(), porExpresion[i].text());
        }
    }
}

TEST(Sobre, DocumentosSinSobreNoDanRegistros) {
    const char* archivos[] = {"sin_sobre.xml", "malformado.xml", "etiquetas_cruzadas.xml",
                              "mil_millones.xml", "no_existe.xml"};
    for (const char* archivo : archivos) {
        SCOPED_TRACE(archivo);
        DocumentoXml doc;
        doc.load(fixture(archivo));
        EXPECT_TRUE(deArbol(doc, QStringLiteral("MATERIAS")).isEmpty());
    }
}

TEST(Sobre, DatoFueraDeRangoSeLeeVacio) {
    DocumentoXml doc;
    ASSERT_TRUE(
        doc.loadXml("<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"S\"><grupo_datos>"
                    "<dato> a </dato><dato>\tb\r\n</dato></grupo_datos></grupo_datos>"
                    "</BLOQUE_DATOS></SERVICIO>"));
    const QList<Registro> registros = deArbol(doc, QStringLiteral("S"));
    ASSERT_EQ(registros.size(), 1);
    const Registro& r = registros[0];
    EXPECT_EQ(r.count(), 2);
    EXPECT_EQ(r.dato(1), QStringLiteral("b"));
    for (int i : {-1, 2, 100}) {
        EXPECT_EQ(r.dato(i), QString());
        EXPECT_EQ(r.datoSinRecortar(i), QString());
    }
    EXPECT_EQ(Registro().dato(0), QString());
}

// The record path of a section, as the old query wrote it.
QString rutaRegistros(const QString& seccion) {
    return QStringLiteral("/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"%1\"]/grupo_datos")
        .arg(seccion);
}

// Records as the old query read them: the path, then each record's dato children and
// their string values.
QList<QStringList> segunLaRuta(const DocumentoXml& doc, const QString& seccion) {
    QList<QStringList> r;
    for (const NodoXml& registro : doc.selectNodes(rutaRegistros(seccion))) {
        QStringList l;
        for (const NodoXml& dato : registro.hijos(QStringLiteral("dato"))) l << dato.text();
        r << l;
    }
    return r;
}

QList<QStringList> sinRecortar(const QList<Registro>& registros) {
    QList<QStringList> r;
    for (const Registro& reg : registros) {
        QStringList l;
        for (int i = 0; i < reg.count(); ++i) l << reg.datoSinRecortar(i);
        r << l;
    }
    return r;
}

// Reading only the records, as the export does, drops each record as soon as it is
// read; what it gives must be what the whole tree gives, on documents that try the
// path's every step (namespaces, sections without seq, records in the wrong place,
// mixed content, long blank runs, a declared element type).
TEST(Sobre, LeerSoloLosRegistrosDaLoMismoQueElArbolEntero) {
    const QByteArray blancos(700, ' ');
    const QByteArray documentos[] = {
        leer(fixture("utf8.xml")),
        leer(fixture("latin1.xml")),
        leer(fixture("cp1252.xml")),
        leer(fixture("utf16.xml")),
        leer(fixture("anidados.xml")),
        leer(fixture("sin_sobre.xml")),
        "<SERVICIO xmlns=\"urn:v\"><BLOQUE_DATOS><grupo_datos seq=\"S\"><grupo_datos>"
        "<dato>x</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
        "<SERVICIO xmlns:v=\"urn:v\"><BLOQUE_DATOS><v:grupo_datos seq=\"S\"><grupo_datos>"
        "<dato>x</dato></grupo_datos></v:grupo_datos><grupo_datos v:seq=\"S\"><grupo_datos>"
        "<dato>y</dato></grupo_datos></grupo_datos><grupo_datos seq=\"S\"><v:grupo_datos>"
        "<dato>z</dato></v:grupo_datos><grupo_datos><v:dato>no</v:dato><dato>si</dato>"
        "</grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
        "<OTRO><BLOQUE_DATOS><grupo_datos seq=\"S\"><grupo_datos><dato>x</dato></grupo_datos>"
        "</grupo_datos></BLOQUE_DATOS></OTRO>",
        "<SERVICIO><BLOQUE_DATOS><grupo_datos><dato>nivel de sección</dato></grupo_datos>"
        "<grupo_datos><grupo_datos><dato>sin seq</dato></grupo_datos></grupo_datos>"
        "</BLOQUE_DATOS><BLOQUE_DATOS>texto<grupo_datos seq=\"S\">antes<!--c--><?pi x?>"
        "<grupo_datos/><grupo_datos><dato/><dato></dato><dato>  </dato></grupo_datos>después"
        "</grupo_datos></BLOQUE_DATOS><OTRO><grupo_datos seq=\"S\"><grupo_datos><dato>no"
        "</dato></grupo_datos></grupo_datos></OTRO></SERVICIO>",
        "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"S\"><grupo_datos><dato>  <b> x </b>  y "
        "<![CDATA[ z ]]><!--c--> <i><j>k</j></i>\n</dato><dato>" +
            blancos + "<b/>" + blancos + "a" + blancos +
            "</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
        // Records under an element that is not a section, then a section made after that
        // element was dropped (it may take the same place in memory).
        "<SERVICIO><BLOQUE_DATOS><OTRO><grupo_datos><dato>no</dato></grupo_datos></OTRO><x/>"
        "<grupo_datos seq=\"S\"><grupo_datos><dato>sí</dato></grupo_datos></grupo_datos>"
        "</BLOQUE_DATOS></SERVICIO>",
        // Text on both sides of records and of other dropped elements.
        "<SERVICIO>raíz<OTRO/>sigue<BLOQUE_DATOS>antes<OTRO>x</OTRO>medio<grupo_datos seq=\"S\">"
        "uno<grupo_datos><dato>a</dato></grupo_datos>dos<otro>x</otro>tres<grupo_datos><dato>b"
        "</dato></grupo_datos>cuatro</grupo_datos>cinco</BLOQUE_DATOS>fin</SERVICIO>",
        "<!DOCTYPE SERVICIO [<!ELEMENT dato (#PCDATA|b)*><!ATTLIST grupo_datos seq CDATA "
        "\"S\">]><SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"S\"><grupo_datos><dato> <b/> "
        "</dato></grupo_datos></grupo_datos><grupo_datos><grupo_datos><dato>por omisión"
        "</dato></grupo_datos></grupo_datos></BLOQUE_DATOS></SERVICIO>",
    };
    for (const QByteArray& xml : documentos) {
        SCOPED_TRACE(xml.left(120).toStdString());
        DocumentoXml entero;
        SeccionesDocumento registros;
        ASSERT_TRUE(entero.loadXml(xml));
        ASSERT_TRUE(registros.leerXml(xml));
        QStringList secciones{QStringLiteral("S"), QStringLiteral("MATERIAS"),
                              QStringLiteral("UNIDADES"), QStringLiteral("DEPENDENCIAS")};
        for (const NodoXml& seq : entero.selectNodes(QStringLiteral("//@seq"))) {
            secciones << seq.text();
        }
        for (const QString& seccion : secciones) {
            SCOPED_TRACE(seccion.toStdString());
            const QList<QStringList> esperados = segunLaRuta(entero, seccion);
            EXPECT_EQ(sinRecortar(deArbol(entero, seccion)), esperados);
            EXPECT_EQ(sinRecortar(registros.registros(seccion)), esperados);
        }
        // The envelope's check finds the same.
        EXPECT_EQ(registros.raiz(), entero.documentElement().nombre());
        EXPECT_EQ(faltaEnSobre(registros.raiz(), registros.tieneBloque()), faltaEnSobre(entero));
    }
}

// A later read forgets what an earlier one read, and a failed one leaves nothing.
TEST(Sobre, UnaLecturaNuevaOlvidaLaAnterior) {
    SeccionesDocumento doc;
    ASSERT_TRUE(doc.leer(fixture("anidados.xml")));
    EXPECT_EQ(datosDe(doc.registros(QStringLiteral("UNIDADES"))),
              (QList<QStringList>{{QStringLiteral("1A"), QStringLiteral("Primero A")},
                                  {QStringLiteral("2B"), QStringLiteral("Segundo B")}}));
    ASSERT_FALSE(doc.leer(fixture("malformado.xml")));
    EXPECT_TRUE(doc.registros(QStringLiteral("UNIDADES")).isEmpty());
    EXPECT_TRUE(doc.raiz().isEmpty());
}

// A large school: 20,000 records in one section, behind another section (the time
// it takes is measured by bench_tiempos).
TEST(Sobre, VeinteMilRegistrosSeSeleccionanTodos) {
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><BLOQUE_DATOS>\n"
        "<grupo_datos seq=\"ACTIVIDADES\"><grupo_datos><dato>1</dato><dato>2</dato>"
        "</grupo_datos></grupo_datos>\n<grupo_datos seq=\"MATERIAS\">\n";
    constexpr int kRegistros = 20000;
    for (int i = 0; i < kRegistros; ++i) {
        xml += "  <grupo_datos seq=\"MATERIA\"><dato nombre_dato=\"X\">" + QByteArray::number(i) +
               "</dato><dato> Materia " + QByteArray::number(i) +
               " </dato><dato>C</dato><dato>D</dato></grupo_datos>\n";
    }
    xml += "</grupo_datos></BLOQUE_DATOS></SERVICIO>\n";
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml(xml));

    const auto nodos = doc.selectNodes(rutaRegistros(QStringLiteral("MATERIAS")));
    EXPECT_EQ(nodos.size(), size_t{kRegistros});

    const QList<Registro> registros = deArbol(doc, QStringLiteral("MATERIAS"));
    ASSERT_EQ(registros.size(), kRegistros);
    EXPECT_EQ(registros[kRegistros - 1].dato(1), QStringLiteral("Materia 19999"));
    EXPECT_EQ(registros[0].count(), 4);
}

}  // namespace
}  // namespace varnolo
