// The teacher data dialog, offscreen: masks, posting, "Salir" and its result.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "app/DialogoProfesores.h"
#include "app/ModeloProft.h"
#include "app/RejillaProft.h"
#include "dbf/Tabla.h"
#include "tests/comun/Prueba.h"
#include "tests/importacion/MesaTrabajo.h"

namespace varnolo {
namespace {

class DialogoDeProfesores : public ::testing::Test {
  protected:
    prueba::Carpetas carpetas;
    /// The import's own PROFT, open shared while the dialog edits the table.
    Tabla proftDeLaImportacion{carpetas.trabajo(), QStringLiteral("PROFT")};
    std::unique_ptr<DialogoProfesores> dialogo;
    QStringList avisos;

    void SetUp() override {
        CarpetaTrabajo(carpetas.entorno()).recrear({&catalogo::PROFT()});
        prueba::agregarFilas(carpetas.entorno(), "PROFT",
                             {{"P1", "Uno", "", "", "", "11", "01/09/2018"},
                              {"P2", "Dos", "", "", "", "", "   "},
                              {"P3", "Tres", "", "", "", "33", "03/09/2018"}});
        // The import holds its own PROFT open meanwhile.
        proftDeLaImportacion.open();
        abrirDialogo();
    }

    void abrirDialogo(QWidget* propietario = nullptr) {
        dialogo.reset();
        avisos.clear();
        dialogo = std::make_unique<DialogoProfesores>(propietario, carpetas.entorno());
        dialogo->rejilla()->avisar = [this](const QString& t) { avisos << t; };
        dialogo->show();
        dialogo->activateWindow();
        QApplication::processEvents();
    }

    QToolButton* botonNavegador(const char* nombre) {
        return dialogo->findChild<QWidget*>("wwDBNavigator1")
            ->findChild<QToolButton*>(QString::fromLatin1(nombre));
    }

    QLineEdit* editorAbierto() { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

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
    // Separators go in where a digit was typed in their place.
    struct Separadores {
        const char* texto;
        const char* mascara;
        const char* resultado;
    };
    const Separadores separadores[] = {
        {"010", "##/##/####", "01/0"},
        {"01092015", "##/##/####", "01/09/2015"},
        {"01/09/2015", "##/##/####", "01/09/2015"},
        {"01/092", "##/##/####", "01/09/2"},
        {"12345", "#*#", "12345"},
    };
    for (const Separadores& c : separadores) {
        EXPECT_EQ(conSeparadores(c.texto, c.mascara), c.resultado) << c.texto;
    }
}

TEST_F(DialogoDeProfesores, VentanaYRejilla) {
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
    EXPECT_TRUE(dialogo->grab().save(capturas + "/DialogoProfesores.png"));
}

TEST_F(DialogoDeProfesores, LetrasNoEntranYEnterAvanzaComoTab) {
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

// A date typed as its digits shows with its separators; what the cell cannot take is
// refused visibly (the editor says so), never dropped in silence after the first two.
TEST_F(DialogoDeProfesores, FechaSeEscribeComoSusCifras) {
    QLineEdit* e = escribir(1, 3, "01092015");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text(), "01/09/2015");
    EXPECT_EQ(e->cursorPosition(), 10);
    QSignalSpy rechazos(e, &QLineEdit::inputRejected);
    QTest::keyClicks(e, "7");
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, "x");
    EXPECT_EQ(rechazos.count(), 2);
    EXPECT_EQ(e->text(), "01/09/201");
    QTest::keyClicks(e, "8");
    salir();
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join('/').toStdString();
    EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "01/09/2018");
}

TEST_F(DialogoDeProfesores, CompletarYSalirSinDejarLaCelda) {
    ASSERT_TRUE(escribir(1, 2, "12345"));
    ASSERT_TRUE(escribir(1, 3, "31/02/2018"));
    salir();  // the cell is still being edited
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join('/').toStdString();
    EXPECT_TRUE(dialogo->result);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(enTabla(1, "X_EMPLEADO"), "12345");
    EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "31/02/2018");
    // the import's table object sees the posted values
    Tabla& suya = proftDeLaImportacion;
    suya.setRecNo(1);
    EXPECT_EQ(suya.asString("F_TOMAPOS"), "31/02/2018");
}

TEST_F(DialogoDeProfesores, FechaIncompletaSeRechazaAlPostear) {
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

// However the user leaves a row that does not fit its masks, the row keeps every
// value typed in it, and the refused cell is open again for the user to correct.
TEST_F(DialogoDeProfesores, FilaRechazadaConservaLoEscritoSeaComoSeaLaSalida) {
    const auto tecla = [](Qt::Key k) -> std::function<void()> {
        return [k] { QTest::keyClick(QApplication::focusWidget(), k); };
    };
    const auto clicCelda = [this](int fila, int columna,
                                  const char* vista) -> std::function<void()> {
        return [=, this] {
            auto* v = vista ? dialogo->findChild<QTableView*>(vista)
                            : static_cast<QTableView*>(rejilla());
            const QRect r = v->visualRect(v->model()->index(fila, columna));
            QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
        };
    };
    const auto navegador = [this](const char* boton) -> std::function<void()> {
        return [boton, this] { QTest::mouseClick(botonNavegador(boton), Qt::LeftButton); };
    };
    const struct {
        const char* salida;
        std::function<void()> hacer;
    } casos[] = {
        {"Enter", tecla(Qt::Key_Return)},
        {"Tab", tecla(Qt::Key_Tab)},
        {"flecha abajo", tecla(Qt::Key_Down)},
        {"flecha arriba", tecla(Qt::Key_Up)},
        {"clic en otra fila", clicCelda(2, 2, nullptr)},
        {"clic en una columna fija", clicCelda(0, 1, "ProftDBGridFijas")},
        {"First", navegador("First")},
        {"PriorPage", navegador("PriorPage")},
        {"Prior", navegador("Prior")},
        {"Next", navegador("Next")},
        {"NextPage", navegador("NextPage")},
        {"Last", navegador("Last")},
        {"Post", navegador("Post")},
        {"Refresh", navegador("Refresh")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.salida);
        abrirDialogo();
        // As a user types: X_EMPLEADO, Enter, F_TOMAPOS with a date cut short.
        QLineEdit* e = escribir(1, 2, "555");
        ASSERT_TRUE(e);
        QTest::keyClick(e, Qt::Key_Return);
        e = editorAbierto();
        ASSERT_TRUE(e);
        QTest::keyClicks(e, "01/09");

        c.hacer();
        QApplication::processEvents();
        QApplication::processEvents();

        EXPECT_EQ(avisos, QStringList{"Invalid characters. Field : F_TOMAPOS"});
        auto* m = rejilla()->model();
        EXPECT_EQ(rejilla()->currentIndex(), m->index(1, 3));
        EXPECT_EQ(m->data(m->index(1, 2)).toString(), "555");
        EXPECT_EQ(m->data(m->index(1, 3)).toString(), "01/09");
        e = editorAbierto();
        ASSERT_TRUE(e) << "the refused cell is not being edited";
        EXPECT_EQ(e->text(), "01/09");
        EXPECT_EQ(enTabla(1, "X_EMPLEADO"), "");

        // Completed, the row is written as typed.
        e->selectAll();
        QTest::keyClicks(e, "01/09/2018");
        QTest::keyClick(e, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(avisos.size(), 1);
        EXPECT_EQ(enTabla(1, "X_EMPLEADO"), "555");
        EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "01/09/2018");
        ASSERT_TRUE(escribir(1, 2, ""));  // back to the fixture's values for the next case
        ASSERT_TRUE(escribir(1, 3, ""));
        rejilla()->setCurrentIndex(m->index(0, 2));
        QApplication::processEvents();
        ASSERT_EQ(enTabla(1, "X_EMPLEADO"), "");
    }
}

TEST_F(DialogoDeProfesores, CentradoEnLaPantallaAunqueLaVentanaPrincipalEsteEnUnaEsquina) {
    auto principal = std::make_unique<QWidget>();
    principal->setGeometry(0, 0, 632, 266);
    principal->show();
    abrirDialogo(principal.get());
    const QRect pantalla = dialogo->screen()->availableGeometry();
    // within the window frame's few pixels of the screen's centre
    EXPECT_LE((dialogo->frameGeometry().center() - pantalla.center()).manhattanLength(), 6)
        << dialogo->frameGeometry().x() << "," << dialogo->frameGeometry().y();
    dialogo.reset();  // before its owner
}

// Ctrl+Tab and Ctrl+Shift+Tab leave the grid (Tab keeps moving in it): grid,
// navigator, "Salir". Leaving posts the row, and a refused row keeps the focus.
TEST_F(DialogoDeProfesores, CtrlTabSaleDeLaRejilla) {
    auto* salir = dialogo->findChild<QPushButton*>("BitBtn1");
    rejilla()->setFocus();
    QTest::keyClick(rejilla(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), botonNavegador("First"));
    for (int i = 0; i < 9; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), botonNavegador("Refresh"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), salir);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), rejilla());

    QTest::keyClick(rejilla(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), salir);

    // from an open editor: a refused value keeps the user there
    QLineEdit* e = escribir(1, 3, "01/09");
    ASSERT_TRUE(e);
    QTest::keyClick(e, Qt::Key_Tab, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(avisos, QStringList{"Invalid characters. Field : F_TOMAPOS"});
    e = editorAbierto();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->text(), "01/09");
    // a complete one is posted on the way out
    e->selectAll();
    QTest::keyClicks(e, "01/09/2018");
    QTest::keyClick(e, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), botonNavegador("First"));
    EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "01/09/2018");
}

TEST_F(DialogoDeProfesores, LosDiezBotonesCabenEnElNavegador) {
    QWidget* navegador = dialogo->findChild<QWidget*>("wwDBNavigator1");
    EXPECT_EQ(navegador->geometry(), QRect(224, 29, 275, 24));
    const auto botones = navegador->findChildren<QToolButton*>();
    ASSERT_EQ(botones.size(), 10);
    int x = 0;
    for (QToolButton* b : botones) {
        EXPECT_EQ(b->x(), x) << b->objectName().toStdString();
        EXPECT_GE(b->width(), 27);
        EXPECT_EQ(b->y(), 0);
        EXPECT_EQ(b->height(), 24);
        x += b->width();
    }
    EXPECT_EQ(x, 275);
}

// Enter presses the focused button: a navigator button, or "Salir".
TEST_F(DialogoDeProfesores, EnterPulsaElBotonConElFoco) {
    QToolButton* ultimo = botonNavegador("Last");
    ultimo->setFocus();
    ASSERT_TRUE(ultimo->hasFocus());
    QTest::keyClick(ultimo, Qt::Key_Return);
    EXPECT_EQ(rejilla()->currentIndex().row(), 2);

    auto* salir = dialogo->findChild<QPushButton*>("BitBtn1");
    salir->setFocus();
    QTest::keyClick(salir, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_FALSE(dialogo->result);  // P2 is still incomplete
}

TEST_F(DialogoDeProfesores, VaciarUnDatoDejaResultFalso) {
    ASSERT_TRUE(escribir(0, 2, ""));
    ASSERT_TRUE(escribir(1, 2, "2"));  // leaving row 0 posts the cleared value
    ASSERT_TRUE(escribir(1, 3, "02/09/2018"));
    salir();
    EXPECT_FALSE(dialogo->result);
    EXPECT_FALSE(dialogo->isVisible());
    EXPECT_EQ(enTabla(0, "X_EMPLEADO"), "");
    EXPECT_EQ(enTabla(1, "F_TOMAPOS"), "02/09/2018");
}

TEST_F(DialogoDeProfesores, EscapeNoCierraElDialogo) {
    QTest::keyClick(rejilla(), Qt::Key_Escape);
    QTest::keyClick(dialogo.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialogo->isVisible());
}

TEST_F(DialogoDeProfesores, CerrarLaVentanaDejaResultFalsoYNoHayAltas) {
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
