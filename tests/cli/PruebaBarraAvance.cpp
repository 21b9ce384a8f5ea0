// The progress line of varnolo-cli: drawn in place on a terminal only, never longer
// than the line it replaces, erased before anything else is written; Ctrl+C stops the
// conversion.

#include <gtest/gtest.h>

#include <QBuffer>
#include <csignal>

#include "cli/BarraAvance.h"

namespace varnolo::cli {
namespace {

using namespace std::chrono_literals;
using Fase = Avance::Fase;

TEST(BarraAvance, Lineas) {
    struct Caso {
        Fase fase;
        qint64 hecho, total;
        QString linea;
    };
    const Caso casos[] = {
        {Fase::Lectura, 0, 1000, "[--------------------]   0 % " + textoDeFase(Fase::Lectura)},
        {Fase::Tablas, 3, 7, "[########------------]  42 % " + textoDeFase(Fase::Tablas)},
        {Fase::Lecciones, 9, 9, "[####################] 100 % " + textoDeFase(Fase::Lecciones)},
        // What the core could never report draws a sane line all the same.
        {Fase::Lectura, 20, 10, "[####################] 100 % " + textoDeFase(Fase::Lectura)},
        {Fase::Lectura, 5, 0, "[--------------------]   0 % " + textoDeFase(Fase::Lectura)},
        {Fase::Lectura, -5, 10, "[--------------------]   0 % " + textoDeFase(Fase::Lectura)},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(BarraAvance::linea(c.fase, c.hecho, c.total), c.linea);
    }
}

TEST(BarraAvance, SoloEnUnTerminalYSeBorraAntesDelMensaje) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QTextStream errores(&bytes);
    {
        BarraAvance apagada(errores, false, 0ms);
        EXPECT_TRUE(apagada.seguir(Fase::Lectura, 1, 2));
        apagada.borrar();
    }
    EXPECT_TRUE(bytes.data().isEmpty());

    BarraAvance barra(errores, true, 0ms);
    EXPECT_TRUE(barra.seguir(Fase::Tablas, 3, 7));
    const QByteArray primera = bytes.data();
    EXPECT_EQ(primera, "\r" + BarraAvance::linea(Fase::Tablas, 3, 7).toUtf8());
    barra.borrar();
    const QByteArray borrado = bytes.data().mid(primera.size());
    const qsizetype ancho = BarraAvance::linea(Fase::Tablas, 3, 7).size();
    EXPECT_EQ(borrado, "\r" + QByteArray(ancho, ' ') + "\r");
    barra.borrar();  // nothing drawn: nothing to erase
    EXPECT_EQ(bytes.data().size(), primera.size() + borrado.size());
}

TEST(BarraAvance, ControlCDetieneLaConversion) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QTextStream errores(&bytes);
    BarraAvance barra(errores, false);
    EXPECT_TRUE(barra.seguir(Fase::Lectura, 0, 10));
    std::raise(SIGINT);
    EXPECT_FALSE(barra.seguir(Fase::Lectura, 1, 10));
    EXPECT_FALSE(barra.seguir(Fase::Tablas, 0, 7));
    // A new conversion starts without the old Ctrl+C.
    BarraAvance otra(errores, false);
    EXPECT_TRUE(otra.seguir(Fase::Lectura, 0, 10));
}

}  // namespace
}  // namespace varnolo::cli
