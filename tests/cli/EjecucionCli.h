#pragma once
// Runs varnolo-cli as a program of its own, as scripts do, and keeps what it said.

#include <QString>
#include <QStringList>

namespace varnolo::prueba {

struct Salida {
    int codigo = -1;  ///< exit status; -1 when the program did not end normally
    QString salida;
    QString errores;
};

/// Runs varnolo-cli with the system's work folder pointed at `qworkDelSistema`, so
/// that nothing outside the test's folders is touched even without --qwork.
Salida ejecutarCli(const QStringList& argumentos, const QString& qworkDelSistema);

}  // namespace varnolo::prueba
