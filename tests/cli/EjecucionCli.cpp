#include "tests/cli/EjecucionCli.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace varnolo::prueba {

namespace {

/// A console program's output as text with "\n" line ends. On Windows every line
/// must end with "\r\n", the console's convention there; elsewhere no "\r" appears.
QString lineasDeConsola(QByteArray bytes) {
#ifdef _WIN32
    const qsizetype lineas = bytes.count('\n');
    EXPECT_EQ(bytes.count("\r\n"), lineas) << bytes.toStdString();
    EXPECT_EQ(bytes.count('\r'), lineas) << bytes.toStdString();
    bytes.replace("\r\n", "\n");
#else
    EXPECT_FALSE(bytes.contains('\r')) << bytes.toStdString();
#endif
    return QString::fromUtf8(bytes);
}

}  // namespace

Salida ejecutarCli(const QStringList& argumentos, const QString& qworkDelSistema) {
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("VARNOLO_QWORK"), qworkDelSistema);
    proceso.setProcessEnvironment(entorno);
    proceso.start(QStringLiteral(VARNOLO_CLI), argumentos);
    if (!proceso.waitForFinished(60000)) {
        ADD_FAILURE() << "varnolo-cli no terminó";
        proceso.kill();
        proceso.waitForFinished();
    }
    return {proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1,
            lineasDeConsola(proceso.readAllStandardOutput()),
            lineasDeConsola(proceso.readAllStandardError())};
}

}  // namespace varnolo::prueba
