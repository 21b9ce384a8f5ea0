// An export of the district document killed at moments spread over its run: the next
// start of varnolo-cli finds either the whole old set of tables or the whole new one,
// byte for byte, and no staging folder or journal left.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "bench/GeneradorDocumentos.h"
#include "taviron/Transaccion.h"
#include "tests/cli/EjecucionCli.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

/// The work tables of the folder (SOLUC and the copies aside) with their bytes.
QMap<QString, QByteArray> tablas(const QString& carpeta) {
    QMap<QString, QByteArray> r = tablasDe(carpeta);
    r.remove(QStringLiteral("SOLUC.DBF"));
    return r;
}

QStringList exportacion(const QString& documento, const QString& carpeta,
                        const QStringList& marcos) {
    QStringList a{QStringLiteral("exportar"), documento, QStringLiteral("--qwork"), carpeta};
    for (const QString& m : marcos) a << QStringLiteral("--marco") << m;
    return a;
}

TEST(Cortes, UnaExportacionMatadaDejaUnJuegoCompletoViejoONuevo) {
    Carpetas c;
    const QString documento =
        c.escribirDocumento(QStringLiteral("distrito.xml"), banco::documentoDistrito(1));
    const QStringList viejos{QStringLiteral("ORD")};
    const QStringList nuevos{QStringLiteral("ORD"), QStringLiteral("JUN"), QStringLiteral("SEP"),
                             QStringLiteral("INT"), QStringLiteral("VER")};

    // The two sets, each from a clean run; the new one's time spreads the kills.
    QTemporaryDir sanaVieja, sanaNueva;
    ASSERT_EQ(ejecutarCli(exportacion(documento, sanaVieja.path(), viejos), c.trabajo()).codigo, 0);
    QElapsedTimer reloj;
    reloj.start();
    ASSERT_EQ(ejecutarCli(exportacion(documento, sanaNueva.path(), nuevos), c.trabajo()).codigo, 0);
    const qint64 duracion = std::max<qint64>(reloj.elapsed(), 50);
    const QMap<QString, QByteArray> vieja = tablas(sanaVieja.path());
    const QMap<QString, QByteArray> nueva = tablas(sanaNueva.path());
    ASSERT_EQ(vieja.size(), 11);
    ASSERT_FALSE(vieja == nueva);

    constexpr int kCortes = 24;
    int quedaVieja = 0, quedaNueva = 0;
    for (int i = 0; i < kCortes; ++i) {
        SCOPED_TRACE(i);
        QTemporaryDir carpeta;
        for (auto it = vieja.cbegin(); it != vieja.cend(); ++it) {
            escribirBytes(QDir(carpeta.path()).filePath(it.key()), it.value());
        }
        QProcess proceso;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QStringLiteral("VARNOLO_QWORK"), c.trabajo());
        proceso.setProcessEnvironment(entorno);
#ifdef _WIN32
        // A console program killed under Wine may leave its console host running, and
        // that host keeps this test's own output open, so ctest waits for its timeout.
        // A detached child gets no console host; its streams are the pipes all the same.
        proceso.setCreateProcessArgumentsModifier(
            [](QProcess::CreateProcessArguments* a) { a->flags |= DETACHED_PROCESS; });
#endif
        proceso.start(QStringLiteral(VARNOLO_CLI), exportacion(documento, carpeta.path(), nuevos));
        ASSERT_TRUE(proceso.waitForStarted());
        // From the start to a little past the end of a clean run.
        QThread::msleep(static_cast<unsigned long>(duracion * 5 * i / (4 * kCortes)));
        proceso.kill();
        proceso.waitForFinished();

        // The next start finishes or drops what the cut left.
        ASSERT_EQ(ejecutarCli({QStringLiteral("copias"), QStringLiteral("--qwork"), carpeta.path()},
                              c.trabajo())
                      .codigo,
                  0);
        const QMap<QString, QByteArray> queda = tablas(carpeta.path());
        const bool esVieja = queda == vieja, esNueva = queda == nueva;
        EXPECT_TRUE(esVieja || esNueva) << "tablas: " << queda.keys().join(u' ').toStdString();
        quedaVieja += esVieja;
        quedaNueva += esNueva;
        EXPECT_FALSE(QFileInfo::exists(QDir(carpeta.path()).filePath(kCarpetaPreparacion)));
        EXPECT_FALSE(QFileInfo::exists(QDir(carpeta.path()).filePath(kArchivoDiario)));
    }
    // How the cuts fell, for whoever reads the log.
    std::printf("cortes: %d, juego viejo: %d, juego nuevo: %d\n", kCortes, quedaVieja, quedaNueva);
}

}  // namespace
}  // namespace varnolo::prueba
