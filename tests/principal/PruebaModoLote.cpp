// The run modes of the main window: which conversion the two arguments start, what
// the window does afterwards, and what Taviron finds in Taviron.ini at the end.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "dbf/Tabla.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "tests/principal/VentanaPrueba.h"

namespace varnolo::prueba {
namespace {

const QString kCualquierError;  // an error whose wording belongs to another part

struct CasoLote {
    const char* nombre;
    QStringList argumentos;
    bool conDocumento;       // the file dialog gives the complete document, else it is cancelled
    bool conNivelcan;        // NIVELCAN.DBF lies in the program folder
    bool trabajoInservible;  // the work folder is a plain file: every table fails
    int vecesArchivo;        // times the file dialog was shown
    QList<std::pair<QMessageBox::Icon, QString>> avisos;
    bool abiertaAlTerminar;
    std::optional<QByteArray> transformado;  // value written at close, or nothing written
};

void PrintTo(const CasoLote& caso, std::ostream* os) { *os << caso.nombre; }

const auto kInfo = QMessageBox::NoIcon;
const auto kError = QMessageBox::Critical;

const CasoLote kCasosLote[] = {
    {"exportar_en_mayusculas_completa_y_cierra",
     {"EXPORTAR", "cualquiera"},
     true,
     true,
     false,
     1,
     {{kInfo, kProcesoFinalizado}},
     false,
     "1"},
    {"un_argumento_es_interactivo", {"exportar"}, true, true, false, 0, {}, true, std::nullopt},
    {"tres_argumentos_es_interactivo",
     {"exportar", "a", "b"},
     true,
     true,
     false,
     0,
     {},
     true,
     std::nullopt},
    {"otra_palabra_no_ejecuta_nada", {"convertir", "x"}, true, true, false, 0, {}, true, "0"},
    {"cancelado_sin_eleccion_previa",
     {"exportar", "x"},
     false,
     true,
     false,
     1,
     {{kInfo, kNoExisteArchivo}},
     false,
     "-1"},
    {"sin_nivelcan_queda_abierta",
     {"Exportar", "x"},
     true,
     false,
     false,
     1,
     {{kInfo, kNivelcanNoEncontrado}},
     true,
     "0"},
    {"error_en_la_conversion_queda_abierta",
     {"exportar", "x"},
     true,
     true,
     true,
     1,
     {{kError, kCualquierError}},
     true,
     "0"},
    {"importar_mezclando_mayusculas_cancelado",
     {"ImPoRtAr", "x"},
     false,
     true,
     false,
     1,
     {{kInfo, kNoExisteArchivo}},
     false,
     "-1"},
    // Only ASCII letters are lower-cased: a capital I with a dot leaves no known action.
    {"solo_minusculas_ascii",
     {QStringLiteral("İMPORTAR"), "x"},
     true,
     true,
     false,
     0,
     {},
     true,
     "0"},
};

class ModoLote : public ::testing::TestWithParam<CasoLote> {};

TEST_P(ModoLote, EjecutaLaAccionYEscribeElResultadoAlCerrar) {
    const CasoLote& caso = GetParam();
    VentanaPrueba p;
    if (caso.conDocumento) p.documentos << documentoCompleto();
    if (caso.conNivelcan) p.carpetas.instalarNivelcan();
    VentanaPrincipal& v = p.crear(caso.argumentos, [&](Entorno& e) {
        if (caso.trabajoInservible) e.carpetaTrabajo = documentoCompleto();
    });
    p.mostrar();

    EXPECT_EQ(p.vecesArchivo, caso.vecesArchivo);
    ASSERT_EQ(p.avisos.size(), caso.avisos.size()) << p.textos().join(u'|').toStdString();
    for (qsizetype i = 0; i < p.avisos.size(); ++i) {
        EXPECT_EQ(p.avisos[i].icono, caso.avisos[i].first);
        EXPECT_EQ(p.avisos[i].titulo, QStringLiteral("Varnolo"));
        if (caso.avisos[i].second.isEmpty()) {
            EXPECT_FALSE(p.avisos[i].texto.isEmpty());
        } else {
            EXPECT_EQ(p.avisos[i].texto, caso.avisos[i].second);
        }
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(p.avisoConCursorOcupado);
    EXPECT_EQ(v.isVisible(), caso.abiertaAlTerminar);

    if (v.isVisible()) {
        EXPECT_TRUE(v.close());
    }
    if (caso.transformado) {
        const QByteArray esperado =
            "[Transformadores]\r\nTransformado=" + *caso.transformado + "\r\n";
        EXPECT_EQ(p.ini().value_or("(no existe)"), esperado);
    } else {
        EXPECT_FALSE(p.ini().has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, ModoLote, ::testing::ValuesIn(kCasosLote),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(VentanaPrincipal, ExportacionInteractivaCompletaDeshabilitaAmbosBotones) {
    VentanaPrueba p;
    p.carpetas.instalarNivelcan();
    p.documentos << documentoCompleto();
    VentanaPrincipal& v = p.crear({});
    p.mostrar();
    EXPECT_EQ(p.vecesArchivo, 0);  // nothing runs on its own

    p.boton("BExportar")->click();

    EXPECT_EQ(p.textos(), QStringList{kProcesoFinalizado});
    // Behind the box's details button, the rows written to each table.
    ASSERT_FALSE(p.avisos.isEmpty());
    EXPECT_TRUE(p.avisos.last().detalles.contains(QStringLiteral("PERIODOS")))
        << p.avisos.last().detalles.toStdString();
    EXPECT_EQ(p.avisos.last().detalles.count(u'\n'), 10);
    EXPECT_EQ(v.transformado(), 1);
    EXPECT_FALSE(p.boton("BExportar")->isEnabled());
    EXPECT_FALSE(p.boton("BImportar")->isEnabled());
    EXPECT_TRUE(p.boton("BClose")->isEnabled());
    EXPECT_TRUE(p.boton("Button1")->isEnabled());
    EXPECT_TRUE(v.isVisible());
    EXPECT_TRUE(QFileInfo::exists(p.carpetas.trabajo(QStringLiteral("PERIODOS.DBF"))));

    EXPECT_TRUE(v.close());
    EXPECT_FALSE(p.ini().has_value());  // interactive runs leave Taviron.ini alone
}

// An import's report goes behind the same details button: the lessons of each teacher.
TEST(VentanaPrincipal, ImportacionCompletaMuestraLasLeccionesDeCadaProfesor) {
    VentanaPrueba p;
    p.carpetas.instalarNivelcan();
    const QString doc = p.carpetas.escribirDocumento(QStringLiteral("centro.xml"), [] {
        QFile f(documentoCompleto());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }());
    p.documentos << doc << doc;
    p.crear({});
    p.mostrar();
    p.boton("BExportar")->click();
    ASSERT_EQ(p.textos(), QStringList{kProcesoFinalizado});
    QString profesor;
    {
        Tabla proft(p.carpetas.trabajo(), QStringLiteral("PROFT"));
        proft.open();
        profesor = proft.asString(QStringLiteral("ABREV"));
    }
    crearSoluc(p.carpetas.entorno());
    {
        Tabla soluc(p.carpetas.trabajo(), QStringLiteral("SOLUC"));
        soluc.open();
        soluc.append();
        soluc.setString(QStringLiteral("PROF"), profesor);
        soluc.setInteger(QStringLiteral("DIA"), 1);
        soluc.setInteger(QStringLiteral("HORA"), 1);
        soluc.setString(QStringLiteral("MARCO"), QStringLiteral("0"));
        soluc.post();
    }
    p.boton("BImportar")->setEnabled(true);
    p.avisos.clear();
    p.boton("BImportar")->click();
    ASSERT_EQ(p.textos(), QStringList{kProcesoFinalizado});
    EXPECT_TRUE(p.avisos.last().detalles.startsWith(profesor.leftJustified(12) +
                                                    QStringLiteral("       1 lección")))
        << p.avisos.last().detalles.toStdString();
}

TEST(VentanaPrincipal, DialogoCanceladoReutilizaElDocumentoElegidoAntes) {
    VentanaPrueba p;
    p.documentos << documentoCompleto() << std::nullopt;
    VentanaPrincipal& v = p.crear({});
    p.mostrar();

    p.boton("BExportar")->click();  // no level table yet
    p.carpetas.instalarNivelcan();
    p.boton("BExportar")->click();  // dialog cancelled: the earlier document again

    EXPECT_EQ(p.textos(), (QStringList{kNivelcanNoEncontrado, kProcesoFinalizado}));
    EXPECT_EQ(v.documentoElegido(), documentoCompleto());
    EXPECT_EQ(v.transformado(), 1);
}

// The import's two stops: without PERIODOS the window stays as it was; with a teacher
// whose data was not completed in the dialog (shown with the normal cursor), the
// message is shown and the window closes, so that the user starts again.
TEST(VentanaPrincipal, ImportacionQueSeDetieneAvisaYSoloCierraPorLosProfesores) {
    VentanaPrueba p;
    p.carpetas.instalarNivelcan();
    const QString doc = ejemplo(QStringLiteral("centro-sin-toma.xml"));
    p.documentos << doc << doc << doc;
    VentanaPrincipal& v = p.crear({});
    p.mostrar();
    p.boton("BExportar")->click();
    ASSERT_EQ(p.textos(), QStringList{kProcesoFinalizado});
    p.boton("BImportar")->setEnabled(true);
    crearSoluc(p.carpetas.entorno());
    QFile::rename(p.carpetas.trabajo(QStringLiteral("PERIODOS.DBF")),
                  p.carpetas.trabajo(QStringLiteral("PERIODOS.BAK")));

    p.avisos.clear();
    p.boton("BImportar")->click();
    EXPECT_EQ(p.textos(), QStringList{kPeriodosNoEncontrado});
    EXPECT_EQ(p.avisos[0].icono, QMessageBox::NoIcon);
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(p.vecesProfesores, 0);

    QFile::rename(p.carpetas.trabajo(QStringLiteral("PERIODOS.BAK")),
                  p.carpetas.trabajo(QStringLiteral("PERIODOS.DBF")));
    p.avisos.clear();
    p.boton("BImportar")->click();
    EXPECT_EQ(p.vecesProfesores, 1);
    EXPECT_EQ(p.textos(), QStringList{kProfesoresIncompletos});
    EXPECT_FALSE(p.avisoConCursorOcupado);
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(v.transformado(), 1);  // from the export; the import did not complete
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(VentanaPrincipal, ErrorDeLaConversionSeMuestraYDejaLaVentanaComoEstaba) {
    VentanaPrueba p;
    p.carpetas.instalarNivelcan();
    p.documentos << documentoCompleto() << documentoCompleto();
    VentanaPrincipal& v = p.crear({}, [](Entorno& e) { e.carpetaTrabajo = documentoCompleto(); });
    p.mostrar();

    for (const char* boton : {"BExportar", "BImportar"}) {
        SCOPED_TRACE(boton);
        p.avisos.clear();
        p.boton(boton)->click();
        ASSERT_EQ(p.avisos.size(), 1);
        EXPECT_EQ(p.avisos[0].icono, QMessageBox::Critical);
        EXPECT_EQ(p.avisos[0].titulo, QStringLiteral("Varnolo"));
        EXPECT_FALSE(p.avisos[0].texto.isEmpty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(p.boton("BExportar")->isEnabled());
        EXPECT_TRUE(p.boton("BImportar")->isEnabled());
        EXPECT_EQ(v.transformado(), 0);
        EXPECT_TRUE(v.isVisible());
    }
}

// The first close that cannot write Taviron.ini is refused with the error; the
// next one closes all the same (Taviron.ini untouched, a failing exit status), so
// the program can always be ended.
TEST(VentanaPrincipal, SinPoderEscribirTavironIniSeRechazaUnaSolaVez) {
    VentanaPrueba p;
    ASSERT_TRUE(QDir(p.carpetas.programa()).mkdir(QStringLiteral("Taviron.ini")));
    VentanaPrincipal& v = p.crear({QStringLiteral("otra"), QStringLiteral("x")});
    p.mostrar();

    EXPECT_FALSE(v.close());

    EXPECT_TRUE(v.isVisible());
    ASSERT_EQ(p.avisos.size(), 1);
    EXPECT_EQ(p.avisos[0].icono, QMessageBox::Critical);
    // The error as Taviron's users know it, and what to do next.
    EXPECT_EQ(p.avisos[0].texto, QStringLiteral("Unable to write to ") +
                                     QDir::toNativeSeparators(v.rutaIni()) +
                                     QStringLiteral("\n\nTaviron no sabrá cómo terminó la "
                                                    "conversión hasta que se escriba ese "
                                                    "archivo. Cierre el programa que lo tenga "
                                                    "abierto o corrija sus permisos, y vuelva a "
                                                    "cerrar esta ventana: se intentará otra vez. "
                                                    "Si vuelve a fallar, la ventana se cerrará "
                                                    "sin escribirlo."));

    EXPECT_TRUE(v.close());
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(p.avisos.size(), 1);
    EXPECT_EQ(v.codigoSalida(), VentanaPrincipal::kSalidaSinIni);
    EXPECT_NE(VentanaPrincipal::kSalidaSinIni, 0);
    EXPECT_TRUE(QFileInfo(v.rutaIni()).isDir());
    EXPECT_TRUE(QDir(v.rutaIni()).isEmpty());
}

// Freed after the refusal, the file is written at the next close, as usual.
TEST(VentanaPrincipal, TavironIniLiberadoTrasElRechazoSeEscribe) {
    VentanaPrueba p;
    ASSERT_TRUE(QDir(p.carpetas.programa()).mkdir(QStringLiteral("Taviron.ini")));
    VentanaPrincipal& v = p.crear({QStringLiteral("otra"), QStringLiteral("x")});
    p.mostrar();
    EXPECT_FALSE(v.close());
    ASSERT_TRUE(QDir(p.carpetas.programa()).rmdir(QStringLiteral("Taviron.ini")));

    EXPECT_TRUE(v.close());
    EXPECT_EQ(p.avisos.size(), 1);
    EXPECT_EQ(v.codigoSalida(), 0);
    EXPECT_EQ(p.ini().value_or("(no existe)"), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(VentanaPrincipal, DocumentoQueNoEsXmlNoVaciaLasTablas) {
    VentanaPrueba p;
    p.carpetas.instalarNivelcan();
    p.documentos << p.carpetas.escribirDocumento(QStringLiteral("roto.xml"), "<SERVICIO><BLOQUE");
    QFile tabla(p.carpetas.trabajo(QStringLiteral("ASIGNOMT.DBF")));
    ASSERT_TRUE(tabla.open(QIODevice::WriteOnly));
    tabla.write("tabla de Taviron");
    tabla.close();
    VentanaPrincipal& v = p.crear({QStringLiteral("exportar"), QStringLiteral("x")});
    p.mostrar();

    ASSERT_EQ(p.avisos.size(), 1);
    EXPECT_EQ(p.avisos[0].icono, QMessageBox::Critical);
    EXPECT_TRUE(p.avisos[0].texto.contains(QStringLiteral("roto.xml")));
    EXPECT_TRUE(v.isVisible());
    ASSERT_TRUE(tabla.open(QIODevice::ReadOnly));
    EXPECT_EQ(tabla.readAll(), "tabla de Taviron");

    EXPECT_TRUE(v.close());
    EXPECT_EQ(p.ini().value_or("(no existe)"), "[Transformadores]\r\nTransformado=0\r\n");
}

}  // namespace
}  // namespace varnolo::prueba
