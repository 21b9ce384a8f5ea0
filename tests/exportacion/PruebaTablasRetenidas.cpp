// Which work tables a conversion keeps from other programs, and how, while it waits
// for the user: another process (the engine's test program) tries to open each table
// exclusively and shared. While the export asks for the time frames, the three tables
// of its last step are held exclusively from their creation and the others are free;
// while the import asks for the teachers' data, its lookup tables and SOLUC are held
// exclusively and PROFT only shared, so that the dialog's PROFT and Taviron can read
// it. Once a conversion ends, every table is free again.

#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <QProcess>

#include "dbf/Tabla.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

const QStringList kTablas = {"ASIGNOMT", "ASIGNOMT2",  "ASIGT",       "AULAT",
                             "CURSOST",  "DIASHORAST", "DIASHORAST2", "GRUPOST",
                             "PERIODOS", "PROFT",      "SOLUC"};

/// How another process finds each table: libre, compartida, exclusiva or no-existe.
QMap<QString, QString> sondear(const QString& carpeta) {
    QStringList args = {QStringLiteral("--hijo"), QStringLiteral("sondear")};
    for (const QString& t : kTablas) args << QDir(carpeta).filePath(t + QStringLiteral(".DBF"));
    QProcess otro;
    otro.start(QStringLiteral(VARNOLO_PRUEBA_MOTOR), args);
    EXPECT_TRUE(otro.waitForFinished(120000));
    QMap<QString, QString> r;
    for (const QByteArray& linea : otro.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> partes = linea.trimmed().split(' ');
        if (partes.size() == 2)
            r.insert(QString::fromLatin1(partes[0]), QString::fromLatin1(partes[1]));
    }
    return r;
}

QMap<QString, QString> todas(const QString& estado) {
    QMap<QString, QString> r;
    for (const QString& t : kTablas) r.insert(t, estado);
    return r;
}

TEST(TablasRetenidas, MientrasLaExportacionPreguntaLosMarcos) {
    Carpetas c;
    c.instalarNivelcan();
    crearSoluc(c.entorno());
    QMap<QString, QString> durante;
    PreguntasPrueba preguntas;
    preguntas.marcos = [&](const MarcosHorarios& m) {
        durante = sondear(c.trabajo());
        return posicionesDe(m, {"ORD"});
    };
    const Desenlace d =
        exportar(c.entorno(), ejemplo(QStringLiteral("centro-marcos.xml")), {}, preguntas);
    ASSERT_TRUE(d.completada()) << describir(d);
    QMap<QString, QString> esperado = todas(QStringLiteral("libre"));
    for (const char* t : {"DIASHORAST", "DIASHORAST2", "PERIODOS"}) {
        esperado[QString::fromLatin1(t)] = QStringLiteral("exclusiva");
    }
    EXPECT_EQ(durante, esperado);
    EXPECT_EQ(sondear(c.trabajo()), todas(QStringLiteral("libre")));
}

TEST(TablasRetenidas, MientrasLaImportacionPreguntaLosProfesores) {
    Carpetas c;
    c.instalarNivelcan();
    PreguntasPrueba preguntas;
    const QString doc = ejemplo(QStringLiteral("centro-sin-toma.xml"));
    ASSERT_TRUE(exportar(c.entorno(), doc, {}, preguntas).completada());
    crearSoluc(c.entorno());

    QMap<QString, QString> durante;
    preguntas.profesores = [&](const Entorno&) {
        durante = sondear(c.trabajo());
        return false;
    };
    const Desenlace d = importar(c.entorno(), doc, preguntas);
    EXPECT_EQ(d.motivo, Desenlace::Motivo::ProfesoresIncompletos);
    QMap<QString, QString> esperado = todas(QStringLiteral("exclusiva"));
    esperado[QStringLiteral("PROFT")] = QStringLiteral("compartida");
    esperado[QStringLiteral("PERIODOS")] = QStringLiteral("libre");
    esperado[QStringLiteral("DIASHORAST2")] = QStringLiteral("libre");
    EXPECT_EQ(durante, esperado);
    EXPECT_EQ(sondear(c.trabajo()), todas(QStringLiteral("libre")));
}

}  // namespace
}  // namespace varnolo::prueba
