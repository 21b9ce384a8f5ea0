// The main() of the test programs that open windows: one QApplication, offscreen
// unless told otherwise, with Qt's Spanish texts as the program loads them.

#include <gtest/gtest.h>

#include <QApplication>

#include "app/Letras.h"
#include "app/Traducciones.h"
#include "app/VentanaPrincipal.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(varnolo::kTituloAplicacion);
    varnolo::cargarTraduccionesQt(aplicacion);
    varnolo::instalarLetrasSustitutas();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
