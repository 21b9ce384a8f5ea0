// What the user sees of the main window: captions, places and sizes, fonts, the
// standard buttons in Spanish, help, and the real message box and file dialog.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/Letras.h"
#include "app/PanelDegradado.h"
#include "export/Exportacion.h"
#include "tests/principal/VentanaPrueba.h"

namespace varnolo::prueba {
namespace {

struct Lugar {
    const char* nombre;
    const char* padre;
    QRect geometria;
};

TEST(AspectoVentana, ComponentesEnSuSitioConSusTextos) {
    VentanaPrueba p;
    VentanaPrincipal& v = p.crear({});

    EXPECT_EQ(v.windowTitle(), QStringLiteral("Exportar e importar datos entre Taviron y Velna"));
    EXPECT_EQ(v.minimumSize(), QSize(632, 266));
    EXPECT_EQ(v.maximumSize(), QSize(632, 266));

    const Lugar lugares[] = {
        {"Draw3D1", "TMForm", {0, 168, 633, 97}},    {"Draw3D2", "TMForm", {1, 0, 315, 169}},
        {"Draw3D3", "TMForm", {316, 0, 317, 169}},   {"BExportar", "Draw3D2", {96, 120, 89, 25}},
        {"BImportar", "Draw3D3", {96, 120, 89, 25}}, {"BClose", "Draw3D1", {256, 32, 89, 25}},
        {"Button1", "Draw3D1", {264, 64, 75, 25}},   {"Label1", "Draw3D1", {8, 72, 240, 16}},
    };
    for (const Lugar& l : lugares) {
        SCOPED_TRACE(l.nombre);
        const auto* w = v.findChild<QWidget*>(QString::fromLatin1(l.nombre));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(l.padre));
        EXPECT_EQ(w->geometry(), l.geometria);
    }
    for (const char* panel : {"Draw3D1", "Draw3D2", "Draw3D3"}) {
        EXPECT_NE(v.findChild<PanelDegradado*>(QString::fromLatin1(panel)), nullptr) << panel;
    }

    // The standard OK caption of Qt's Spanish translation, on both conversion buttons.
    EXPECT_EQ(p.boton("BExportar")->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(p.boton("BImportar")->text(), QStringLiteral("Aceptar"));
    EXPECT_FALSE(p.boton("BExportar")->icon().isNull());
    EXPECT_EQ(p.boton("BClose")->text(), QStringLiteral("&Salir"));
    EXPECT_EQ(p.boton("Button1")->text(), QStringLiteral("F1 Ayuda"));

    const auto* label3 = v.findChild<QLabel*>(QStringLiteral("Label3"));
    const auto* label4 = v.findChild<QLabel*>(QStringLiteral("Label4"));
    const auto* label1 = v.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(label3 && label4 && label1);
    EXPECT_EQ(label3->text(), QStringLiteral("Transformar datos desde Velna hacia Taviron "));
    EXPECT_EQ(label4->text(), QStringLiteral("Transformar datos desde Taviron hacia Velna"));
    EXPECT_EQ(label3->size(), QSize(265, 57));
    EXPECT_EQ(label4->size(), QSize(305, 57));
    for (const QLabel* l : {label3, label4}) {
        EXPECT_EQ(l->textFormat(), Qt::PlainText);
        EXPECT_TRUE(l->wordWrap());
        EXPECT_EQ(l->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(l->font().pixelSize(), 16);
        EXPECT_TRUE(l->font().bold());
    }
    EXPECT_TRUE(label1->text().startsWith(QStringLiteral("VARNOLO para Taviron")));
    EXPECT_TRUE(label1->text().endsWith(QStringLiteral("V-1.0")));
    EXPECT_EQ(label1->textFormat(), Qt::PlainText);
    EXPECT_TRUE(label1->font().bold());
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST(AspectoVentana, CapturaDeLaVentana) {
    VentanaPrueba p;
    VentanaPrincipal& v = p.crear({});
    v.show();
    const QString carpeta = QStringLiteral(VARNOLO_CAPTURAS);
    ASSERT_TRUE(QDir().mkpath(carpeta));
    const QImage imagen = v.grab().toImage();
    EXPECT_EQ(imagen.size() / imagen.devicePixelRatio(), QSize(632, 266));
    EXPECT_TRUE(imagen.save(QDir(carpeta).filePath(QStringLiteral("VentanaPrincipal.png"))));
}

// Every text of the windows is in a sans face of the size asked for, also where the
// system has neither Arial nor MS Sans Serif (Wine, a bare Linux): never the serif
// face a font lookup falls back to.
TEST(AspectoVentana, LetrasSansAunqueFaltenArialYMsSansSerif) {
    // Qt's offscreen platform on Windows has no font database at all.
    if (QFontDatabase::families().isEmpty()) GTEST_SKIP() << "esta plataforma no tiene letras";
    QStringList sans{QStringLiteral("Arial"), QStringLiteral("Microsoft Sans Serif"),
                     QStringLiteral("MS Sans Serif")};
    for (const char* nombre : kSustitutasSans) sans << QString::fromLatin1(nombre);
    VentanaPrueba p;
    VentanaPrincipal& v = p.crear({});
    for (const char* etiqueta : {"Label3", "Label4", "Label1"}) {
        SCOPED_TRACE(etiqueta);
        const auto* l = v.findChild<QLabel*>(QString::fromLatin1(etiqueta));
        ASSERT_NE(l, nullptr);
        const QFontInfo info(l->font());
        EXPECT_TRUE(sans.contains(info.family())) << info.family().toStdString();
    }
    for (const QString& pedida : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif")}) {
        const QFontInfo info{QFont(pedida)};
        EXPECT_TRUE(sans.contains(info.family()))
            << pedida.toStdString() << " -> " << info.family().toStdString();
    }
}

TEST(AspectoVentana, SalirCierraLaVentana) {
    VentanaPrueba p;
    VentanaPrincipal& v = p.crear({});
    p.mostrar();
    p.boton("BClose")->click();
    EXPECT_FALSE(v.isVisible());
}

// Enter (Return or the keypad's) presses the button that has the focus, as Space.
TEST(AspectoVentana, EnterPulsaElBotonConElFoco) {
    VentanaPrueba p;
    VentanaPrincipal& v = p.crear({});
    p.mostrar();
    v.activateWindow();
    QApplication::processEvents();

    QPushButton* exportar = p.boton("BExportar");
    exportar->setFocus();
    QTest::keyClick(exportar, Qt::Key_Return);
    EXPECT_EQ(p.vecesArchivo, 1);
    EXPECT_EQ(p.textos(), QStringList{kNoExisteArchivo});

    QPushButton* cerrar = p.boton("BClose");
    cerrar->setFocus();
    QTest::keyClick(cerrar, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(v.isVisible());
}

TEST(Ayuda, SinArchivoDeAyudaLoDice) {
    VentanaPrueba p;
    VentanaPrincipal& v = p.crear({});
    p.mostrar();
    v.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&v));

    p.boton("Button1")->click();
    QTest::keyClick(&v, Qt::Key_F1);

    ASSERT_EQ(p.avisos.size(), 2);
    for (const AvisoVentana& a : p.avisos) {
        EXPECT_EQ(a.icono, QMessageBox::NoIcon);
        EXPECT_TRUE(
            a.texto.startsWith(QStringLiteral("No se encuentra el archivo de ayuda VELNA.chm")))
            << a.texto.toStdString();
        EXPECT_TRUE(a.texto.contains(QDir::toNativeSeparators(p.carpetas.programa())));
    }
}

/// Runs `accion` on the modal window that opens next, from the event loop.
template <typename Ventana, typename Accion>
void alAbrirse(Accion accion) {
    QTimer::singleShot(0, [accion] {
        auto* modal = qobject_cast<Ventana*>(QApplication::activeModalWidget());
        if (!modal) {
            ADD_FAILURE() << "No se abrió la ventana esperada";
            if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
            return;
        }
        accion(modal);
    });
}

TEST(DialogosReales, CajaDeMensajeConTituloYBotonAceptar) {
    VentanaPrueba p;
    DialogosVentana reales = DialogosVentana::reales();
    reales.elegirArchivo = [](QWidget*) { return std::nullopt; };
    VentanaPrincipal v(p.carpetas.entorno(), {}, reales);
    v.show();

    QString titulo, texto, boton;
    alAbrirse<QMessageBox>([&](QMessageBox* caja) {
        titulo = caja->windowTitle();
        texto = caja->text();
        boton = caja->button(QMessageBox::Ok)->text();
        caja->button(QMessageBox::Ok)->click();
    });
    v.alPulsarExportar();

    EXPECT_EQ(titulo, QStringLiteral("Varnolo"));
    EXPECT_EQ(texto, kNoExisteArchivo);
    EXPECT_EQ(boton, QStringLiteral("Aceptar"));
}

// One rule for every box: the program's messages plain, errors with the error icon;
// "Proceso finalizado" keeps its text and its one OK button; what the conversion wrote
// is behind the details button.
TEST(DialogosReales, ProcesoFinalizadoConDetalles) {
    AvisoVentana aviso = avisoDe(ClaseAviso::Mensaje, kProcesoFinalizado);
    aviso.detalles = QStringLiteral("PROFT             20 filas\n");
    const auto caja = crearCajaAviso(nullptr, aviso);
    EXPECT_EQ(caja->text(), kProcesoFinalizado);
    EXPECT_EQ(caja->detailedText(), aviso.detalles);
    EXPECT_EQ(caja->standardButtons(), QMessageBox::Ok);
    const auto sinDetalles =
        crearCajaAviso(nullptr, avisoDe(ClaseAviso::Mensaje, kProcesoFinalizado));
    EXPECT_TRUE(sinDetalles->detailedText().isEmpty());
}

// each with one OK button, its caption, and the message itself for a screen reader
// and for Ctrl+C.
TEST(DialogosReales, CadaMensajeSigueLaMismaRegla) {
    VentanaPrueba p;
    struct Caso {
        QString texto;
        ClaseAviso clase;
    };
    const Caso casos[] = {
        {kNoExisteArchivo, ClaseAviso::Mensaje},
        {QStringLiteral("ATENCIÓN - NIVELCAN.DBF No encontrado - Reinstale VARNOLO"),
         ClaseAviso::Mensaje},
        {kProcesoFinalizado, ClaseAviso::Mensaje},
        {QStringLiteral("Debe al menos seleccionar 1 Marco Horario."), ClaseAviso::Mensaje},
        {QStringLiteral("Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede "
                        "seleccionar 5 Marcos Horarios"),
         ClaseAviso::Mensaje},
        {QStringLiteral("Invalid characters. Field : F_TOMAPOS"), ClaseAviso::Error},
        {QStringLiteral("No se ha podido guardar el archivo C:\\Centro\\ResultadoZentorcentro.xml: "
                        "el disco está lleno."),
         ClaseAviso::Error},
        {QStringLiteral("La tabla SOLUC está dañada: el campo DIA es de un tipo desconocido (Z) "
                        "(C:\\QWORK\\SOLUC.DBF)"),
         ClaseAviso::Error},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto.toStdString());
        const std::unique_ptr<QMessageBox> caja =
            crearCajaAviso(nullptr, avisoDe(c.clase, c.texto));
        EXPECT_EQ(caja->icon(),
                  c.clase == ClaseAviso::Error ? QMessageBox::Critical : QMessageBox::NoIcon);
        EXPECT_EQ(caja->windowTitle(), QStringLiteral("Varnolo"));
        EXPECT_EQ(caja->buttons().size(), 1);
        EXPECT_EQ(caja->textFormat(), Qt::PlainText);
        EXPECT_EQ(caja->accessibleDescription(), c.texto);
        caja->show();
        QAccessibleInterface* accesible = QAccessible::queryAccessibleInterface(caja.get());
        ASSERT_NE(accesible, nullptr);
        EXPECT_EQ(accesible->text(QAccessible::Value), c.texto);
        EXPECT_EQ(accesible->text(QAccessible::Description), c.texto);
        QTest::keyClick(caja.get(), Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(c.texto));
    }
}

TEST(DialogosReales, OpenDialogXML) {
    QString titulo, sufijo;
    QStringList filtros;
    alAbrirse<QFileDialog>([&](QFileDialog* d) {
        titulo = d->windowTitle();
        filtros = d->nameFilters();
        sufijo = d->defaultSuffix();
        d->reject();
    });
    EXPECT_EQ(mostrarOpenDialogXML(nullptr), std::nullopt);
    EXPECT_EQ(titulo, QStringLiteral("Seleccione Archivo XML obtenido de VELNA"));
    EXPECT_EQ(filtros, QStringList{QStringLiteral("*.xml (*.xml)")});
    EXPECT_EQ(sufijo, QStringLiteral("xml"));
}

#ifndef Q_OS_WIN
// Qt's file dialog speaks Spanish in its list too, whatever the environment's
// language: a folder's type and the dates.
TEST(DialogosReales, OpenDialogXMLEnCastellano) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Centro")));
    const QDateTime fecha(QDate(2026, 12, 10), QTime(9, 5));
    {
        QFile f(dir.filePath(QStringLiteral("datos.xml")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.setFileTime(fecha, QFileDevice::FileModificationTime));
    }
    QString tipo, modificada, cabeceraTipo;
    alAbrirse<QFileDialog>([&](QFileDialog* d) {
        d->setDirectory(dir.path());
        auto* vista = d->findChild<QTreeView*>(QStringLiteral("treeView"));
        QAbstractItemModel* m = vista != nullptr ? vista->model() : nullptr;
        for (int espera = 0;
             m != nullptr && espera < 200 && (tipo.isEmpty() || modificada.isEmpty()); ++espera) {
            QTest::qWait(10);
            const QModelIndex raiz = vista->rootIndex();
            for (int r = 0; r < m->rowCount(raiz); ++r) {
                const QString nombre = m->index(r, 0, raiz).data().toString();
                if (nombre == QStringLiteral("Centro"))
                    tipo = m->index(r, 2, raiz).data().toString();
                if (nombre == QStringLiteral("datos.xml")) {
                    modificada = m->index(r, 3, raiz).data().toString();
                }
            }
        }
        if (m != nullptr) cabeceraTipo = m->headerData(2, Qt::Horizontal).toString();
        d->reject();
    });
    mostrarOpenDialogXML(nullptr);
    EXPECT_EQ(tipo, QStringLiteral("Carpeta"));
    EXPECT_EQ(modificada, QStringLiteral("10/12/26 9:05"));
    EXPECT_EQ(cabeceraTipo, QStringLiteral("Tipo"));
}
#endif

}  // namespace
}  // namespace varnolo::prueba
