// The time-frame dialog, offscreen: what it lists and shows, how clicks make a
// frame current, the closing rule through the button and the close box, and the
// repeated showing by the days-and-slots step.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/DialogoMarcos.h"
#include "base/Errores.h"
#include "comun/Prueba.h"
#include "export/CadenaExportacion.h"
#include "export/SeleccionMarcos.h"
#include "tests/dias/Impresion.h"

using namespace varnolo;

namespace {

class DialogoDeMarcos : public ::testing::Test {
  protected:
    prueba::Carpetas carpetas;
    SeccionesDocumento doc;
    MarcosHorarios marcos;
    QStringList avisos;

    void SetUp() override {
        avisoPlantillas() = [this](QWidget*, const QString& t) { avisos << t; };
    }
    void TearDown() override { avisoPlantillas() = nullptr; }

    void documento(const QList<QStringList>& marcos, const QList<QStringList>& tramos = {}) {
        const QByteArray xml = prueba::documentoIntercambio(
            {{"JORNADAS_ESCOLARES", marcos}, {"TRAMOS_HORARIOS", tramos}});
        ASSERT_TRUE(doc.leerXml(xml));
        this->marcos = leerMarcosHorarios(doc);
    }
    void letras(int n) {
        QList<QStringList> marcos;
        for (int i = 0; i < n; ++i) marcos << QStringList{QString(QChar(u'A' + i))};
        documento(marcos);
    }

    /// Shows the dialog modally and lets `accion` work on it while it runs; what the
    /// dialog holds once closed.
    SeleccionMarcos mostrar(std::function<void(DialogoMarcos&)> accion) {
        alAbrirse(accion);
        DialogoMarcos d(marcos, carpetas.entorno().carpetaPrograma);
        d.exec();
        return {d.resultMH, d.resultado, d.entradasMarcos()};
    }

    /// `accion` on the modal dialog, once the event loop runs.
    static void alAbrirse(std::function<void(DialogoMarcos&)> accion) {
        QTimer::singleShot(0, [accion] {
            auto* d = qobject_cast<DialogoMarcos*>(QApplication::activeModalWidget());
            if (!d) {
                ADD_FAILURE() << "no hay diálogo modal";
                return;
            }
            accion(*d);
        });
    }
};

QListWidget* lista(QWidget& d, const char* nombre) {
    return d.findChild<QListWidget*>(QString::fromLatin1(nombre));
}
QString texto(QWidget& d, const char* nombre) {
    return d.findChild<QLabel*>(QString::fromLatin1(nombre))->text();
}
QStringList entradas(QListWidget* l) {
    QStringList r;
    for (int i = 0; i < l->count(); ++i) r << l->item(i)->text();
    return r;
}
void clic(QListWidget* l, int fila, Qt::KeyboardModifiers mod = Qt::NoModifier) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, mod,
                      l->visualItemRect(l->item(fila)).center());
}
/// Click on the first row, Ctrl+click on the others.
void elegirFilas(DialogoMarcos& d, const QList<int>& filas) {
    QListWidget* l = lista(d, "ListBox2");
    for (qsizetype i = 0; i < filas.size(); ++i) {
        clic(l, filas[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }
}
void continuar(DialogoMarcos& d) {
    QTest::mouseClick(d.findChild<QPushButton*>("BitBtnContinuar"), Qt::LeftButton);
}

TEST_F(DialogoDeMarcos, ListaYMarcoActual) {
    documento({{" A ", "Mañana", "01/09/2025", "30/06/2026"},
               {"B", "Tarde", "01/10/2025", "31/05/2026"},
               {"C", "Noche"},
               {"B", "Tarde bis", "02/10/2025", "01/06/2026"}},
              {{"1", "Primera", "480", "540", " A "},
               {"2", "Segunda", "540", "600", " A "},
               {"3", "Tarde 1", "900", "960", "B"},
               {"4", "Tarde 2", "960", "1020", "B"}});
    DialogoMarcos d(marcos, carpetas.entorno().carpetaPrograma);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QListWidget* marcos = lista(d, "ListBox2");
    QListWidget* horas = lista(d, "ListBox1");

    EXPECT_EQ(d.windowTitle(), QStringLiteral("Planillas, Marcos o Jornadas Horarias"));
    EXPECT_EQ(d.size(), QSize(371, 336));
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(marcos->selectionMode(), QAbstractItemView::ExtendedSelection);
    for (const char* oculto : {"Label2", "LabelSelec", "ComboBoxPlantilla"}) {
        EXPECT_FALSE(d.findChild<QWidget*>(oculto)->isVisible()) << oculto;
    }
    auto* boton = d.findChild<QPushButton*>("BitBtnContinuar");
    EXPECT_TRUE(boton->isDefault());
    EXPECT_EQ(boton->text(), QStringLiteral("Continuar"));
    EXPECT_EQ(texto(d, "LabelPlantillas"),
              QStringLiteral("Seleccione los 5 días de la semana del Marco Horario que desea "
                             "recoger en Taviron."));
    EXPECT_EQ(d.findChild<QLabel*>("LabelMarcos")->font().pixelSize(), 16);

    // Codes as they stand, nothing selected, the first frame on show.
    EXPECT_EQ(entradas(marcos), (QStringList{" A ", "B", "C", "B"}));
    EXPECT_TRUE(marcos->selectedItems().isEmpty());
    EXPECT_EQ(texto(d, "LabelNombre"), QStringLiteral("Mañana"));
    EXPECT_EQ(texto(d, "LabelPlanFec1"), QStringLiteral("01/09/2025"));
    EXPECT_EQ(texto(d, "LabelPlanFec2"), QStringLiteral("30/06/2026"));
    EXPECT_EQ(entradas(horas), (QStringList{"Primera", "Segunda"}));

    // A repeated code shows the last record's name and the slots of all.
    clic(marcos, 1);
    EXPECT_EQ(texto(d, "LabelNombre"), QStringLiteral("Tarde bis"));
    EXPECT_EQ(texto(d, "LabelPlanFec1"), QStringLiteral("02/10/2025"));
    EXPECT_EQ(entradas(horas), (QStringList{"Tarde 1", "Tarde 2"}));

    // A frame with fewer items and no slots: the missing dates read empty.
    clic(marcos, 2, Qt::ControlModifier);
    EXPECT_EQ(texto(d, "LabelNombre"), QStringLiteral("Noche"));
    EXPECT_EQ(texto(d, "LabelPlanFec1"), QString());
    EXPECT_TRUE(entradas(horas).isEmpty());

    // Ctrl+click on a selected entry deselects it and still puts it on show.
    clic(marcos, 1, Qt::ControlModifier);
    EXPECT_FALSE(marcos->item(1)->isSelected());
    EXPECT_TRUE(marcos->item(2)->isSelected());
    EXPECT_EQ(texto(d, "LabelNombre"), QStringLiteral("Tarde bis"));

    const QString carpeta = QStringLiteral(VARNOLO_CAPTURAS);
    QDir().mkpath(carpeta);
    EXPECT_TRUE(d.grab().save(QDir(carpeta).filePath("DialogoMarcos.png")));
}

TEST_F(DialogoDeMarcos, ReglaDeCierre) {
    struct Caso {
        const char* que;
        int marcos;
        QList<int> filas;  // clicked in this order
        bool cajaDeCierre;
        SeleccionMarcos esperado;
        QString aviso;
    };
    const Caso casos[] = {
        {"cinco aceptados",
         7,
         {0, 1, 2, 3, 4},
         false,
         {true, "A         B         C         D         E         ", 7},
         {}},
        {"seis rechazados",
         7,
         {0, 1, 2, 3, 4, 5},
         false,
         {false, "A         B         C         D         E         F         ", 7},
         kDemasiadosMarcos},
        {"ninguno rechazado", 3, {}, false, {false, "", 3}, kNingunMarco},
        {"la caja de cierre cuenta como Continuar", 3, {1}, true, {true, "B         ", 3}, {}},
        {"orden de la lista, no de los clics",
         4,
         {3, 1},
         false,
         {true, "B         D         ", 4},
         {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        letras(c.marcos);
        avisos.clear();
        const SeleccionMarcos s = mostrar([&](DialogoMarcos& d) {
            elegirFilas(d, c.filas);
            if (c.cajaDeCierre) {
                d.close();
            } else {
                continuar(d);
            }
        });
        EXPECT_EQ(s.resultMH, c.esperado.resultMH);
        EXPECT_EQ(s.resultado, c.esperado.resultado);
        EXPECT_EQ(s.entradas, c.esperado.entradas);
        EXPECT_EQ(avisos, c.aviso.isEmpty() ? QStringList() : QStringList{c.aviso});
    }
}

// Enter on the focused "Continuar" presses it, as a click does.
// What the window receives from the dialog: the positions accepted, or none.
// The dialog opens with the focus on "Continuar", first in the tab order, and nothing
// in the frame list looks chosen: no current row, no selection.
TEST_F(DialogoDeMarcos, AbreConElFocoEnContinuarYNadaElegido) {
    letras(3);
    QWidget* foco = nullptr;
    int actual = 0;
    qsizetype elegidas = -1;
    alAbrirse([&](DialogoMarcos& d) {
        foco = d.focusWidget();
        actual = lista(d, "ListBox2")->currentRow();
        elegidas = lista(d, "ListBox2")->selectedItems().size();
        foco = foco == d.findChild<QPushButton*>("BitBtnContinuar") ? foco : nullptr;
        continuar(d);
    });
    mostrarDialogoMarcos(nullptr, carpetas.entorno(), marcos);
    EXPECT_NE(foco, nullptr);
    EXPECT_EQ(actual, -1);
    EXPECT_EQ(elegidas, 0);
}

TEST_F(DialogoDeMarcos, EnterPulsaContinuar) {
    letras(3);
    alAbrirse([](DialogoMarcos& d) {
        elegirFilas(d, {1});
        auto* continuar = d.findChild<QPushButton*>("BitBtnContinuar");
        continuar->setFocus();
        QTest::keyClick(continuar, Qt::Key_Return);
    });
    EXPECT_EQ(mostrarDialogoMarcos(nullptr, carpetas.entorno(), marcos), QList<int>{1});
    EXPECT_TRUE(avisos.isEmpty());

    alAbrirse([](DialogoMarcos& d) { continuar(d); });
    EXPECT_EQ(mostrarDialogoMarcos(nullptr, carpetas.entorno(), marcos), QList<int>());
    EXPECT_EQ(avisos, QStringList{kNingunMarco});
}

TEST_F(DialogoDeMarcos, CodigoDeDoceCaracteresPasaConDiez) {
    documento({{"ABCDEFGHIJKL"}, {"X"}});
    const SeleccionMarcos s = mostrar([](DialogoMarcos& d) {
        elegirFilas(d, {0});
        continuar(d);
    });
    EXPECT_EQ(s.resultado, QStringLiteral("ABCDEFGHIJ"));
}

// Through the step: six frames refused, a new dialog comes with nothing selected,
// and two accepted frames end the choice.
TEST_F(DialogoDeMarcos, PasoMuestraDialogoNuevoTrasRechazo) {
    QList<QStringList> marcos;
    QList<QStringList> tramos;
    for (int i = 0; i < 7; ++i) {
        const QString c(QChar(u'A' + i));
        marcos << QStringList{c, "Marco " + c, "1", "2"};
        tramos << QStringList{"t" + c, "Tramo " + c, QString::number(480 + i), "600", c};
    }
    documento(marcos, tramos);
    prueba::PreguntasPrueba interaccion;
    int mostrados = 0;
    interaccion.marcos = [&](const MarcosHorarios& m) {
        ++mostrados;
        QTimer::singleShot(0, [&, n = mostrados] {
            auto* d = qobject_cast<DialogoMarcos*>(QApplication::activeModalWidget());
            if (!d) return ADD_FAILURE() << "no hay diálogo modal";
            EXPECT_TRUE(lista(*d, "ListBox2")->selectedItems().isEmpty());
            elegirFilas(*d, n == 1 ? QList<int>{0, 1, 2, 3, 4, 5} : QList<int>{6, 2});
            continuar(*d);
        });
        return mostrarDialogoMarcos(nullptr, carpetas.entorno(), m);
    };
    const OpcionesExportacion opciones;
    ContextoExportacion contexto(carpetas.entorno(), doc, opciones, interaccion);
    CadenaExportacion(contexto).ExportarDiasHoras();
    EXPECT_EQ(mostrados, 2);
    EXPECT_EQ(avisos, QStringList{kDemasiadosMarcos});
    // C and G, numbered over the seven listed frames: days 3 and 7.
    Tabla t2(carpetas.trabajo(), QStringLiteral("DIASHORAST2"));
    t2.open();
    QStringList elegidos;
    for (; !t2.eof(); t2.next()) {
        elegidos << t2.asString(QStringLiteral("MARCOXML")) + u'/' +
                        t2.asString(QStringLiteral("DIA"));
    }
    EXPECT_EQ(elegidos, (QStringList{"C/3", "G/7"}));
}

}  // namespace

int main(int argc, char** argv) {
    // Also when the test list is read at build time, outside ctest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
