// The days-and-slots step: the choice of time frames, the slots read into
// DIASHORAST2, the grid cells of DIASHORAST in both numbering modes, the period row,
// and what stays written when the step fails.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <random>

#include "base/Errores.h"
#include "comun/Prueba.h"
#include "dbf/Tabla.h"
#include "export/CadenaExportacion.h"
#include "export/SeleccionMarcos.h"
#include "tests/dias/Impresion.h"
#include "tests/dias/LectorMdx.h"

using namespace varnolo;
using prueba::documentoIntercambio;

namespace {

using Registros = QList<QStringList>;

class DiasHorasTest : public ::testing::Test {
  protected:
    prueba::Carpetas carpetas;
    SeccionesDocumento documento;
    OpcionesExportacion opciones;
    prueba::PreguntasPrueba interaccion;

    void cargar(const Registros& marcos, const Registros& tramos) {
        QList<std::pair<QString, Registros>> secciones;
        if (!marcos.isEmpty()) secciones.append({QStringLiteral("JORNADAS_ESCOLARES"), marcos});
        if (!tramos.isEmpty()) secciones.append({QStringLiteral("TRAMOS_HORARIOS"), tramos});
        const QByteArray xml = documentoIntercambio(secciones);
        ASSERT_TRUE(documento.leerXml(xml));
    }

    /// The dialog answers with these codes, out of the `entradas` frames it lists.
    void elegir(const QStringList& codigos, int entradas) {
        interaccion.marcos = [=](const MarcosHorarios& m) {
            EXPECT_EQ(m.entradas().size(), entradas);
            return prueba::posicionesDe(m, codigos);
        };
    }

    void exportar() {
        ContextoExportacion contexto(carpetas.entorno(), documento, opciones, interaccion);
        CadenaExportacion(contexto).ExportarDiasHoras();
    }

    /// The rows of a work table, each as the texts of `campos`, in physical order.
    QList<QStringList> filas(const QString& tabla, const QStringList& campos) {
        Tabla t(carpetas.trabajo(), tabla);
        t.open();
        QList<QStringList> r;
        for (; !t.eof(); t.next()) {
            QStringList f;
            for (const QString& c : campos) f << t.asString(c);
            r << f;
        }
        return r;
    }
    QList<QStringList> celdas() {
        return filas(QStringLiteral("DIASHORAST"),
                     {QStringLiteral("CODDIHO"), QStringLiteral("DIHO")});
    }
};

QStringList L(std::initializer_list<const char*> t) {
    QStringList r;
    for (const char* s : t) r << QString::fromUtf8(s);
    return r;
}

TEST_F(DiasHorasTest, UnMarcoSinDialogoSieteDiasPorTramo) {
    // The later slot stands first in the document: cells follow the start minute.
    cargar({L({"M1", "Mañana", "01/09/2025", "30/06/2026"})},
           {L({"T2", "Segunda", "540", "600", "M1"}), L({"T1", "Primera", "480", "540", "M1"})});
    exportar();
    EXPECT_EQ(interaccion.vecesMarcos, 0);

    const QStringList campos = L({"DIHO", "DIA", "HORA", "CODDIHO", "TEXTOHOR", "HORADESDE",
                                  "HORAHASTA", "MINUTOS", "MARCO", "MARCOXML", "TEXTODIA"});
    const QList<QStringList> r = filas(QStringLiteral("DIASHORAST"), campos);
    ASSERT_EQ(r.size(), 14);
    for (int i = 0; i < 14; ++i) {
        const int dia = i % 7 + 1, hora = i / 7 + 1;
        const QStringList esperado =
            hora == 1 ? L({"", "", "", "T1", "Primera", "08:00", "09:00", "60", "0", "M1", ""})
                      : L({"", "", "", "T2", "Segunda", "09:00", "10:00", "60", "0", "M1", ""});
        QStringList e = esperado;
        e[0] = QString::number(dia) + QString::number(hora);
        e[1] = QString::number(dia);
        e[2] = QString::number(hora);
        EXPECT_EQ(r[i], e) << "fila " << i;
    }

    // The staging rows in document order, with their start minute and no cell key.
    const QList<QStringList> r2 =
        filas(QStringLiteral("DIASHORAST2"),
              L({"DIHO", "HORA", "DIA", "CODDIHO", "MARCO", "TEXTODIA", "ORDEN"}));
    EXPECT_EQ(r2, (QList<QStringList>{L({"", "", "1", "T2", "", "", "540"}),
                                      L({"", "", "1", "T1", "", "", "480"})}));
    EXPECT_EQ(filas(QStringLiteral("PERIODOS"), L({"CJORNADA", "JORNADA", "FECINI", "FECFIN"})),
              (QList<QStringList>{L({"M1", "Mañana", "01/09/2025", "30/06/2026"})}));
}

// The numbering of the cells over a table of documents: which slots are taken,
// their day from the counter and their hour from the start minutes.
TEST_F(DiasHorasTest, NumeracionDeCeldas) {
    struct Caso {
        const char* que;
        Registros marcos;
        Registros tramos;
        QStringList elegidos;
        QList<QStringList> celdas;  // CODDIHO, DIHO in table order
    };
    const Registros AB = {L({"A", "Marco A"}), L({"B", "Marco B"})};
    auto siete = [](const char* cod, int hora) {
        QList<QStringList> r;
        for (int d = 1; d <= 7; ++d) {
            r << QStringList{QString::fromLatin1(cod), QString::number(d) + QString::number(hora)};
        }
        return r;
    };
    const Caso casos[] = {
        {"dos marcos elegidos: el día sale del contador, no del marco",
         AB,
         {L({"s1", "", "480", "500", "A"}), L({"s2", "", "480", "500", "B"}),
          L({"s3", "", "540", "560", "A"}), L({"s4", "", "540", "560", "B"})},
         L({"A", "B"}),
         {L({"s1", "11"}), L({"s2", "21"}), L({"s3", "12"}), L({"s4", "22"})}},
        {"horas por minutos de inicio distintos: 480, 480, 540, 510 dan 1, 1, 3, 2",
         AB,
         {L({"a", "", "480", "500", "A"}), L({"b", "", "480", "500", "B"}),
          L({"c", "", "540", "560", "A"}), L({"d", "", "510", "530", "B"})},
         L({"A", "B"}),
         {L({"a", "11"}), L({"b", "21"}), L({"d", "22"}), L({"c", "13"})}},
        {"el contador avanza con tramos no elegidos y no con registros de un dato",
         {L({"A"}), L({"B"}), L({"C"})},
         {L({"s1", "", "480", "500", "A"}), L({"suelto"}), L({"s2", "", "480", "500", "B"}),
          L({"s3", "", "480", "500", "C"}), L({"s4", "", "540", "560", "A"})},
         L({"A", "C"}),
         {L({"s1", "11"}), L({"s3", "31"}), L({"s4", "12"})}},
        {"un marco elegido de varios: siete días por tramo",
         AB,
         {L({"a", "", "480", "500", "A"}), L({"b", "", "500", "520", "B"})},
         L({"B"}),
         siete("b", 1)},
        {"un marco, dos tramos a la misma hora: horas 1 y 2 en el orden del documento",
         {L({"A"})},
         {L({"x", "", "480", "500", "A"}), L({"y", "", "480", "500", "A"})},
         {},
         siete("x", 1) + siete("y", 2)},
        {"tramo sin código de marco: se toma con menos de cinco marcos elegidos",
         AB,
         {L({"a", "", "480", "500", "A"}), L({"v", "", "500", "520", ""}),
          L({"b", "", "520", "540", "B"}), L({"w", "", "540", "560"})},
         L({"A", "B"}),
         {L({"a", "11"}), L({"v", "22"}), L({"b", "13"}), L({"w", "24"})}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        cargar(c.marcos, c.tramos);
        elegir(c.elegidos, static_cast<int>(c.marcos.size()));
        exportar();
        EXPECT_EQ(celdas(), c.celdas);
    }
}

TEST_F(DiasHorasTest, TramoSinMarcoNoSeTomaConCincoMarcosElegidos) {
    cargar({L({"A"}), L({"B"}), L({"C"}), L({"D"}), L({"E"}), L({"F"})},
           {L({"a", "", "480", "500", "A"}), L({"v", "", "500", "520", ""})});
    elegir(L({"A", "B", "C", "D", "E"}), 6);
    exportar();
    EXPECT_EQ(celdas(), (QList<QStringList>{L({"a", "11"})}));
}

TEST_F(DiasHorasTest, CodigoDeMarcoLargoTomaTramosPeroNoPeriodo) {
    cargar({L({"ABCDEFGHIJKL", "Largo", "01/09/2025", "30/06/2026"}), L({"X", "Otro"})},
           {L({"t", "Uno", "480", "540", "ABCDEFGHIJKL"}), L({"u", "Dos", "480", "540", "X"})});
    elegir(L({"ABCDEFGHIJKL"}), 2);
    exportar();
    const QList<QStringList> r = filas(QStringLiteral("DIASHORAST"), L({"CODDIHO", "MARCOXML"}));
    ASSERT_EQ(r.size(), 7);
    EXPECT_EQ(r[0], L({"t", "ABCDEFGHIJ"}));
    EXPECT_TRUE(filas(QStringLiteral("PERIODOS"), L({"CJORNADA"})).isEmpty());
}

TEST_F(DiasHorasTest, TextosDeReloj) {
    struct Caso {
        const char* desde;
        const char* hasta;
        QStringList esperado;  // HORADESDE, HORAHASTA, MINUTOS, ORDEN
    };
    const Caso casos[] = {
        {"485", "540", L({"08:05", "09:00", "55", "485"})},
        {"0", "780", L({"00:00", "13:00", "780", "0"})},
        {"1500", "1440", L({"25:00", "24:00", "-60", "1500"})},
    };
    for (const Caso& c : casos) {
        cargar({L({"M"})},
               {QStringList{QStringLiteral("t"), QString(), QString::fromLatin1(c.desde),
                            QString::fromLatin1(c.hasta), QStringLiteral("M")}});
        exportar();
        EXPECT_EQ(
            filas(QStringLiteral("DIASHORAST2"), L({"HORADESDE", "HORAHASTA", "MINUTOS", "ORDEN"})),
            (QList<QStringList>{c.esperado}))
            << c.desde;
    }
}

TEST_F(DiasHorasTest, MinutoNoEnteroTerminaElPasoYDejaLoEscrito) {
    cargar({L({"A", "Marco A"}), L({"B", "Marco B"})},
           {L({"ok", "", "480", "540", "A"}), L({"otro", "", "x", "y", "B"}),
            L({"mal", "", "9h", "600", "A"}), L({"tarde", "", "600", "660", "A"})});
    elegir(L({"A"}), 2);
    try {
        exportar();
        FAIL() << "se esperaba ErrorConversion";
    } catch (const ErrorConversion& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("'9h' is not a valid integer value\n"
                                            "En el documento: sección TRAMOS_HORARIOS, "
                                            "registro 3."));
    }
    EXPECT_EQ(filas(QStringLiteral("DIASHORAST2"), L({"CODDIHO"})),
              (QList<QStringList>{L({"ok"})}));
    EXPECT_TRUE(celdas().isEmpty());
    EXPECT_TRUE(filas(QStringLiteral("PERIODOS"), L({"CJORNADA"})).isEmpty());
}

// Records shorter than the step reads: a slot with fewer than five items has an
// empty frame code, so it is taken, and one without its minutes cannot be converted.
TEST_F(DiasHorasTest, TramoCortoSinMinutosEsErrorDeConversion) {
    cargar({L({"A"}), L({"B"})}, {L({"t", "Corto", "480"})});
    elegir(L({"A"}), 2);
    try {
        exportar();
        FAIL() << "se esperaba ErrorConversion";
    } catch (const ErrorConversion& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("'' is not a valid integer value\n"
                                            "En el documento: sección TRAMOS_HORARIOS, "
                                            "registro 1."));
    }
}

TEST_F(DiasHorasTest, SinMarcosHorariosTerminaConMensajeYTablasVacias) {
    for (const Registros& marcos : {Registros{}}) {
        cargar(marcos, {L({"t", "", "480", "540", ""})});
        try {
            exportar();
            FAIL() << "se esperaba ErrorVarnolo";
        } catch (const ErrorVarnolo& e) {
            EXPECT_EQ(e.texto(), kSinMarcosHorarios);
        }
        EXPECT_EQ(interaccion.vecesMarcos, 0);
        for (const char* t : {"DIASHORAST", "DIASHORAST2", "PERIODOS"}) {
            EXPECT_TRUE(QFile::exists(carpetas.trabajo(QString::fromLatin1(t) + ".DBF"))) << t;
        }
        EXPECT_TRUE(celdas().isEmpty());
        EXPECT_TRUE(filas(QStringLiteral("DIASHORAST2"), L({"DIHO"})).isEmpty());
        EXPECT_TRUE(filas(QStringLiteral("PERIODOS"), L({"CJORNADA"})).isEmpty());
    }
}

TEST_F(DiasHorasTest, DialogoRepetidoHastaAceptarConTablasYaCreadas) {
    cargar({L({"A", "Marco A", "1", "2"}), L({"B", "Marco B", "3", "4"})},
           {L({"a", "", "480", "500", "A"})});
    interaccion.marcos = [&](const MarcosHorarios& m) {
        EXPECT_TRUE(QFile::exists(carpetas.trabajo(QStringLiteral("PERIODOS.DBF"))));
        // Twice no valid choice (none, then a position past the list), then B and A.
        if (interaccion.vecesMarcos == 1) return QList<int>{};
        if (interaccion.vecesMarcos == 2) return QList<int>{7};
        return prueba::posicionesDe(m, L({"B", "A"}));
    };
    exportar();
    EXPECT_EQ(interaccion.vecesMarcos, 3);
    // The first chosen code, in the order of the list, gives the period.
    EXPECT_EQ(filas(QStringLiteral("PERIODOS"), L({"CJORNADA", "FECINI"})),
              (QList<QStringList>{L({"A", "1"})}));
}

// DIASHORAST2.MDX as the step leaves it: read with the tests' own index reader, its
// keys are the ORDEN values of the table's rows (read with dbfread), in order.
TEST_F(DiasHorasTest, IndiceOrdenConcuerdaConLasFilas) {
    VARNOLO_EXIGE_PYTHON();
    Registros tramos;
    std::mt19937 azar(11);
    for (int i = 0; i < 150; ++i) {
        const int inicio = 420 + 5 * static_cast<int>(azar() % 60);
        tramos << QStringList{QStringLiteral("T%1").arg(i), QString(), QString::number(inicio),
                              QString::number(inicio + 55), QStringLiteral("M")};
    }
    cargar({L({"M"})}, tramos);
    exportar();

    QProcess py;
    py.start(QStringLiteral(VARNOLO_PYTHON),
             {QStringLiteral("-c"),
              QStringLiteral("import sys, dbfread\n"
                             "for r in dbfread.DBF(sys.argv[1]): print(r['ORDEN'])"),
              carpetas.trabajo(QStringLiteral("DIASHORAST2.DBF"))});
    ASSERT_TRUE(py.waitForFinished(30000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    const QStringList orden =
        QString::fromLatin1(py.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(orden.size(), 150);

    QFile f(carpetas.trabajo(QStringLiteral("DIASHORAST2.MDX")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList errores;
    const prueba::MdxLeido m = prueba::leerMdx(f.readAll(), errores);
    EXPECT_TRUE(errores.isEmpty()) << errores.join(u'\n').toStdString();
    EXPECT_EQ(m.tabla, QStringLiteral("DIASHORAST2"));
    ASSERT_EQ(m.tags.size(), 1);
    const prueba::TagLeido& t = m.tags[0];
    EXPECT_EQ(t.nombre, QStringLiteral("ORDEN"));
    EXPECT_GE(t.profundidad, 2);
    ASSERT_EQ(t.claves.size(), 150u);
    for (std::size_t i = 0; i < t.claves.size(); ++i) {
        const prueba::EntradaMdx& e = t.claves[i];
        ASSERT_GE(e.registro, 1u);
        ASSERT_LE(e.registro, 150u);
        EXPECT_EQ(e.clave, orden[e.registro - 1].toDouble()) << "registro " << e.registro;
        if (i > 0) {
            const prueba::EntradaMdx& a = t.claves[i - 1];
            EXPECT_TRUE(a.clave < e.clave || (a.clave == e.clave && a.registro < e.registro));
        }
    }
    // The table's header says it has a production index.
    QFile dbf(carpetas.trabajo(QStringLiteral("DIASHORAST2.DBF")));
    ASSERT_TRUE(dbf.open(QIODevice::ReadOnly));
    EXPECT_EQ(dbf.read(32).at(28), 0x01);
}

}  // namespace
