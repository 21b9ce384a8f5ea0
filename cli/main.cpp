// varnolo-cli: the conversions without a window, for scripts and tests.

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/Argumentos.h"
#include "cli/Consola.h"
#include "cli/Ejecucion.h"

int main(int argc, char* argv[]) {
    QCoreApplication aplicacion(argc, argv);
    varnolo::cli::SalidaConsola dispositivoSalida(stdout);
    varnolo::cli::SalidaConsola dispositivoErrores(stderr);
    QTextStream salida(&dispositivoSalida);
    QTextStream errores(&dispositivoErrores);

    varnolo::cli::Orden orden;
    try {
        orden = varnolo::cli::analizarArgumentos(QCoreApplication::arguments().mid(1));
    } catch (const varnolo::cli::ErrorUso& e) {
        errores << e.texto() << "\n\n" << varnolo::cli::textoUso() << Qt::flush;
        return 2;
    }
    if (orden.accion == varnolo::cli::Orden::Accion::Ayuda) {
        salida << orden.ayuda << Qt::flush;
        return 0;
    }
    if (orden.accion == varnolo::cli::Orden::Accion::Version) {
        salida << varnolo::cli::textoVersion() << Qt::endl;
        return 0;
    }
    return varnolo::cli::ejecutar(orden, QCoreApplication::applicationDirPath(), salida, errores,
                                  varnolo::cli::plataforma::esTerminal(stderr));
}
