#include "Exportacion.h"

#include <QDir>
#include <QFileInfo>

#include "CadenaExportacion.h"
#include "SeleccionMarcos.h"
#include "data/Errores.h"
#include "data/ReservaCarpeta.h"

namespace varnolo {

void ejecutarExportacion(EstadoPrograma& estado, Interaccion& interaccion) {
    if (!elegirDocumentoExistente(estado, interaccion)) return;
    if (!QFileInfo(estado.entorno.rutaNivelcan()).isFile()) {
        interaccion.mostrarMensaje(kNivelcanNoEncontrado);
        return;
    }

    const ReservaCarpeta reserva(estado.entorno.carpetaTrabajo);

    // A file that is not an exchange document would otherwise run the chain over no
    // sections: every work table emptied before the run fails. Everything that can be
    // checked is checked before the first table is touched.
    cargarDocumentoElegido(estado);
    comprobarSobre(*estado.documento, estado.filenameXML);
    if (listaDeMarcos(*estado.documento).isEmpty()) throw ErrorVarnolo(kSinMarcosHorarios);
    interaccion.comprobarMarcos(estado);

    interaccion.cursorOcupado();
    // A second export in the same run starts from empty subject lists.
    estado.listas.vaciar();
    CadenaExportacion(estado, interaccion).ejecutar();
    concluirConversion(estado, interaccion);
}

}  // namespace varnolo
