#include "cli/Ejecucion.h"
#include "conversion/Proteccion.h"

#include "cli/BarraAvance.h"
#include "cli/PreguntasConsola.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "taviron/Copias.h"
#include "taviron/ReservaCarpeta.h"
#include "taviron/Transaccion.h"
#include "velna/DocumentoIntercambio.h"

namespace varnolo::cli {

namespace {

/// The copies of the work folder, one per line: date and time, what it came from,
/// its tables; and its name, which restaurar takes.
QString textoCopias(const QList<Copia>& copias) {
    if (copias.isEmpty())
        return QStringLiteral("No hay copias de las tablas en la carpeta de trabajo.\n");
    QString texto;
    for (const Copia& c : copias) {
        texto += QStringLiteral("%1  %2\n    tablas: %3\n    copia: %4\n")
                     .arg(c.fecha(), c.origen, c.tablas.join(QStringLiteral(", ")), c.nombre);
    }
    return texto;
}

}  // namespace

int ejecutar(const Orden& orden, const QString& carpetaPrograma, QTextStream& salida,
             QTextStream& errores, bool barra) {
    PreguntasConsola consola;
    BarraAvance avance(errores, barra);
    OpcionesExportacion opciones{orden.marcos, &avance};
    Entorno entorno = Entorno::delSistema(carpetaPrograma);
    if (!orden.qwork.isEmpty()) entorno.carpetaTrabajo = orden.qwork;
    if (!orden.niveles.isEmpty()) entorno.rutaNiveles = orden.niveles;
    // A replacement that a cut left half done is finished before anything else looks
    // at the folder.
    if (orden.accion != Orden::Accion::Comprobar) recuperarCarpetaSiLibre(entorno.carpetaTrabajo);

    const Desenlace desenlace = protegerConversion([&] {
        switch (orden.accion) {
            case Orden::Accion::Importar:
                return importar(entorno, orden.documento, consola, &avance);
            case Orden::Accion::Comprobar:
                return comprobarExportacion(entorno, orden.documento, opciones, consola);
            case Orden::Accion::Copias: {
                Desenlace d = Desenlace::completa();
                d.texto = textoCopias(listarCopias(entorno.carpetaTrabajo)).chopped(1);
                return d;
            }
            case Orden::Accion::Restaurar: {
                const ReservaCarpeta reserva(entorno.carpetaTrabajo);
                recuperarCarpeta(entorno.carpetaTrabajo);
                restaurarCopia(entorno.carpetaTrabajo, orden.documento, entorno.ahora());
                Desenlace d = Desenlace::completa();
                d.texto = QStringLiteral("Tablas restauradas de la copia %1").arg(orden.documento);
                return d;
            }
            default:
                return exportar(entorno, orden.documento, opciones, consola);
        }
    });
    avance.borrar();
    if (desenlace.completada()) {
        salida << desenlace.texto << Qt::endl;
        if (orden.detalles || orden.accion == Orden::Accion::Comprobar) {
            salida << desenlace.informe << Qt::flush;
        }
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
