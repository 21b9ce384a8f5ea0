#include "Exportacion.h"

#include <QFileInfo>

#include "CadenaExportacion.h"

namespace varnolo {

void ejecutarExportacion(EstadoPrograma& estado, Interaccion& interaccion) {
    if (const auto elegido = interaccion.elegirDocumento()) estado.filenameXML = *elegido;

    if (estado.filenameXML.isEmpty() || !QFileInfo(estado.filenameXML).isFile()) {
        interaccion.mostrarMensaje(kNoExisteArchivo);
        if (estado.modoLote == 2) {
            estado.transformado = -1;
            interaccion.cerrarVentana();
        }
        return;
    }
    if (!QFileInfo(estado.entorno.rutaNivelcan()).isFile()) {
        interaccion.mostrarMensaje(kNivelcanNoEncontrado);
        return;
    }

    estado.documento = std::make_unique<DocumentoXml>();
    estado.documento->load(estado.filenameXML);

    interaccion.cursorOcupado();
    // A second export in the same run starts from empty subject lists.
    estado.listas.vaciar();
    CadenaExportacion(estado, interaccion).ejecutar();
    interaccion.cursorNormal();

    estado.transformado = 1;
    interaccion.mostrarMensaje(kProcesoFinalizado);
    interaccion.deshabilitarBotones();
    if (estado.modoLote == 2) interaccion.cerrarVentana();
}

}  // namespace varnolo
