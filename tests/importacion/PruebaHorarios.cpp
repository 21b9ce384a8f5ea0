// The timetable section: every lesson's codes translated through the work tables.
#include <gtest/gtest.h>

#include <QFile>

#include "base/Errores.h"
#include "import/Horarios.h"
#include "import/Importacion.h"
#include "tests/comun/Prueba.h"
#include "tests/importacion/MesaTrabajo.h"
#include "xml/DocumentoXml.h"

namespace varnolo {
namespace {

using prueba::agregarFilas;

/// The item values of every record of the result below `ruta`, joined by "|".
QStringList valores(const DocumentoXml& doc, const QString& ruta) {
    QStringList r;
    for (const NodoXml& g : doc.selectNodes(ruta)) {
        QStringList v;
        for (const NodoXml& d : g.selectNodes(QStringLiteral("dato"))) v << d.text();
        r << v.join(QLatin1Char('|'));
    }
    return r;
}

QString profesor(int k) {
    return QStringLiteral(
               "/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"HORARIOS_REGULARES\"]/"
               "grupo_datos[@seq=\"HORARIO_REGULAR_PROFESOR_%1\"]")
        .arg(k);
}

class Horarios : public ::testing::Test {
  protected:
    prueba::Carpetas carpetas;
    prueba::PreguntasPrueba ui;
    DocumentoXml resultado;

    void SetUp() override { prueba::crearMesaVacia(carpetas.entorno()); }

    /// Runs the import over a minimal exchange document and loads the result.
    void importar() {
        const QString doc = carpetas.escribirDocumento(
            QStringLiteral("centro.xml"),
            prueba::documentoIntercambio({}, QStringLiteral("2025/2026")));
        const Desenlace d = varnolo::importar(carpetas.entorno(), doc, ui);
        ASSERT_TRUE(d.completada()) << prueba::describir(d);
        ASSERT_TRUE(resultado.load(rutaResultado(doc)));
    }

    /// The work tables behind most cases: a subject MAT taught to G1 (assignment
    /// M100/C10), a subject LEN with activity code 17, a subject HIS offered in the
    /// courses 42 and 43, two slot rows with DIHO 13 of which only the second is of
    /// frame 0, and a slot 112.
    void mesaCompleta(bool con513) {
        const auto& e = carpetas.entorno();
        agregarFilas(e, "ASIGT",
                     {{"MAT", "", "G1", "", "", "", "", "", "1", "", "", "M100", "C10"}});
        QList<QStringList> nombres = {{"MAT", "MAT", "Matemáticas", "", "F"},
                                      {"LEN", "LEN", "Lengua", "17", "F"},
                                      {"HIS", "HIS", "Historia", "", "F"}};
        if (con513) nombres << QStringList{"513", "513", "Guardia", "513", "T"};
        agregarFilas(e, "ASIGNOMT", nombres);
        agregarFilas(e, "ASIGNOMT2",
                     {{"HIS", "HIS", "Historia", "H43", "43"},
                      {"HIS", "HIS", "Historia", "H42", "42"},
                      {"HIS", "HIS", "Historia", "H42b", "42"}});
        agregarFilas(e, "DIASHORAST",
                     {{"13", "T13m1", "1", "", "3", "", "08:30", "09:25", "55", "1"},
                      {"13", "T13", "1", "", "3", "", "9:05", "14:00", "55", "0"},
                      {"112", "T112", "1", "", "12", "", "18:00", "18:55", "55", "0"}});
        agregarFilas(e, "GRUPOST",
                     {{"G1", "", "", "", "A", "U1", "C11"}, {"G2", "", "", "", "B", "U2", "42"}});
        agregarFilas(e, "PROFT",
                     {{"P1", "Uno", "", "", "", "E1", "01/09/2018"},
                      {"P2", "Dos", "", "", "", "E2", "02/09/2018"},
                      {"P1", "Otro uno", "", "", "", "E3", "03/09/2018"},
                      {"P3", "Tres", "", "", "", "E4", "04/09/2018"},
                      {"O'N", "Cuatro", "", "", "", "E5", "05/09/2018"}});
        agregarFilas(e, "SOLUC",
                     {{"P1", "1", "3", "0", "MAT", "G1", "", "A1"},
                      {"P1", "0", "3", "0", "MAT", "G1", "", "A1"},
                      {"P1", "2", "5", "0", "LEN", "G1", "", "\t"},
                      {"P3", "0", "1", "0", "MAT", "G1", "", ""},
                      {"O'N*", "1", "3", "0", "MAT", "G1", "", ""},
                      {"O'N", "1", "12", "0", "HIS", "G2", "T9", "AÑO"},
                      {"P1", "1", "3", "0", "HIS", "G2", "T9", ""}});
    }
};

TEST_F(Horarios, CadaLeccionSeTraduceConLasTablasDeTrabajo) {
    mesaCompleta(false);
    importar();
    const QString fechas = QStringLiteral("01/09/2025|30/06/2026");
    const QStringList p1 = {
        // slot 13 of frame 0 (the frame 1 row before it does not stop the scan)
        "1|T13|A1|U1|C10|M100|" + fechas + "|545|840|",
        // slot 25 in no row; offer key from the group; no ASIGNOMT2 row for (LEN, C11)
        "|||U1|C11||" + fechas + "|0|0|17",
        // subject and group not in ASIGT: offer 42 from GRUPOST, subject from ASIGNOMT2
        "1|T13||U2|42|H42|" + fechas + "|545|840|T9",
    };
    EXPECT_EQ(valores(resultado, profesor(1) + "/grupo_datos"), p1);
    EXPECT_EQ(valores(resultado, profesor(3) + "/grupo_datos"), p1);
    EXPECT_EQ(valores(resultado, profesor(5) + "/grupo_datos"),
              QStringList{"1|T112|AÑO|U2|42|H42|" + fechas + "|1080|1135|T9"});

    // registros: teachers in PROFT, placed lessons per teacher; teacher items first.
    const auto registros = [&](const QString& ruta) {
        return resultado.selectSingleNode(ruta).attribute(QStringLiteral("registros"));
    };
    EXPECT_EQ(registros("/SERVICIO/BLOQUE_DATOS/grupo_datos[2]"), "5");
    const QStringList esperados = {"3", "0", "3", "0", "1"};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(registros(profesor(k)), esperados[k - 1]) << k;
    EXPECT_EQ(valores(resultado, profesor(2)), QStringList{"E2|02/09/2018"});
    EXPECT_EQ(valores(resultado, profesor(4)), QStringList{"E4|04/09/2018"});
    EXPECT_EQ(resultado.selectSingleNode(profesor(1) + "/grupo_datos[3]").attribute("seq"),
              "ACTIVIDAD_3");
    EXPECT_TRUE(resultado.selectNodes(profesor(1) + "/grupo_datos/grupo_datos").empty());
}

// Other dBase writers (GDAL among them) store a null number as asterisks: a lesson
// whose DIA is "**" is skipped as one with a blank DIA, not a conversion error.
TEST_F(Horarios, DiaDeAsteriscosSeSaltaComoUnDiaEnBlanco) {
    mesaCompleta(false);
    agregarFilas(carpetas.entorno(), "SOLUC", {{"P2", "77", "3", "0", "MAT", "G1", "", "A1"}});
    QFile f(carpetas.trabajo(QStringLiteral("SOLUC.DBF")));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    const qsizetype fila = bytes.lastIndexOf(" P2 ");
    const qsizetype dia = bytes.indexOf("77", fila);
    ASSERT_GT(fila, 0);
    ASSERT_GT(dia, fila);
    bytes.replace(dia, 2, "**");
    ASSERT_TRUE(f.seek(0));
    ASSERT_EQ(f.write(bytes), bytes.size());
    f.close();

    importar();
    EXPECT_EQ(resultado.selectSingleNode(profesor(2)).attribute(QStringLiteral("registros")), "0");
    EXPECT_EQ(valores(resultado, profesor(2)), QStringList{"E2|02/09/2018"});
    EXPECT_EQ(valores(resultado, profesor(1) + "/grupo_datos").size(), 3);
}

/// Blank TAREA: CODTAREA of the subject when ASIGNOMT gives one; else "513" only
/// when ASIGNOMT holds a row with that code.
class ActividadPorDefecto : public Horarios, public ::testing::WithParamInterface<bool> {};

TEST_P(ActividadPorDefecto, SoloCuandoExisteElCodigo513) {
    const bool con513 = GetParam();
    mesaCompleta(con513);
    importar();
    const QStringList acts = valores(resultado, profesor(1) + "/grupo_datos");
    ASSERT_EQ(acts.size(), 3);
    EXPECT_EQ(acts[0].section('|', 10), con513 ? "513" : "");
    EXPECT_EQ(acts[1].section('|', 10), "17");
    EXPECT_EQ(acts[2].section('|', 10), "T9");
}

INSTANTIATE_TEST_SUITE_P(ConYSin513, ActividadPorDefecto, ::testing::Bool());

TEST(MinutosDelDia, TextosDeHora) {
    struct Caso {
        const char* texto;
        int minutos;
    };
    for (const Caso& c : {Caso{"08:30", 510}, Caso{"14:00", 840}, Caso{"9:05", 545}, Caso{"", 0},
                          Caso{"00:00", 0}, Caso{"23:59", 1439}}) {
        EXPECT_EQ(minutosDelDia(QString::fromUtf8(c.texto)), c.minutos) << c.texto;
    }
    for (const char* malo : {"8:3", "ab:cd", "x9:00"}) {
        EXPECT_THROW(minutosDelDia(QString::fromUtf8(malo)), ErrorConversion) << malo;
    }
    try {
        minutosDelDia(QStringLiteral("8:3"));
    } catch (const ErrorConversion& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("':3' is not a valid integer value"));
    }
}

}  // namespace
}  // namespace varnolo
