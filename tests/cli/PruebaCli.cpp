// varnolo-cli as scripts use it: 0 when the conversion completed, 1 when it ended
// with a message or an error, 2 when the command line is wrong.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "dbf/Tabla.h"
#include "taviron/Catalogo.h"

#include "export/Exportacion.h"
#include "tests/cli/EjecucionCli.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

QString documentoCompleto() { return datoPrueba(QStringLiteral("principal/completo.xml")); }
QString nivelcanGenerado() {
    return QDir(carpetaBinarios()).filePath(QStringLiteral("NIVELCAN.DBF"));
}

// Usage errors: status 2, the reason and the usage on standard error, nothing done.
TEST(VarnoloCli, OrdenMalEscritaTerminaConDosYElUso) {
    struct Caso {
        QStringList orden;
        QString motivo;
    };
    const Caso casos[] = {
        {{}, "Falta la acción."},
        {{"convertir", "datos.xml"}, "Acción desconocida: convertir."},
        {{"--ayuda"}, "Acción desconocida: --ayuda."},
        {{"exportar"}, "Falta el DOCUMENTO."},
        {{"importar", "--qwork", "/tmp"}, "Falta el DOCUMENTO."},
        {{"exportar", "a.xml", "b.xml"}, "Sobra el argumento b.xml: solo se admite un DOCUMENTO."},
        {{"exportar", "a.xml", "--qwork"}, "Falta el valor de la opción --qwork."},
        {{"exportar", "a.xml", "--qwork="}, "Falta el valor de la opción --qwork."},
        {{"exportar", "a.xml", "--marco"}, "Falta el valor de la opción --marco."},
        {{"exportar", "a.xml", "--desconocida", "x"},
         "Opción no válida para exportar: --desconocida."},
        {{"exportar", "a.xml", "-x"}, "Opción no válida para exportar: -x."},
        {{"exportar", "a.xml", "--qwork", "a", "--qwork", "b"},
         "La opción --qwork solo puede darse una vez."},
        {{"importar", "a.xml", "--marco", "J1"}, "Opción no válida para importar: --marco."},
        {{"importar", "a.xml", "--niveles", "NIVELCAN.DBF"},
         "Opción no válida para importar: --niveles."},
        {{"exportar", ""}, "El DOCUMENTO no puede ser un texto vacío."},
        {{"restaurar"}, "Falta la COPIA."},
        {{"restaurar", ""}, "La COPIA no puede ser un texto vacío."},
        {{"restaurar", "a", "b"}, "Sobra el argumento b: solo se admite una COPIA."},
        {{"copias", "a"}, "Sobra el argumento a: copias no lleva ninguno."},
        {{"comprobar", "a.xml", "--qwork", "/tmp"}, "Opción no válida para comprobar: --qwork."},
        {{"exportar", "a.xml", "--detalles", "--detalles"},
         "La opción --detalles solo puede darse una vez."},
        {{"exportar", "a.xml", "--detalles=si"}, "La opción --detalles no lleva valor."},
    };
    Carpetas c;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.orden.join(u' ').toStdString());
        const Salida s = ejecutarCli(caso.orden, c.trabajo());
        EXPECT_EQ(s.codigo, 2);
        EXPECT_TRUE(s.errores.startsWith(caso.motivo + QStringLiteral("\n\nUso:\n")))
            << s.errores.toStdString();
        EXPECT_TRUE(s.salida.isEmpty());
    }
    EXPECT_TRUE(QDir(c.trabajo()).isEmpty());
}

// What people type without thinking: help and version on standard output, status 0,
// nothing done; help after an action is that action's.
TEST(VarnoloCli, AyudaYVersionTerminanConCero) {
    struct Caso {
        QStringList orden;
        QString primeraLinea;
    };
    const Caso casos[] = {
        {{"--help"}, "Uso:"},
        {{"-h"}, "Uso:"},
        {{"--version"}, "varnolo-cli 1.0"},
        {{"exportar", "--help"},
         "Uso: varnolo-cli exportar DOCUMENTO [--marco CODIGO]... [--qwork CARPETA] "
         "[--niveles RUTA_NIVELCAN.DBF] [--detalles]"},
        {{"EXPORTAR", "a.xml", "-h"},
         "Uso: varnolo-cli exportar DOCUMENTO [--marco CODIGO]... [--qwork CARPETA] "
         "[--niveles RUTA_NIVELCAN.DBF] [--detalles]"},
        {{"importar", "--help"},
         "Uso: varnolo-cli importar DOCUMENTO [--qwork CARPETA] [--detalles]"},
        {{"comprobar", "--help"},
         "Uso: varnolo-cli comprobar DOCUMENTO [--marco CODIGO]... [--niveles RUTA_NIVELCAN.DBF]"},
        {{"copias", "--help"}, "Uso: varnolo-cli copias [--qwork CARPETA]"},
        {{"restaurar", "--help"}, "Uso: varnolo-cli restaurar COPIA [--qwork CARPETA]"},
    };
    Carpetas c;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.orden.join(u' ').toStdString());
        const Salida s = ejecutarCli(caso.orden, c.trabajo());
        EXPECT_EQ(s.codigo, 0);
        EXPECT_EQ(s.salida.section(u'\n', 0, 0), caso.primeraLinea) << s.salida.toStdString();
        EXPECT_TRUE(s.errores.isEmpty()) << s.errores.toStdString();
    }
    // The whole usage names every option of every action.
    const Salida ayuda = ejecutarCli({"--help"}, c.trabajo());
    for (const char* parte : {"exportar", "importar", "comprobar", "copias", "restaurar", "--marco",
                              "--qwork", "--niveles", "--detalles", "--help", "--version"}) {
        EXPECT_TRUE(ayuda.salida.contains(QLatin1String(parte))) << parte;
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

// --detalles prints the report after "Proceso finalizado": for a clean document one
// line per table and nothing else, for one with something to tell a line per kind.
TEST(VarnoloCli, DetallesDeLaExportacion) {
    Carpetas c;
    const QRegularExpression lineaDeTabla(QStringLiteral("^[A-Z0-9]+ +\\d+ filas?$"));
    const Salida limpia = ejecutarCli({"exportar", documentoCompleto(), "--qwork", c.trabajo(),
                                       "--niveles", nivelcanGenerado(), "--detalles"},
                                      c.programa());
    ASSERT_EQ(limpia.codigo, 0) << limpia.errores.toStdString();
    QStringList lineas = limpia.salida.split(u'\n');
    ASSERT_EQ(lineas.takeFirst(), kProcesoFinalizado);
    ASSERT_EQ(lineas.takeLast(), QString());
    EXPECT_EQ(lineas.size(), catalogo::tablasDeExportacion().size());
    for (const QString& l : lineas)
        EXPECT_TRUE(lineaDeTabla.match(l).hasMatch()) << l.toStdString();

    // A long name, a teacher abbreviation given twice and a short record.
    const QString doc = c.escribirDocumento(
        QStringLiteral("avisos.xml"),
        documentoIntercambio(
            {{"JORNADAS_ESCOLARES", {{"J1", "Ordinaria", "01/09/2025", "30/06/2026"}}},
             {"TRAMOS_HORARIOS", {{"T1", "1ª", "510", "565", "J1"}}},
             {"EMPLEADOS",
              {{"1", "01/09/2015", "Ciencias", "Gil", "Luna", "Ana", "GLA"},
               {"2", "01/09/2015", "Ciencias", "Gómez", "Lara", "Antonio", "GLA"}}},
             {"DEPENDENCIAS", {{"A1", "Aula 1"}, {"A2"}, {"A3", QString(81, u'a')}}}}));
    const Salida s = ejecutarCli(
        {"exportar", doc, "--qwork", c.trabajo(), "--niveles", nivelcanGenerado(), "--detalles"},
        c.programa());
    ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
    EXPECT_TRUE(s.salida.startsWith(kProcesoFinalizado + u'\n'));
    EXPECT_TRUE(s.salida.contains(
        QStringLiteral("\ncódigo hecho único en PROFT.ABREV: 1 (EMPLEADOS registro 2)\n")))
        << s.salida.toStdString();
    EXPECT_TRUE(s.salida.contains(QStringLiteral(
        "\nregistro saltado: tiene menos de dos datos: 1 (DEPENDENCIAS registro 2)\n")));
    EXPECT_TRUE(s.salida.contains(QStringLiteral(
        "\nvalor cortado a la anchura del campo AULAT.NOMBRE: 1 (DEPENDENCIAS registro 3)\n")));
    // Without the option only the text.
    const Salida sin = ejecutarCli(
        {"exportar", doc, "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()}, c.programa());
    EXPECT_EQ(sin.salida, kProcesoFinalizado + u'\n');
}

// importar --detalles: the lessons of each teacher and those left out.
TEST(VarnoloCli, DetallesDeLaImportacion) {
    Carpetas c;
    const QString doc = c.escribirDocumento(QStringLiteral("centro.xml"), [] {
        QFile f(datoPrueba(QStringLiteral("principal/completo.xml")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }());
    ASSERT_EQ(
        ejecutarCli({"exportar", doc, "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()},
                    c.programa())
            .codigo,
        0);
    QString profesor;
    {
        Tabla proft(c.trabajo(), QStringLiteral("PROFT"));
        proft.open();
        profesor = proft.asString(QStringLiteral("ABREV"));
    }
    crearSoluc(c.entorno());
    {
        Tabla soluc(c.trabajo(), QStringLiteral("SOLUC"));
        soluc.open();
        for (const auto& [prof, dia] : {std::pair{profesor, 1}, std::pair{profesor, 0},
                                        std::pair{QStringLiteral("NADIE"), 1}}) {
            soluc.append();
            soluc.setString(QStringLiteral("PROF"), prof);
            soluc.setInteger(QStringLiteral("DIA"), dia);
            soluc.setInteger(QStringLiteral("HORA"), 1);
            soluc.setString(QStringLiteral("MARCO"), QStringLiteral("0"));
            soluc.post();
        }
    }
    const Salida s =
        ejecutarCli({"importar", doc, "--qwork", c.trabajo(), "--detalles"}, c.programa());
    ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
    const QStringList lineas = s.salida.split(u'\n');
    EXPECT_EQ(lineas.first(), kProcesoFinalizado);
    EXPECT_TRUE(
        lineas.at(1).startsWith(profesor.leftJustified(12) + QStringLiteral("       1 lección")))
        << s.salida.toStdString();
    EXPECT_TRUE(lineas.contains(
        QStringLiteral("lección saltada: sin colocar (DIA 0): 1 (SOLUC registro 2)")));
    EXPECT_TRUE(lineas.contains(
        QStringLiteral("lección saltada: su profesor no está en PROFT: 1 (SOLUC registro 3)")));

    const Salida sin = ejecutarCli({"importar", doc, "--qwork", c.trabajo()}, c.programa());
    ASSERT_EQ(sin.codigo, 0) << sin.errores.toStdString();
    EXPECT_EQ(sin.salida, kProcesoFinalizado + u'\n');
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
