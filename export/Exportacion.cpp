#include "export/Exportacion.h"

#include <QFileInfo>

#include "base/Errores.h"
#include "conversion/Proteccion.h"
#include "export/CadenaExportacion.h"
#include "export/SeleccionMarcos.h"
#include "taviron/ReservaCarpeta.h"
#include "velna/DocumentoIntercambio.h"

namespace varnolo {

Desenlace exportar(const Entorno& entorno, const QString& documento,
                   const OpcionesExportacion& opciones, Preguntas& preguntas) {
    return protegerConversion([&] {
        if (!existeDocumento(documento)) {
            return Desenlace::aviso(Desenlace::Motivo::DocumentoInexistente, kNoExisteArchivo);
        }
        if (!QFileInfo(entorno.rutaNivelcan()).isFile()) {
            return Desenlace::aviso(Desenlace::Motivo::NivelesInexistentes, kNivelcanNoEncontrado);
        }

        const ReservaCarpeta reserva(entorno.carpetaTrabajo);

        // A file that is not an exchange document would otherwise run the chain over no
        // sections: every work table emptied before the run fails. Everything that can be
        // checked is checked before the first table is touched.
        // Only the sections' records are read; the tree of a large document is never
        // built whole.
        const std::unique_ptr<SeccionesDocumento> doc = leerSecciones(documento);
        comprobarSobre(*doc, documento);
        const QStringList marcos = listaDeMarcos(*doc);
        if (marcos.isEmpty()) throw ErrorVarnolo(kSinMarcosHorarios);
        // A document with one frame needs no choice; a code given all the same must name it.
        if (opciones.marcos && (marcos.size() >= 2 || !opciones.marcos->isEmpty())) {
            seleccionarMarcosDe(*doc, *opciones.marcos);
        }

        ContextoExportacion contexto(entorno, *doc, opciones, preguntas);
        CadenaExportacion(contexto).ejecutar();
        return Desenlace::completa();
    });
}

}  // namespace varnolo
