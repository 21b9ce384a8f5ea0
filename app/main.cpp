// varnolo: the converter's window. Two arguments start it in batch mode.

#include <QApplication>

#include "app/Letras.h"
#include "app/Traducciones.h"
#include "app/VentanaPrincipal.h"

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(varnolo::kTituloAplicacion);
    varnolo::cargarTraduccionesQt(aplicacion);
    varnolo::instalarLetrasSustitutas();

    varnolo::VentanaPrincipal MForm(
        varnolo::Entorno::delSistema(QApplication::applicationDirPath()),
        QApplication::arguments().mid(1));
    MForm.show();
    const int codigo = QApplication::exec();
    return codigo != 0 ? codigo : MForm.codigoSalida();
}
