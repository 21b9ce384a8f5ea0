#include "cli/Ejecucion.h"
#include "conversion/Proteccion.h"

#include "cli/PreguntasConsola.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "velna/DocumentoIntercambio.h"

namespace varnolo::cli {

int ejecutar(const Orden& orden, const QString& carpetaPrograma, QTextStream& salida,
             QTextStream& errores) {
    PreguntasConsola consola;
    const Desenlace desenlace = protegerConversion([&] {
        Entorno entorno = Entorno::delSistema(carpetaPrograma);
        if (!orden.qwork.isEmpty()) entorno.carpetaTrabajo = orden.qwork;
        if (!orden.niveles.isEmpty()) entorno.rutaNiveles = orden.niveles;
        return orden.accion == Orden::Accion::Exportar
                   ? exportar(entorno, orden.documento, OpcionesExportacion{orden.marcos}, consola)
                   : importar(entorno, orden.documento, consola);
    });
    if (desenlace.completada()) {
        salida << desenlace.texto << Qt::endl;
        // What the user should look at although the conversion completed.
        if (!desenlace.detalle.isEmpty()) errores << desenlace.detalle << Qt::flush;
        return 0;
    }
    errores << lineasDeConsola(desenlace.texto) << Qt::endl;
    if (desenlace.motivo == Desenlace::Motivo::ProfesoresIncompletos) {
        errores << consola.profesoresPendientes() << Qt::flush;
    }
    return 1;
}

}  // namespace varnolo::cli
