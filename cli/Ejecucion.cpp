#include "Ejecucion.h"

#include "InteraccionConsola.h"
#include "data/EstadoPrograma.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"

namespace varnolo::cli {

int ejecutar(const Orden& orden, const QString& carpetaPrograma, QTextStream& salida,
             QTextStream& errores) {
    try {
        Entorno entorno = Entorno::delSistema(carpetaPrograma);
        if (!orden.qwork.isEmpty()) entorno.carpetaTrabajo = orden.qwork;
        if (!orden.niveles.isEmpty()) entorno.rutaNiveles = orden.niveles;

        EstadoPrograma estado(std::move(entorno));
        InteraccionConsola consola(orden.documento, orden.marcos, salida, errores);
        if (orden.accion == Orden::Accion::Exportar) {
            ejecutarExportacion(estado, consola);
        } else {
            ejecutarImportacion(estado, consola);
        }
        return estado.transformado == 1 ? 0 : 1;
    } catch (const ErrorVarnolo& e) {
        errores << e.texto() << Qt::endl;
    } catch (const std::exception& e) {
        errores << QString::fromLocal8Bit(e.what()) << Qt::endl;
    }
    return 1;
}

}  // namespace varnolo::cli
