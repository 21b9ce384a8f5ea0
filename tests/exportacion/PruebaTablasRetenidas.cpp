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

/// The file operations of the program, probing the work folder at the first
/// replacement of a table.
class SondaAlReemplazar : public Archivos {
  public:
    explicit SondaAlReemplazar(QString carpeta) : carpeta_(std::move(carpeta)) {}
    QMap<QString, QString> durante;
    bool reemplazar(const QString& origen, const QString& destino, QString& motivo) override {
        if (durante.isEmpty()) durante = sondear(carpeta_);
        return Archivos::reemplazar(origen, destino, motivo);
    }

  private:
    QString carpeta_;
};

// The export writes its new tables apart; the old ones are held exclusively from the
// start until they are replaced, the time-frame question included, and the new ones
// take their place in one move each.
TEST(TablasRetenidas, MientrasLaExportacionPreguntaLosMarcos) {
    Carpetas c;
    c.instalarNivelcan();
    crearSoluc(c.entorno());
    PreguntasPrueba primera;
    primera.marcos = [&](const MarcosHorarios& m) { return posicionesDe(m, {"ORD"}); };
    ASSERT_TRUE(exportar(c.entorno(), ejemplo(QStringLiteral("centro-marcos.xml")), {}, primera)
                    .completada());

    QMap<QString, QString> durante;
    PreguntasPrueba preguntas;
    preguntas.marcos = [&](const MarcosHorarios& m) {
        durante = sondear(c.trabajo());
        return posicionesDe(m, {"ORD"});
    };
    SondaAlReemplazar sonda(c.trabajo());
    {
        const ArchivosInstalados instalados(sonda);
        const Desenlace d =
            exportar(c.entorno(), ejemplo(QStringLiteral("centro-marcos.xml")), {}, preguntas);
        ASSERT_TRUE(d.completada()) << describir(d);
    }
    QMap<QString, QString> esperado = todas(QStringLiteral("exclusiva"));
    esperado[QStringLiteral("SOLUC")] = QStringLiteral("libre");
    EXPECT_EQ(durante, esperado);
    // While the tables are moved in place, one by one, each is whole, old or new, and
    // free again (Windows moves no file that is held).
    EXPECT_EQ(sonda.durante, todas(QStringLiteral("libre")));
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
