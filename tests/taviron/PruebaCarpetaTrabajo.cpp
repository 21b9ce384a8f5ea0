// Where the work folder is: "\QWORK" at the root of the current drive on Windows
// (whatever the current folder of that drive), elsewhere VARNOLO_QWORK or "/QWORK".
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "taviron/RutaTrabajo.h"

namespace varnolo::plataforma {
namespace {

/// Restores the current folder and VARNOLO_QWORK at the end of a test.
class CarpetaTrabajo : public ::testing::Test {
  protected:
    void TearDown() override {
        QDir::setCurrent(actual_);
        if (habiaVariable_) {
            qputenv("VARNOLO_QWORK", variable_);
        } else {
            qunsetenv("VARNOLO_QWORK");
        }
    }
    QTemporaryDir carpeta;

  private:
    QString actual_ = QDir::currentPath();
    bool habiaVariable_ = qEnvironmentVariableIsSet("VARNOLO_QWORK");
    QByteArray variable_ = qgetenv("VARNOLO_QWORK");
};

#ifdef _WIN32
TEST_F(CarpetaTrabajo, RaizDeLaUnidadActual) {
    // Deep in a folder of the drive, and with a variable that only other systems read.
    ASSERT_TRUE(QDir::setCurrent(carpeta.path()));
    qputenv("VARNOLO_QWORK", "C:\\otra");
    const QString actual = QDir::currentPath();
    ASSERT_EQ(actual[1], u':') << actual.toStdString();
    EXPECT_EQ(carpetaTrabajoDelSistema(), actual.left(2) + QStringLiteral("\\QWORK"));
}
#else
TEST_F(CarpetaTrabajo, VariableOQworkEnLaRaiz) {
    ASSERT_TRUE(QDir::setCurrent(carpeta.path()));
    qputenv("VARNOLO_QWORK", "/srv/taviron/QWORK");
    EXPECT_EQ(carpetaTrabajoDelSistema(), QStringLiteral("/srv/taviron/QWORK"));
    qputenv("VARNOLO_QWORK", "");
    EXPECT_EQ(carpetaTrabajoDelSistema(), QStringLiteral("/QWORK"));
    qunsetenv("VARNOLO_QWORK");
    EXPECT_EQ(carpetaTrabajoDelSistema(), QStringLiteral("/QWORK"));
}
#endif

}  // namespace
}  // namespace varnolo::plataforma
