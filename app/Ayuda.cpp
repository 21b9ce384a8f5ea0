#include "Ayuda.h"

#include <QDir>
#include <QFileInfo>

#include "data/Errores.h"

namespace varnolo {

void mostrarAyuda(const QString& ruta, int tema) {
    const QString nativa = QDir::toNativeSeparators(ruta);
    if (!QFileInfo(ruta).isFile()) {
        throw ErrorVarnolo(
            QStringLiteral("No se encuentra el archivo de ayuda %1 en %2. Reinstale VARNOLO.")
                .arg(kArchivoAyuda, QDir::toNativeSeparators(QFileInfo(ruta).absolutePath())));
    }
    if (!plataforma::abrirVisorAyuda(ruta, tema)) {
        throw ErrorVarnolo(QStringLiteral("No se pudo abrir el archivo de ayuda %1").arg(nativa));
    }
}

}  // namespace varnolo
