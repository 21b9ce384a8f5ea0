#include "Importacion.h"

#include <QDir>
#include <QFileInfo>

#include "data/Errores.h"

namespace varnolo {

// Not written yet.
void ejecutarImportacion(EstadoPrograma&, Interaccion&) {
    throw ErrorVarnolo(QStringLiteral("Importación no disponible todavía"));
}

QString rutaResultado(const QString& documentoElegido) {
    const QFileInfo fi(documentoElegido);
    return fi.dir().filePath(QStringLiteral("ResultadoZentor") + fi.fileName());
}

}  // namespace varnolo
