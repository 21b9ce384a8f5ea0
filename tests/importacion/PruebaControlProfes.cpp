// The teacher data dialog, offscreen: masks, posting, "Salir" and its result.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "MesaTrabajo.h"
#include "data/Tabla.h"
#include "import/ControlProfes.h"
#include "import/ControlProfesModelo.h"
#include "import/ControlProfesRejilla.h"
#include "tests/comun/Prueba.h"

namespace varnolo {
namespace {

class ControlProfes : public ::testing::Test {
  protected:
    prueba::Carpetas carpetas;
    EstadoPrograma estado{carpetas.entorno()};
    std::unique_ptr<TControlProfesores> dialogo;
    QStringList avisos;

    void SetUp() override {
        crearTabla(carpetas.entorno(), catalogo::PROFT());
        prueba::agregarFilas(carpetas.entorno(), "PROFT",
                             {{"P1", "Uno", "", "", "", "11", "01/09/2018"},
                              {"P2", "Dos", "", "", "", "", "   "},
                              {"P3", "Tres", "", "", "", "33", "03/09/2018"}});
        // The main window holds its own PROFT component open meanwhile.
        estado.tablas.wwTableProfesor.open();
        dialogo = std::make_unique<TControlProfesores>(nullptr, estado);
        dialogo->rejilla()->avisar = [this](const QString& t) { avisos << t; };
        dialogo->show();
        QApplication::processEvents();
    }

    RejillaProft* rejilla() { return dialogo->rejilla(); }

    /// Opens the editor of a cell, replaces its text by typing, leaves it open.
    QLineEdit* escribir(int fila, int columna, const QString& teclas) {
        const QModelIndex i = rejilla()->model()->index(fila, columna);
        rejilla()->setCurrentIndex(i);
        QApplication::processEvents();
        rejilla()->edit(i);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor) {
            ADD_FAILURE() << "no editor";
            return nullptr;
        }
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, teclas);
        return editor;
    }

    void salir() {
        QTest::mouseClick(dialogo->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        QApplication::processEvents();
    }

    QString enTabla(int fila, const char* campo) {
        Tabla t(carpetas.trabajo(), "PROFT");
        t.open();
        t.setRecNo(fila);
        return t.asString(campo);
    }
};

TEST(Mascaras, EncajeYEscritura) {
    struct Caso {
        const char* texto;
        const char* mascara;
        bool encaja;
        bool empieza;
    };
    const Caso casos[] = {
        {"12345", "#*#", true, true},
        {"1", "#*#", true, true},
        {"12a", "#*#", false, false},
        {"", "#*#", false, true},
        {"01/09/2018", "##/##/####", true, true},
        {"31/02/2018", "##/##/####", true, true},
        {"01/09", "##/##/####", false, true},
        {"01-09-2018", "##/##/####", false, false},
        {"01/09/20189", "##/##/####", false, false},
        {"1/9/2018", "##/##/####", false, false},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(encajaMascara(c.texto, c.mascara), c.encaja) << c.texto;
        EXPECT_EQ(empiezaMascara(c.texto, c.mascara), c.empieza) << c.texto;
    }
}

TEST_F(ControlProfes, VentanaYRejilla) {
    EXPECT_EQ(dialogo->windowTitle(), "Control de Profesores");
    EXPECT_EQ(dialogo->size(), QSize(754, 499));
    const auto texto = [&](const char* n) { return dialogo->findChild<QLabel*>(n)->text(); };
    EXPECT_EQ(texto("Label2"),
              "Se ha detectado que existe algún Profesor sin todos los datos necesarios. "
              "(Seguramente hayan sido creados directamente desde Taviron.)      Para poder "
              "realizar correctamente la integración del Horario en VELNA, deberán asignarlos "
              "en esta rejilla. ");
    EXPECT_TRUE(texto("Label4").endsWith("F_TOMAPOS. "));
    EXPECT_TRUE(texto("Label5").endsWith("mencionados. "));
    EXPECT_EQ(texto("Label6"),
              "Después de haber introducido los datos que faltan, pulsando "
              "\"Salir\", se reiniciará el proceso.");
    for (QLabel* l : dialogo->findChildren<QLabel*>()) {
        EXPECT_EQ(l->textFormat(), Qt::PlainText) << l->objectName().toStdString();
    }
    const QStringList pistas = {"Move to first record",
                                "Move backward 10 records",
                                "Move to prior record",
                                "Move to next record",
                                "Move forward 10 records",
                                "Move to last record",
                                "Edit current record",
                                "Post changes of current record",
                                "Cancel changes made to current record",
                                "Refresh the contents of the dataset"};
    QStringList vistas;
    for (QToolButton* b :
         dialogo->findChild<QWidget*>("wwDBNavigator1")->findChildren<QToolButton*>()) {
        vistas << b->toolTip();
        EXPECT_TRUE(b->autoRepeat());
        EXPECT_EQ(b->autoRepeatDelay(), 500);
        EXPECT_EQ(b->autoRepeatInterval(), 100);
    }
    EXPECT_EQ(vistas, pistas);
    auto* m = rejilla()->model();
    ASSERT_EQ(m->rowCount(), 3);
    ASSERT_EQ(m->columnCount(), 4);
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "X_EMPLEADO");
    EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_TRUE(rejilla()->alternatingRowColors());

    const QString capturas = QStringLiteral(VARNOLO_CAPTURAS);
    QDir().mkpath(capturas);
    EXPECT_TRUE(dialogo->grab().save(capturas + "/ControlProfes.png"));
}

TEST_F(ControlProfes, LetrasNoEntranYEnterAvanzaComoTab) {
    QLineEdit* e = escribir(1, 2, "1a2b3");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text(), "123");
    QTest::keyClick(e, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(rejilla()->currentIndex(), rejilla()->model()->index(1, 3));
    // Tab past the last column goes to the next row's first editable column.
    rejilla()->setFocus();
    QTest::keyClick(rejilla(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(rejilla()->currentIndex(), rejilla()->model()->index(2, 2));
    // leaving the row posted it
    EXPECT_EQ(enTabla(1, "X_EMPLEADO"), "123");
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(ControlProfes, CompletarYSalirSinDejarLaCelda) {
    ASSERT_TRUE(escribir(1, 2, "12345"));
    ASSERT_TRUE(escribir(1, 3, "31/02/2018"));
    salir();  // the cell is still being edited
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join('/').toStdString();
    EXPECT_TRUE(dialogo->result);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(enTabla(1, "X_EMPLEADO"), "12345");
    EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "31/02/2018");
    // the main window's component sees the posted values
    Tabla& suya = estado.tablas.wwTableProfesor;
    suya.setRecNo(1);
    EXPECT_EQ(suya.asString("F_TOMAPOS"), "31/02/2018");
}

TEST_F(ControlProfes, FechaIncompletaSeRechazaAlPostear) {
    ASSERT_TRUE(escribir(1, 2, "7"));
    ASSERT_TRUE(escribir(1, 3, "01/09"));
    salir();
    EXPECT_EQ(avisos, QStringList{"Invalid characters. Field : F_TOMAPOS"});
    EXPECT_TRUE(dialogo->isVisible());
    EXPECT_FALSE(dialogo->result);
    EXPECT_EQ(rejilla()->currentIndex(), rejilla()->model()->index(1, 3));
    EXPECT_EQ(enTabla(1, "X_EMPLEADO"), "");  // nothing written for that row

    // moving to another row is refused the same way
    avisos.clear();
    rejilla()->setCurrentIndex(rejilla()->model()->index(2, 2));
    QApplication::processEvents();
    EXPECT_EQ(avisos, QStringList{"Invalid characters. Field : F_TOMAPOS"});
    EXPECT_EQ(rejilla()->currentIndex().row(), 1);
}

TEST_F(ControlProfes, VaciarUnDatoDejaResultFalso) {
    ASSERT_TRUE(escribir(0, 2, ""));
    ASSERT_TRUE(escribir(1, 2, "2"));  // leaving row 0 posts the cleared value
    ASSERT_TRUE(escribir(1, 3, "02/09/2018"));
    salir();
    EXPECT_FALSE(dialogo->result);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(enTabla(0, "X_EMPLEADO"), "");
    EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "02/09/2018");
}

TEST_F(ControlProfes, EscapeNoCierraElDialogo) {
    QTest::keyClick(rejilla(), Qt::Key_Escape);
    QTest::keyClick(dialogo.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialogo->isVisible());
}

TEST_F(ControlProfes, CerrarLaVentanaDejaResultFalsoYNoHayAltas) {
    QTest::keyClick(rejilla(), Qt::Key_Insert);
    QTest::keyClick(rejilla(), Qt::Key_Delete);
    EXPECT_EQ(rejilla()->model()->rowCount(), 3);
    EXPECT_FALSE(rejilla()->model()->setData(rejilla()->model()->index(0, 0), "ZZ", Qt::EditRole));
    dialogo->close();
    EXPECT_FALSE(dialogo->result);
    EXPECT_EQ(enTabla(0, "ABREV"), "P1");
}

}  // namespace
}  // namespace varnolo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
