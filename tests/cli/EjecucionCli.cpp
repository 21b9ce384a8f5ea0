#include "EjecucionCli.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace varnolo::prueba {

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
            QString::fromUtf8(proceso.readAllStandardOutput()),
            QString::fromUtf8(proceso.readAllStandardError())};
}

}  // namespace varnolo::prueba
