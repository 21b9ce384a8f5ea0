// varnolo-cli as scripts use it: 0 when the conversion completed, 1 when it ended
// with a message or an error, 2 when the command line is wrong.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "EjecucionCli.h"
#include "export/Exportacion.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

QString documentoCompleto() { return datoPrueba(QStringLiteral("principal/completo.xml")); }
QString nivelcanGenerado() {
    return QDir(carpetaBinarios()).filePath(QStringLiteral("NIVELCAN.DBF"));
}

const QStringList kOrdenesMal[] = {
    {},
    {"convertir", "datos.xml"},
    {"exportar"},
    {"importar", "--qwork", "/tmp"},
    {"exportar", "a.xml", "b.xml"},
    {"exportar", "a.xml", "--qwork"},
    {"exportar", "a.xml", "--marco"},
    {"exportar", "a.xml", "--desconocida", "x"},
    {"exportar", "a.xml", "--qwork", "a", "--qwork", "b"},
    {"importar", "a.xml", "--marco", "J1"},
    {"importar", "a.xml", "--niveles", "NIVELCAN.DBF"},
};

TEST(VarnoloCli, OrdenMalEscritaTerminaConDosYElUso) {
    Carpetas c;
    for (const QStringList& orden : kOrdenesMal) {
        SCOPED_TRACE(orden.join(u' ').toStdString());
        const Salida s = ejecutarCli(orden, c.trabajo());
        EXPECT_EQ(s.codigo, 2);
        EXPECT_TRUE(s.errores.contains(QStringLiteral("Uso:"))) << s.errores.toStdString();
        EXPECT_TRUE(s.salida.isEmpty());
    }
    EXPECT_TRUE(QDir(c.trabajo()).isEmpty());
}

TEST(VarnoloCli, DocumentoQueNoExisteTerminaConUno) {
    Carpetas c;
    const QString noExiste = c.programa(QStringLiteral("no-existe.xml"));
    for (const char* accion : {"exportar", "importar"}) {
        SCOPED_TRACE(accion);
        const Salida s = ejecutarCli(
            {QString::fromLatin1(accion), noExiste, "--qwork", c.trabajo()}, c.trabajo());
        EXPECT_EQ(s.codigo, 1);
        EXPECT_EQ(s.errores, kNoExisteArchivo + u'\n');
        EXPECT_TRUE(s.salida.isEmpty());
    }
}

TEST(VarnoloCli, ExportacionCompletaTerminaConCero) {
    Carpetas c;
    const Salida s = ejecutarCli(
        {"exportar", documentoCompleto(), "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()},
        c.programa());
    EXPECT_EQ(s.codigo, 0) << s.errores.toStdString();
    EXPECT_EQ(s.salida, kProcesoFinalizado + u'\n');
    EXPECT_TRUE(s.errores.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(c.trabajo(QStringLiteral("PERIODOS.DBF"))));
    EXPECT_TRUE(QDir(c.programa()).isEmpty());  // --qwork wins over the system's folder
}

TEST(VarnoloCli, ExportacionQueNoCompletaTerminaConUno) {
    Carpetas c;
    struct Caso {
        const char* nombre;
        QString qwork, niveles, errores;  // errores empty: any error text
    };
    const Caso casos[] = {
        {"sin_nivelcan", c.trabajo(), c.programa(QStringLiteral("NIVELCAN.DBF")),
         kNivelcanNoEncontrado + u'\n'},
        {"carpeta_de_trabajo_inservible", documentoCompleto(), nivelcanGenerado(), {}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        const Salida s = ejecutarCli(
            {"exportar", documentoCompleto(), "--qwork", caso.qwork, "--niveles", caso.niveles},
            c.trabajo());
        EXPECT_EQ(s.codigo, 1);
        EXPECT_TRUE(s.salida.isEmpty());
        if (caso.errores.isEmpty()) {
            EXPECT_FALSE(s.errores.trimmed().isEmpty());
        } else {
            EXPECT_EQ(s.errores, caso.errores);
        }
    }
}

}  // namespace
}  // namespace varnolo::prueba
