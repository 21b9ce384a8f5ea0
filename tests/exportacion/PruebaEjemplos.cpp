// The bundled sample documents go through the whole export, as the user starts it,
// without an error and with the time frame they are meant for.

#include "export/Exportacion.h"
#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

struct CasoEjemplo {
    const char* documento;
    int entradasMarcos;  // 0: one frame, no dialog
    const char* periodo;
    int profesores;
    int sinToma;  // teachers without F_TOMAPOS
};

TEST(Ejemplos, ExportacionCompleta) {
    const CasoEjemplo casos[] = {
        {"centro.xml", 0, "J1", 20, 0},
        {"centro-marcos.xml", 3, "ORD", 20, 0},
        {"centro-sin-toma.xml", 0, "J1", 3, 1},
    };
    for (const CasoEjemplo& caso : casos) {
        SCOPED_TRACE(caso.documento);
        Carpetas carpetas;
        carpetas.instalarNivelcan();
        PreguntasPrueba ui;
        ui.marcos = [&](const MarcosHorarios& m) {
            EXPECT_EQ(m.entradas().size(), caso.entradasMarcos);
            return posicionesDe(m, {QStringLiteral("ORD")});
        };
        const Desenlace d = exportar(carpetas.entorno(), ejemplo(caso.documento), {}, ui);
        EXPECT_TRUE(d.completada()) << describir(d);
        EXPECT_EQ(d.texto, kProcesoFinalizado);
        EXPECT_EQ(ui.vecesMarcos, caso.entradasMarcos > 0 ? 1 : 0);

        Tabla periodos(carpetas.trabajo(), QStringLiteral("PERIODOS"));
        periodos.open();
        EXPECT_EQ(periodos.recordCount(), 1);
        EXPECT_EQ(periodos.asString(QStringLiteral("CJORNADA")), caso.periodo);

        Tabla proft(carpetas.trabajo(), QStringLiteral("PROFT"));
        proft.open();
        EXPECT_EQ(proft.recordCount(), caso.profesores);
        int sinToma = 0;
        for (proft.first(); !proft.eof(); proft.next()) {
            EXPECT_FALSE(proft.asString(QStringLiteral("X_EMPLEADO")).isEmpty());
            if (proft.asString(QStringLiteral("F_TOMAPOS")).isEmpty()) ++sinToma;
        }
        EXPECT_EQ(sinToma, caso.sinToma);

        Tabla asigt(carpetas.trabajo(), QStringLiteral("ASIGT"));
        asigt.open();
        EXPECT_GT(asigt.recordCount(), 0);
    }
}

}  // namespace
}  // namespace varnolo::prueba
