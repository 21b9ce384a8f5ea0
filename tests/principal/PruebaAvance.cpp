// The progress dialog: it stays away from a short run, shows what is being done, and
// "Cancelar", Esc or its close button stop the conversion. Stopped from the main
// window, an export or an import changes nothing, shows no message and leaves the
// batch flag at 0.

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "app/DialogoAvance.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "tests/principal/VentanaPrueba.h"

namespace varnolo::prueba {
namespace {

using namespace std::chrono_literals;

QPushButton* cancelar(const QWidget& w) {
    return w.findChild<QPushButton*>(QStringLiteral("BotonCancelar"));
}

TEST(DialogoDeAvance, NoApareceEnUnaConversionCorta) {
    DialogoAvance d(nullptr, 1h);
    for (qint64 i = 0; i <= 100; ++i) EXPECT_TRUE(d.seguir(Avance::Fase::Lectura, i, 100));
    EXPECT_FALSE(d.isVisible());
}

TEST(DialogoDeAvance, MuestraLoQueSeHaceYCadaFormaDeCancelarLoDetiene) {
    const std::function<void(DialogoAvance&)> formas[] = {
        [](DialogoAvance& d) { QTest::mouseClick(cancelar(d), Qt::LeftButton); },
        [](DialogoAvance& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](DialogoAvance& d) { d.close(); },
    };
    for (const auto& cancelarCon : formas) {
        DialogoAvance d(nullptr, 0ms);
        ASSERT_TRUE(d.seguir(Avance::Fase::Tablas, 3, 7));
        ASSERT_TRUE(d.isVisible());
        EXPECT_TRUE(d.isModal());
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Varnolo"));
        EXPECT_EQ(cancelar(d)->text(), QStringLiteral("Cancelar"));
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("TextoAvance"))->text(),
                  textoDeFase(Avance::Fase::Tablas));
        const auto* barra = d.findChild<QProgressBar*>(QStringLiteral("BarraAvance"));
        EXPECT_EQ(barra->value(), 3 * barra->maximum() / 7);

        cancelarCon(d);
        EXPECT_TRUE(d.cancelado());
        EXPECT_FALSE(d.seguir(Avance::Fase::Tablas, 4, 7));
        EXPECT_FALSE(d.seguir(Avance::Fase::Tablas, 5, 7));
    }
}

TEST(DialogoDeAvance, SeApartaMientrasSePreguntaYVuelveEnSeguida) {
    DialogoAvance d(nullptr, 0ms);
    ASSERT_TRUE(d.seguir(Avance::Fase::Lectura, 10, 100));
    ASSERT_TRUE(d.isVisible());
    d.apartar();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.seguir(Avance::Fase::Tablas, 0, 7));
    EXPECT_TRUE(d.isVisible());
}

TEST(DialogoDeAvance, Captura) {
    DialogoAvance d(nullptr, 0ms);
    ASSERT_TRUE(d.seguir(Avance::Fase::Lectura, 45, 100));
    const QString carpeta = QStringLiteral(VARNOLO_CAPTURAS);
    ASSERT_TRUE(QDir().mkpath(carpeta));
    EXPECT_TRUE(
        d.grab().toImage().save(QDir(carpeta).filePath(QStringLiteral("DialogoAvance.png"))));
}

/// Every file under the folder with its bytes, the folder lock left out.
QMap<QString, QByteArray> contenido(const QString& carpeta) {
    QMap<QString, QByteArray> r = archivosDe(carpeta, true);
    r.remove(QStringLiteral("VARNOLO.LCK"));
    return r;
}

// Taviron starts the program in batch mode and the person presses "Cancelar" as soon as
// the dialog shows: no message, the window stays open, nothing changed, and the flag
// written at close is 0.
TEST(VentanaPrincipal, ConversionCanceladaNoCambiaNadaYDejaElIndicadorACero) {
    for (const QString& accion : {QStringLiteral("exportar"), QStringLiteral("importar")}) {
        SCOPED_TRACE(accion.toStdString());
        VentanaPrueba p;
        p.carpetas.instalarNivelcan();
        QFile completo(documentoCompleto());
        ASSERT_TRUE(completo.open(QIODevice::ReadOnly));
        const QString documento =
            p.carpetas.escribirDocumento(QStringLiteral("centro.xml"), completo.readAll());
        PreguntasPrueba preguntas;
        ASSERT_TRUE(exportar(p.carpetas.entorno(), documento, {}, preguntas).completada());
        crearSoluc(p.carpetas.entorno());
        escribirBytes(rutaResultado(documento), "<anterior/>");
        const QMap<QString, QByteArray> trabajo = contenido(p.carpetas.trabajo());
        const QMap<QString, QByteArray> documentos = contenido(QFileInfo(documento).path());

        p.documentos << documento;
        int dialogos = 0;
        p.avance = [&](QWidget* propietario) {
            ++dialogos;
            auto d = std::make_unique<DialogoAvance>(propietario, 0ms);
            QTimer::singleShot(0, d.get(), [w = d.get()] { cancelar(*w)->click(); });
            return d;
        };
        VentanaPrincipal& v = p.crear({accion, QStringLiteral("x")});
        p.mostrar();

        EXPECT_EQ(dialogos, 1);
        EXPECT_TRUE(p.avisos.isEmpty()) << p.textos().join(u'|').toStdString();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(v.isVisible());
        EXPECT_TRUE(contenido(p.carpetas.trabajo()) == trabajo);
        EXPECT_TRUE(contenido(QFileInfo(documento).path()) == documentos);
        EXPECT_TRUE(v.close());
        EXPECT_EQ(p.ini().value_or("(no existe)"), "[Transformadores]\r\nTransformado=0\r\n");
    }
}

}  // namespace
}  // namespace varnolo::prueba
