// The whole road: export the bundled sample, let an independent dBase writer add a
// SOLUC as the timetabling program would, import, and read the result document.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSet>

#include "dbf/Tabla.h"
#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"
#include "import/Importacion.h"
#include "tests/comun/Prueba.h"
#include "xml/DocumentoXml.h"

namespace varnolo {
namespace {

TEST(ExtremoAExtremo, ExportarSolucDeOtroProgramaEImportar) {
    VARNOLO_EXIGE_PYTHON();
    prueba::Carpetas carpetas;
    carpetas.instalarNivelcan();
    prueba::PreguntasPrueba ui;  // one frame: nothing is asked
    const QByteArray muestra = [] {
        QFile f(prueba::ejemplo("centro.xml"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(muestra.isEmpty());
    const QString doc = carpetas.escribirDocumento("centro.xml", muestra);
    const Desenlace exportado = exportar(carpetas.entorno(), doc, {}, ui);
    ASSERT_TRUE(exportado.completada()) << prueba::describir(exportado);

    QProcess py;
    py.start(QStringLiteral(VARNOLO_PYTHON),
             {prueba::ejemplo("soluc_ejemplo.py"), carpetas.trabajo(), "--extras"});
    ASSERT_TRUE(py.waitForFinished(60000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();

    // What the import should find: teachers, and the placed lessons per teacher.
    QStringList abrevs;
    {
        Tabla proft(carpetas.trabajo(), "PROFT");
        proft.open();
        for (proft.first(); !proft.eof(); proft.next()) {
            abrevs << proft.asString("ABREV");
        }
    }
    QHash<QString, int> colocadas;
    int total = 0;
    {
        Tabla soluc(carpetas.trabajo(), "SOLUC");
        soluc.open();
        for (soluc.first(); !soluc.eof(); soluc.next()) {
            EXPECT_NE(soluc.asString("ASIG"), "BORRADA") << "deleted rows are not read";
            if (soluc.asInteger("DIA") != 0) ++colocadas[soluc.asString("PROF")], ++total;
        }
    }
    ASSERT_GT(total, 0);

    const Desenlace importado = importar(carpetas.entorno(), doc, ui);
    ASSERT_TRUE(importado.completada()) << prueba::describir(importado);

    DocumentoXml r;
    ASSERT_TRUE(r.load(rutaResultado(doc)));
    EXPECT_EQ(r.encoding(), "ISO-8859-1");
    EXPECT_EQ(r.selectSingleNode("//dato[@nombre_dato=\"C_ANNO\"]").text(), "2026");
    const auto profesores = r.selectNodes(
        "/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"HORARIOS_REGULARES\"]/grupo_datos");
    ASSERT_EQ(profesores.size(), static_cast<size_t>(abrevs.size()));
    int actividades = 0;
    for (size_t k = 0; k < profesores.size(); ++k) {
        const auto acts = profesores[k].selectNodes("grupo_datos");
        EXPECT_EQ(profesores[k].attribute("registros").toInt(), static_cast<int>(acts.size()));
        EXPECT_EQ(static_cast<int>(acts.size()), colocadas.value(abrevs[k])) << k;
        for (const NodoXml& a : acts) {
            const auto datos = a.selectNodes("dato");
            ASSERT_EQ(datos.size(), 11u);
            // every sample lesson lies in a cell of DIASHORAST and a known group
            EXPECT_FALSE(datos[1].text().isEmpty()) << "X_TRAMO";
            EXPECT_FALSE(datos[3].text().isEmpty()) << "X_UNIDAD";
            EXPECT_FALSE(datos[5].text().isEmpty()) << "X_MATERIAOMG";
            EXPECT_GT(datos[9].text().toInt(), datos[8].text().toInt()) << "N_HORFIN > N_HORINI";
        }
        actividades += static_cast<int>(acts.size());
    }
    EXPECT_EQ(actividades, total);
}

}  // namespace
}  // namespace varnolo
