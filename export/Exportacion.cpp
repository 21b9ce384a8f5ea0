#include "Exportacion.h"

#include <QDir>
#include <QFileInfo>

#include "CadenaExportacion.h"
#include "data/Errores.h"

namespace varnolo {

void ejecutarExportacion(EstadoPrograma& estado, Interaccion& interaccion) {
    if (!elegirDocumentoExistente(estado, interaccion)) return;
    if (!QFileInfo(estado.entorno.rutaNivelcan()).isFile()) {
        interaccion.mostrarMensaje(kNivelcanNoEncontrado);
        return;
    }

    // A file that is not an exchange document would otherwise run the chain over no
    // sections: every work table emptied and the run reported as completed.
    estado.documento = std::make_unique<DocumentoXml>();
    if (!estado.documento->load(estado.filenameXML)) {
        throw ErrorVarnolo(QStringLiteral("El archivo %1 no es un documento XML válido")
                               .arg(QDir::toNativeSeparators(estado.filenameXML)));
    }

    interaccion.cursorOcupado();
    // A second export in the same run starts from empty subject lists.
    estado.listas.vaciar();
    CadenaExportacion(estado, interaccion).ejecutar();
    concluirConversion(estado, interaccion);
}

}  // namespace varnolo
