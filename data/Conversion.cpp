#include "Conversion.h"

#include <QFileInfo>

namespace varnolo {

bool elegirDocumentoExistente(EstadoPrograma& estado, Interaccion& interaccion) {
    if (const auto elegido = interaccion.elegirDocumento()) estado.filenameXML = *elegido;
    if (!estado.filenameXML.isEmpty() && QFileInfo(estado.filenameXML).isFile()) return true;
    interaccion.mostrarMensaje(kNoExisteArchivo);
    if (estado.modoLote == 2) {
        estado.transformado = -1;
        interaccion.cerrarVentana();
    }
    return false;
}

void concluirConversion(EstadoPrograma& estado, Interaccion& interaccion) {
    interaccion.cursorNormal();
    estado.transformado = 1;
    interaccion.mostrarMensaje(kProcesoFinalizado);
    interaccion.deshabilitarBotones();
    if (estado.modoLote == 2) interaccion.cerrarVentana();
}

}  // namespace varnolo
