#include <QDesktopServices>
#include <QUrl>

#include "Ayuda.h"

namespace varnolo::plataforma {

// Without the Windows help viewer the file goes to whatever the desktop opens .chm
// files with; such viewers have no help contexts, so the topic is not used.
bool abrirVisorAyuda(const QString& ruta, int) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ruta));
}

}  // namespace varnolo::plataforma
