#include "taviron/RutaTrabajo.h"

#include <QDir>

namespace varnolo::plataforma {

QString carpetaTrabajoDelSistema() {
    // The root of the drive of the current folder, e.g. "C:/", then QWORK.
    const QString actual = QDir::currentPath();
    const QString raiz =
        actual.size() >= 2 && actual[1] == u':' ? actual.left(2) + u'/' : QStringLiteral("/");
    return QDir::toNativeSeparators(raiz + QStringLiteral("QWORK"));
}

}  // namespace varnolo::plataforma
