// F1 in each window opens its topic: the page handed to the desktop's browser, or on
// Windows the context handed to the help viewer; without any help, an information box
// whose long path wraps.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/Ayuda.h"
#include "app/DialogoMarcos.h"
#include "app/DialogoProfesores.h"
#include "app/VentanaPrincipal.h"
#include "export/SeleccionMarcos.h"
#include "taviron/CarpetaTrabajo.h"
#include "tests/comun/Prueba.h"
#include "velna/DocumentoIntercambio.h"

namespace varnolo::prueba {
namespace {

/// Receives the URLs that QDesktopServices::openUrl would hand to the desktop.
class Navegador : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void abrir(const QUrl& url) { urls << url; }
};

/// A program folder with the help pages (and, when asked, a VELNA.chm) and a work
/// folder with an empty PROFT; the desktop and the help viewer replaced by recorders.
class AyudaF1 : public ::testing::Test {
  protected:
    Carpetas carpetas;
    /// The frames of a document with several, as the time-frame dialog receives them.
    MarcosHorarios marcos;
    Navegador navegador;
    QList<std::pair<QString, int>> pedidosVisor;
    bool visorResponde = true;
    QList<AvisoVentana> avisos;
    VisorAyuda visorOriginal;

    void SetUp() override {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &navegador, "abrir");
        visorOriginal = visorAyuda();
        visorAyuda() = [this](const QString& chm, int contexto) {
            pedidosVisor << std::pair(chm, contexto);
            return visorResponde;
        };
        CarpetaTrabajo(carpetas.entorno()).recrear({&catalogo::PROFT()});
        const auto doc = leerSecciones(datoPrueba(QStringLiteral("principal/completo.xml")));
        marcos = leerMarcosHorarios(*doc);
    }

    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        visorAyuda() = visorOriginal;
    }

    /// Copies the pages that the build placed beside the executables.
    void instalarPaginas() {
        const QDir origen(carpetaBinarios() + u'/' + kCarpetaAyuda);
        const QStringList nombres = origen.entryList(QDir::Files);
        ASSERT_FALSE(nombres.isEmpty()) << "no hay páginas en " << origen.path().toStdString();
        ASSERT_TRUE(QDir().mkpath(carpetas.programa(kCarpetaAyuda)));
        for (const QString& n : nombres) {
            ASSERT_TRUE(
                QFile::copy(origen.filePath(n), carpetas.programa(kCarpetaAyuda + u'/' + n)));
        }
    }

    /// Any file serves: the viewer is a recorder.
    void instalarChm() {
        QFile f(carpetas.programa(kArchivoAyuda));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ITSF");
    }

    QUrl urlDe(const QString& paginaAyuda) const {
        return QUrl::fromLocalFile(carpetas.programa(kCarpetaAyuda + u'/' + paginaAyuda));
    }

    /// The main window with scripted message boxes.
    std::unique_ptr<VentanaPrincipal> ventanaPrincipal() {
        DialogosVentana d = DialogosVentana::reales();
        d.avisar = [this](QWidget*, const AvisoVentana& a) { avisos << a; };
        return std::make_unique<VentanaPrincipal>(carpetas.entorno(), QStringList{}, d);
    }

    /// Shows `w`, makes it the active window (F1 is a window shortcut) and presses F1;
    /// `enLaCaja` answers the message box that F1 may open.
    static void pulsarF1(QWidget* w, const std::function<void(QMessageBox*)>& enLaCaja = {}) {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        if (enLaCaja) {
            QTimer::singleShot(0, [enLaCaja] {
                if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    enLaCaja(caja);
                    caja->accept();
                } else {
                    ADD_FAILURE() << "no se abrió ningún aviso";
                }
            });
        }
        QTest::keyClick(w, Qt::Key_F1);
        QCoreApplication::processEvents();
    }

    /// Asks for the help of one window as the user does.
    void pedirAyuda(const char* ventana) {
        const QString nombre = QString::fromLatin1(ventana);
        if (nombre == QLatin1String("VentanaPrincipal")) {
            auto w = ventanaPrincipal();
            pulsarF1(w.get());
        } else if (nombre == QLatin1String("F1 Ayuda")) {
            auto w = ventanaPrincipal();
            w->show();
            w->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        } else if (nombre == QLatin1String("DialogoMarcos")) {
            DialogoMarcos d(marcos, carpetas.entorno().carpetaPrograma);
            pulsarF1(&d);
        } else {
            DialogoProfesores d(nullptr, carpetas.entorno());
            pulsarF1(&d);
        }
    }
};

/// The three windows and "F1 Ayuda", each with the topic it must open.
struct Ventana {
    const char* nombre;
    TemaAyuda tema;
};
const Ventana kVentanas[] = {
    {"VentanaPrincipal", kAyudaVentanaPrincipal},
    {"F1 Ayuda", kAyudaContenido},
    {"DialogoMarcos", kAyudaMarcos},
    {"DialogoProfesores", kAyudaProfesores},
};

TEST_F(AyudaF1, CadaVentanaAbreSuTema) {
    instalarPaginas();
    // The desktop always gets the page here: with no VELNA.chm not even Windows asks
    // its viewer.
    for (const Ventana& v : kVentanas) {
        SCOPED_TRACE(v.nombre);
        navegador.urls.clear();
        pedirAyuda(v.nombre);
        EXPECT_EQ(navegador.urls, QList<QUrl>{urlDe(v.tema.pagina)});
    }
    EXPECT_TRUE(pedidosVisor.isEmpty());
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(AyudaF1, ConVelnaChmWindowsPideElContexto) {
    instalarPaginas();
    instalarChm();
    const QString chm = carpetas.programa(kArchivoAyuda);
    for (const bool responde : {true, false}) {
        visorResponde = responde;
        for (const Ventana& v : kVentanas) {
            SCOPED_TRACE(std::string(v.nombre) + (responde ? "" : ", visor que falla"));
            navegador.urls.clear();
            pedidosVisor.clear();
            pedirAyuda(v.nombre);
            if (plataforma::hayVisorConContextos()) {
                EXPECT_EQ(pedidosVisor, (QList<std::pair<QString, int>>{{chm, v.tema.contexto}}));
                // A viewer that fails leaves the page to the browser.
                EXPECT_EQ(navegador.urls,
                          responde ? QList<QUrl>{} : QList<QUrl>{urlDe(v.tema.pagina)});
            } else {
                EXPECT_TRUE(pedidosVisor.isEmpty());
                EXPECT_EQ(navegador.urls, QList<QUrl>{urlDe(v.tema.pagina)});
            }
        }
    }
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(AyudaF1, SinPaginasElVisorSinContextosMuestraElArchivo) {
    if (plataforma::hayVisorConContextos()) GTEST_SKIP() << "Windows abre VELNA.chm con su visor";
    instalarChm();
    auto w = ventanaPrincipal();
    pulsarF1(w.get());
    EXPECT_EQ(navegador.urls, QList<QUrl>{QUrl::fromLocalFile(carpetas.programa(kArchivoAyuda))});
}

TEST_F(AyudaF1, SinAyudaUnAvisoSencillo) {
    // The main window.
    auto w = ventanaPrincipal();
    pulsarF1(w.get());
    w->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    ASSERT_EQ(avisos.size(), 2);
    for (const AvisoVentana& a : avisos) {
        EXPECT_EQ(a.icono, QMessageBox::NoIcon);
        EXPECT_EQ(a.titulo, QStringLiteral("Varnolo"));
        EXPECT_EQ(a.texto, QStringLiteral("No se encuentra el archivo de ayuda VELNA.chm en %1. "
                                          "Reinstale VARNOLO.")
                               .arg(QDir::toNativeSeparators(carpetas.programa())));
    }
    w.reset();

    // Both dialogs show a real box of the same kind.
    for (int dialogo = 0; dialogo < 2; ++dialogo) {
        SCOPED_TRACE(dialogo == 0 ? "DialogoMarcos" : "DialogoProfesores");
        std::unique_ptr<QDialog> d;
        if (dialogo == 0) {
            d = std::make_unique<DialogoMarcos>(marcos, carpetas.entorno().carpetaPrograma);
        } else {
            d = std::make_unique<DialogoProfesores>(nullptr, carpetas.entorno());
        }
        QMessageBox::Icon icono = QMessageBox::NoIcon;
        QString titulo, texto;
        pulsarF1(d.get(), [&](QMessageBox* caja) {
            icono = caja->icon();
            titulo = caja->windowTitle();
            texto = caja->text();
        });
        EXPECT_EQ(icono, QMessageBox::NoIcon);
        EXPECT_EQ(titulo, QStringLiteral("Varnolo"));
        EXPECT_TRUE(
            texto.startsWith(QStringLiteral("No se encuentra el archivo de ayuda VELNA.chm")))
            << texto.toStdString();
    }
}

TEST(AvisoAyuda, UnaRutaLargaSeParteEnVariasLineas) {
    QString carpeta = QStringLiteral("C:\\Archivos de programa");
    for (int i = 0; i < 12; ++i) carpeta += QStringLiteral("\\CarpetaDeInstalacion%1").arg(i);
    const QString texto =
        QStringLiteral("No se encuentra el archivo de ayuda VELNA.chm en %1. Reinstale VARNOLO.")
            .arg(carpeta);
    bool visto = false;
    QTimer::singleShot(0, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caja) return;
        visto = true;
        const auto* etiqueta = caja->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        EXPECT_NE(etiqueta, nullptr);
        if (etiqueta) {
            const QFontMetrics m(etiqueta->font());
            // Narrower than the text on one line, with no piece wider than itself (the
            // widest unbreakable piece sets the minimum width), and tall enough to show
            // every line.
            EXPECT_LT(etiqueta->width(), m.horizontalAdvance(texto));
            EXPECT_LE(etiqueta->minimumSizeHint().width(), etiqueta->width());
            EXPECT_GE(etiqueta->height(), etiqueta->heightForWidth(etiqueta->width()));
            EXPECT_GT(etiqueta->height(), 2 * m.lineSpacing());
            // What a screen reader reads is the message itself.
            EXPECT_EQ(etiqueta->accessibleName(), texto);
        }
        EXPECT_EQ(caja->accessibleDescription(), texto);
        // Ctrl+C copies the message as it is, a path that still works.
        QTest::keyClick(caja, Qt::Key_C, Qt::ControlModifier);
        const QString copiado = QGuiApplication::clipboard()->text();
        EXPECT_TRUE(copiado.contains(u'\n' + texto + u'\n')) << copiado.toStdString();
        EXPECT_FALSE(copiado.contains(QChar(0x200B)));
        if (const QScreen* pantalla = caja->screen()) {
            EXPECT_LE(caja->width(), pantalla->availableGeometry().width());
        }
        caja->accept();
    });
    mostrarAviso(nullptr, avisoDe(ClaseAviso::Mensaje, texto));
    EXPECT_TRUE(visto);
}

}  // namespace
}  // namespace varnolo::prueba

#include "PruebaF1.moc"
