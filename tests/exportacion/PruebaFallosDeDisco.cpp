// A disk that fails in the middle of an export or of a save: the failure is told in
// Spanish, and the next run, on a sound disk, writes exactly the tables that a run
// without failure writes. The failures are made through
// the program's file operations, so that each write of the run can be the one.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>

#include "base/Archivos.h"
#include "base/Errores.h"
#include "export/Exportacion.h"
#include "taviron/ArchivoIni.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

Desenlace exportarEjemplo(const Carpetas& c) {
    PreguntasPrueba preguntas;
    preguntas.marcos = [](const MarcosHorarios& m) { return posicionesDe(m, {"ORD", "JUN"}); };
    return exportar(c.entorno(), ejemplo(QStringLiteral("centro-marcos.xml")), {}, preguntas);
}

TEST(FallosDeDisco, ExportacionQueFallaSeRecuperaAlRepetirla) {
    // The tables of a run without failure, and how many writes it takes.
    Carpetas sana;
    sana.instalarNivelcan();
    ArchivosQueFallan contador;
    {
        const ArchivosInstalados instalados(contador);
        ASSERT_TRUE(exportarEjemplo(sana).completada());
    }
    const QMap<QString, QByteArray> esperado = archivosDe(sana.trabajo());
    ASSERT_GT(contador.escriturasTabla, 3);

    for (const int n : {1, 2, contador.escriturasTabla / 2, contador.escriturasTabla}) {
        SCOPED_TRACE(n);
        Carpetas c;
        c.instalarNivelcan();
        ArchivosQueFallan fallo;
        fallo.fallarEscrituraTabla = n;
        {
            const ArchivosInstalados instalados(fallo);
            const Desenlace d = exportarEjemplo(c);
            EXPECT_EQ(d.tipo, Desenlace::Tipo::Fallo);
            EXPECT_TRUE(d.texto.startsWith(QStringLiteral("No se puede ")))
                << d.texto.toStdString();
            EXPECT_TRUE(d.texto.contains(QStringLiteral("el disco está lleno")))
                << d.texto.toStdString();
        }
        const Desenlace otra = exportarEjemplo(c);
        ASSERT_TRUE(otra.completada()) << describir(otra);
        EXPECT_EQ(archivosDe(c.trabajo()), esperado);
    }
}

TEST(FallosDeDisco, GuardadoQueNoSePuedeColocarDejaElArchivoAnterior) {
    Carpetas c;
    const QString ini = c.programa(QStringLiteral("Taviron.ini"));
    prueba::escribirBytes(ini, "[Transformadores]\r\nTransformado=0\r\n");
    ArchivosQueFallan fallo;
    fallo.fallarConfirmacion = true;
    {
        const ArchivosInstalados instalados(fallo);
        EXPECT_THROW(escribirTransformado(ini, 1), ErrorVarnolo);
    }
    EXPECT_EQ(archivosDe(c.programa()),
              (QMap<QString, QByteArray>{
                  {QStringLiteral("Taviron.ini"), "[Transformadores]\r\nTransformado=0\r\n"}}));
}

}  // namespace
}  // namespace varnolo::prueba
