// varnolo-cli given bad input, as a hostile or unlucky user would: every case ends
// with status 1 and a message that says what is wrong and where, before anything
// in the work folder is changed, and no result document is left.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>

#include "dbf/Tabla.h"
#include "import/Importacion.h"
#include "taviron/ReservaCarpeta.h"
#include "tests/cli/EjecucionCli.h"
#include "tests/comun/Prueba.h"
#include "xml/DocumentoXml.h"

namespace varnolo::prueba {
namespace {

QString nivelcanGenerado() {
    return QDir(carpetaBinarios()).filePath(QStringLiteral("NIVELCAN.DBF"));
}

QList<QStringList> dosMarcos() {
    return {{"J1", "Ordinaria", "01/09/2025", "30/06/2026"},
            {"J2", "Verano", "01/07/2026", "31/07/2026"}};
}

/// A work folder filled by a completed export of the full sample document.
class CarpetaExportada : public ::testing::Test {
  protected:
    Carpetas c;
    void SetUp() override {
        const Salida s =
            ejecutarCli({"exportar", datoPrueba(QStringLiteral("principal/completo.xml")),
                         "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()},
                        c.programa());
        ASSERT_EQ(s.codigo, 0) << s.errores.toStdString();
    }

    /// Runs the command and checks status 1, nothing on standard output, every text
    /// of `enElMensaje` on standard error, the work folder as it was and no result.
    void rechazada(const QStringList& orden, const QStringList& enElMensaje,
                   const QString& documento) {
        const QMap<QString, QByteArray> antes = archivosDe(c.trabajo());
        const Salida s = ejecutarCli(orden, c.programa());
        EXPECT_EQ(s.codigo, 1) << s.errores.toStdString();
        EXPECT_TRUE(s.salida.isEmpty()) << s.salida.toStdString();
        for (const QString& parte : enElMensaje) {
            EXPECT_TRUE(s.errores.contains(parte))
                << "falta «" << parte.toStdString() << "» en: " << s.errores.toStdString();
        }
        EXPECT_FALSE(s.errores.contains(QStringLiteral("I/O error"))) << s.errores.toStdString();
        EXPECT_TRUE(archivosDe(c.trabajo()) == antes) << "la carpeta de trabajo cambió";
        EXPECT_FALSE(QFile::exists(rutaResultado(documento)));
    }
};

TEST_F(CarpetaExportada, ExportacionRechazadaAntesDeTocarUnaTabla) {
    struct Caso {
        const char* nombre;
        QByteArray documento;
        QStringList marcos;
        QStringList enElMensaje;
    };
    const QString limite = QString::number(DocumentoXml::kTamanoMaximo / (1024 * 1024));
    const Caso casos[] = {
        {"otra raíz",
         "<?xml version=\"1.0\"?>\n<OTRO><BLOQUE_DATOS/></OTRO>",
         {},
         {"no es un documento de intercambio: falta el elemento raíz SERVICIO", "centro.xml"}},
        {"sin BLOQUE_DATOS",
         "<SERVICIO><grupo_datos seq=\"MATERIAS\"/></SERVICIO>",
         {},
         {"no es un documento de intercambio: falta BLOQUE_DATOS", "centro.xml"}},
        {"sin marcos horarios",
         documentoIntercambio({{"MATERIAS", {{"3001", "M1", "Matemáticas", "MAT"}}}}),
         {},
         {"JORNADAS_ESCOLARES"}},
        {"varios marcos sin --marco",
         documentoIntercambio({{"JORNADAS_ESCOLARES", dosMarcos()}}),
         {},
         {"varios marcos horarios (J1, J2)", "--marco"}},
        {"marco desconocido",
         documentoIntercambio({{"JORNADAS_ESCOLARES", dosMarcos()}}),
         {"--marco", "J9"},
         {"El marco horario \"J9\" no está en el documento (J1, J2)."}},
        {"marco desconocido junto a uno que existe",
         documentoIntercambio({{"JORNADAS_ESCOLARES", dosMarcos()}}),
         {"--marco", "J1", "--marco", "J9"},
         {"\"J9\""}},
        {"marco desconocido con un solo marco",
         documentoIntercambio({{"JORNADAS_ESCOLARES", {dosMarcos().front()}}}),
         {"--marco", "J2"},
         {"El marco horario \"J2\" no está en el documento (J1)."}},
        {"no bien formado",
         "<?xml version=\"1.0\"?>\n<SERVICIO>\n<BLOQUE_DATOS>\n</SERVICIO>\n",
         {},
         {"no es un documento XML válido: error en la línea 4, columna", "centro.xml"}},
        {"declara entidades",
         "<!DOCTYPE SERVICIO [<!ENTITY a \"aaaa\">]>\n<SERVICIO><BLOQUE_DATOS/></SERVICIO>",
         {},
         {"declara entidades", "centro.xml"}},
        {"vacío", "", {}, {"está vacío", "centro.xml"}},
        {"demasiado grande",
         {},
         {},
         {"es demasiado grande: el límite es de " + limite + " MB", "centro.xml"}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        const QString doc = c.escribirDocumento(QStringLiteral("centro.xml"), caso.documento);
        if (QString::fromUtf8(caso.nombre) == u"demasiado grande") {
            QFile f(doc);
            ASSERT_TRUE(f.resize(DocumentoXml::kTamanoMaximo + 1));  // sparse where it can be
        }
        rechazada(
            QStringList{"exportar", doc, "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()} +
                caso.marcos,
            caso.enElMensaje, doc);
        QFile::remove(doc);
    }
}

/// SOLUC as Taviron may leave it, with one lesson whose DIA holds `dia` as stored.
void solucConDia(const QString& carpeta, const QByteArray& dia) {
    Tabla t(carpeta, QStringLiteral("SOLUC"));
    t.fieldDefs() = {{"PROF", TipoCampo::Cadena, 10},  {"DIA", TipoCampo::Entero, 0},
                     {"HORA", TipoCampo::Entero, 0},   {"MARCO", TipoCampo::Cadena, 1},
                     {"ASIG", TipoCampo::Cadena, 10},  {"CODGRUPO", TipoCampo::Cadena, 10},
                     {"TAREA", TipoCampo::Cadena, 10}, {"AULA", TipoCampo::Cadena, 10}};
    t.createTable();
    t.open();
    t.append();
    t.setString("PROF", "GARCL");
    t.setInteger("DIA", 7);
    t.setInteger("HORA", 1);
    t.setString("MARCO", "0");
    t.close();
    QFile f(QDir(carpeta).filePath(QStringLiteral("SOLUC.DBF")));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    const qsizetype en = bytes.indexOf("          7");
    ASSERT_GE(en, 0);
    bytes.replace(en, 11, dia.rightJustified(11, ' '));
    ASSERT_TRUE(f.seek(0));
    f.write(bytes);
}

TEST_F(CarpetaExportada, ImportacionRechazadaSinResultado) {
    const QString doc = c.escribirDocumento(QStringLiteral("centro.xml"),
                                            documentoIntercambio({}, QStringLiteral("2025/2026")));
    const QStringList importar{"importar", doc, "--qwork", c.trabajo()};

    for (const char* dia : {"nan", "inf", "-inf"}) {
        SCOPED_TRACE(dia);
        solucConDia(c.trabajo(), dia);
        rechazada(
            importar,
            {QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(dia))},
            doc);
    }

    solucConDia(c.trabajo(), "1");
    {
        Tabla proft(c.trabajo(), QStringLiteral("PROFT"));
        proft.open();
        proft.append();
        proft.setString("ABREV", "ZZ");
        proft.setString("NOMBRE", "Zeta Sin Datos");
        proft.setString("F_TOMAPOS", "01/09/2020");
        proft.close();
    }
    SCOPED_TRACE("profesor incompleto");
    rechazada(importar,
              {QString(kProfesoresIncompletos).replace("\n\r", "\n"), "ZZ", "Zeta Sin Datos",
               "falta X_EMPLEADO", "Taviron"},
              doc);
}

TEST_F(CarpetaExportada, OtraConversionEnLaMismaCarpetaSeRechazaEnSeguida) {
    // This test process holds the folder as a running conversion would; varnolo-cli
    // is a second process.
    const QString doc = c.escribirDocumento(
        QStringLiteral("centro.xml"),
        documentoIntercambio({{"JORNADAS_ESCOLARES", {dosMarcos().front()}}}, "2025/2026"));
    const QStringList ocupada{"La carpeta de trabajo " + QDir::toNativeSeparators(c.trabajo()) +
                              " está ocupada por otra conversión"};
    {
        const ReservaCarpeta reserva(c.trabajo());
        SCOPED_TRACE("exportar");
        rechazada({"exportar", doc, "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()},
                  ocupada, doc);
        SCOPED_TRACE("importar");
        rechazada({"importar", doc, "--qwork", c.trabajo()}, ocupada, doc);
    }
    // A folder in the lock file's place would let both run unlocked: refused.
    QFile::remove(QDir(c.trabajo()).filePath(kArchivoReserva));
    ASSERT_TRUE(QDir(c.trabajo()).mkdir(kArchivoReserva));
    const QStringList noEsArchivo{"En la carpeta de trabajo " +
                                  QDir::toNativeSeparators(c.trabajo()) +
                                  " hay una carpeta u otro elemento llamado VARNOLO.LCK"};
    for (const QString& accion : {QStringLiteral("exportar"), QStringLiteral("importar")}) {
        SCOPED_TRACE(accion.toStdString() + " con una carpeta VARNOLO.LCK");
        QStringList orden{accion, doc, "--qwork", c.trabajo()};
        if (accion == QStringLiteral("exportar")) orden << "--niveles" << nivelcanGenerado();
        rechazada(orden, noEsArchivo, doc);
    }
    ASSERT_TRUE(QDir(c.trabajo()).rmdir(kArchivoReserva));
    // Released with its holder: the next export runs.
    const Salida s = ejecutarCli(
        {"exportar", doc, "--qwork", c.trabajo(), "--niveles", nivelcanGenerado()}, c.programa());
    EXPECT_EQ(s.codigo, 0) << s.errores.toStdString();
}

}  // namespace
}  // namespace varnolo::prueba
