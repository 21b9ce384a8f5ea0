#include "app/Ayuda.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "base/Errores.h"

namespace varnolo {

VisorAyuda& visorAyuda() {
    static VisorAyuda visor = plataforma::abrirVisorAyuda;
    return visor;
}

void mostrarAyuda(const QString& carpetaPrograma, const TemaAyuda& tema) {
    const QDir programa(carpetaPrograma);
    const QString chm = programa.filePath(kArchivoAyuda);
    const QString pagina = programa.filePath(kCarpetaAyuda + u'/' + tema.pagina);
    const bool hayChm = QFileInfo(chm).isFile();
    const bool hayPagina = QFileInfo(pagina).isFile();
    if (!hayChm && !hayPagina) {
        throw ErrorVarnolo(
            QStringLiteral("No se encuentra el archivo de ayuda %1 en %2. Reinstale VARNOLO.")
                .arg(kArchivoAyuda, QDir::toNativeSeparators(programa.absolutePath())));
    }
    // The viewer that knows contexts opens the topic itself; a browser needs the page.
    const bool conContextos = plataforma::hayVisorConContextos();
    if (hayChm && conContextos && visorAyuda()(chm, tema.contexto)) return;
    if (hayPagina && QDesktopServices::openUrl(QUrl::fromLocalFile(pagina))) return;
    // A viewer without contexts (xCHM, KchmViewer) still shows the contents.
    if (hayChm && !conContextos && QDesktopServices::openUrl(QUrl::fromLocalFile(chm))) return;
    throw ErrorVarnolo(QStringLiteral("No se pudo abrir el archivo de ayuda %1")
                           .arg(QDir::toNativeSeparators(hayChm ? chm : pagina)));
}

}  // namespace varnolo
