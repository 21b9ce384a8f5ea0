// The time-frame choice without a window: the closing rule, the chosen codes read
// back, and the choice by code of the command-line tool.

#include <gtest/gtest.h>

#include "base/Errores.h"
#include "comun/Prueba.h"
#include "export/SeleccionMarcos.h"
#include "tests/dias/Impresion.h"

using namespace varnolo;

namespace {

TEST(CerrarSeleccionMarcos, ReglaDeCierre) {
    const QStringList lista = {"A", "B", "C", "D", "E", "F", "ABCDEFGHIJKL"};
    struct Caso {
        QList<bool> sel;
        bool aceptada;
        QString mensaje;
        QString resultado;
    };
    const Caso casos[] = {
        {{false, false, false, false, false, false, false}, false, kNingunMarco, ""},
        {{false, true, false, true, false, false, false}, true, "", "B         D         "},
        {{true, true, true, true, true, false, false},
         true,
         "",
         "A         B         C         D         E         "},
        {{true, true, true, true, true, true, false},
         false,
         kDemasiadosMarcos,
         "A         B         C         D         E         F         "},
        {{false, false, false, false, false, false, true}, true, "", "ABCDEFGHIJ"},
    };
    for (const Caso& c : casos) {
        const CierreMarcos r = cerrarSeleccionMarcos(lista, c.sel);
        EXPECT_EQ(r.seleccion.resultMH, c.aceptada) << c.resultado.toStdString();
        EXPECT_EQ(r.mensaje, c.mensaje);
        EXPECT_EQ(r.seleccion.resultado, c.resultado);
        EXPECT_EQ(r.seleccion.entradas, 7);
    }
    EXPECT_TRUE(kDemasiadosMarcos.contains(QStringLiteral("seleccionados.\r\nComo")));
}

TEST(CodigosElegidos, ColumnasDeDiezCaracteres) {
    struct Caso {
        QString resultado;
        std::array<QString, 5> codigos;
    };
    const Caso casos[] = {
        {"", {}},
        {"A", {"A"}},
        {"ABCDEFGHIJ", {"ABCDEFGHIJ"}},
        {"A         B         ", {"A", "B"}},
        {"A         B         C         D         E         ", {"A", "B", "C", "D", "E"}},
        {"A         B", {"A", "B"}},
        {"ABCDEFGHIJKL", {"ABCDEFGHIJ", "KL"}},
    };
    for (const Caso& c : casos) EXPECT_EQ(codigosElegidos(c.resultado), c.codigos);
}

class PorCodigoTest : public ::testing::Test {
  protected:
    SeccionesDocumento doc;
    void documento(const QStringList& codigos) {
        QList<QStringList> marcos;
        for (const QString& c : codigos) marcos << QStringList{c, "Nombre " + c, "1", "2"};
        ASSERT_TRUE(doc.leerXml(prueba::documentoIntercambio({{"JORNADAS_ESCOLARES", marcos}})));
    }
    QString error(const QStringList& marcos) {
        try {
            seleccionarMarcosDe(doc, marcos);
        } catch (const ErrorVarnolo& e) {
            return e.texto();
        }
        return "(sin error)";
    }
};

TEST_F(PorCodigoTest, EligeEnElOrdenDeLaLista) {
    documento({"A", "B", "C", "D"});
    const SeleccionMarcos s = seleccionarMarcosDe(doc, {"D", "B"});
    EXPECT_TRUE(s.resultMH);
    EXPECT_EQ(s.resultado, QStringLiteral("B         D         "));
    EXPECT_EQ(s.entradas, 4);
}

TEST_F(PorCodigoTest, Errores) {
    documento({"A", "B", "C", "D", "E", "F", "G"});
    EXPECT_EQ(error({}), QStringLiteral("El documento tiene varios marcos horarios (A, B, C, D, "
                                        "E, F, G): indique cuáles exportar con --marco CODIGO."));
    EXPECT_EQ(error({"A", "B", "C", "D", "E", "F"}), kDemasiadosMarcos);
    // An unknown code alone is named, not reported as "no frame selected".
    EXPECT_EQ(
        error({"Z"}),
        QStringLiteral("El marco horario \"Z\" no está en el documento (A, B, C, D, E, F, G)."));
    EXPECT_TRUE(error({"A", "Z"}).contains("\"Z\"")) << error({"A", "Z"}).toStdString();
    documento({});
    EXPECT_EQ(error({"A"}), kSinMarcosHorarios);
}

}  // namespace
