#include "app/DialogoProfesores.h"

#include <QKeyEvent>
#include <QScreen>
#include <QToolButton>
#include <iterator>

#include "app/AtajoAyuda.h"
#include "app/ModeloProft.h"
#include "app/RejillaProft.h"
#include "app/TeclaEnter.h"
#include "import/DatosProfesores.h"
#include "taviron/CarpetaTrabajo.h"
#include "ui_DialogoProfesores.h"

namespace varnolo {

namespace {

void estilo(QLabel* l, const QColor& color, bool subrayado = false) {
    QFont f = l->font();
    f.setBold(true);
    f.setUnderline(subrayado);
    f.setPixelSize(11);  // the boxes are sized for a small dialog font
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    l->setPalette(p);
}

}  // namespace

DialogoProfesores::DialogoProfesores(QWidget* propietario, const Entorno& entorno)
    : QDialog(propietario),
      ui_(std::make_unique<Ui::DialogoProfesores>()),
      proft_(CarpetaTrabajo(entorno).tabla(catalogo::PROFT(), Acceso::Compartida)) {
    ui_->setupUi(this);
    setFixedSize(754, 499);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    instalarAyudaF1(this, entorno.carpetaPrograma, kAyudaProfesores);

    estilo(ui_->Label1, Qt::black);
    ui_->Label1->setAutoFillBackground(true);
    QPalette amarillo = ui_->Label1->palette();
    amarillo.setColor(QPalette::Window, Qt::yellow);
    ui_->Label1->setPalette(amarillo);
    estilo(ui_->Label2, QColor(0, 0, 128));
    estilo(ui_->Label3, Qt::red, true);
    estilo(ui_->Label4, Qt::red);
    estilo(ui_->Label5, QColor(0, 128, 0));
    estilo(ui_->Label6, QColor(0, 0, 128));
    QFont negrita = ui_->BitBtn1->font();
    negrita.setBold(true);
    ui_->BitBtn1->setFont(negrita);

    modelo_ = new ModeloProft(proft_, this);
    QFont letraRejilla = font();
    letraRejilla.setPixelSize(11);
    rejilla_ = new RejillaProft(modelo_, this, letraRejilla);
    rejilla_->setObjectName(QStringLiteral("ProftDBGrid"));
    rejilla_->setGeometry(9, 56, 490, 433);
    crearNavegador();
    connect(ui_->BitBtn1, &QPushButton::clicked, this, &DialogoProfesores::alPulsarSalir);
    pulsarBotonesConEnter(this);
}

DialogoProfesores::~DialogoProfesores() = default;

void DialogoProfesores::crearNavegador() {
    struct Boton {
        const char* nombre;
        const char* simbolo;
        const char* pista;
    };
    static const Boton kBotones[] = {
        {"First", "|◀", "Move to first record"},
        {"PriorPage", "◀◀", "Move backward 10 records"},
        {"Prior", "◀", "Move to prior record"},
        {"Next", "▶", "Move to next record"},
        {"NextPage", "▶▶", "Move forward 10 records"},
        {"Last", "▶|", "Move to last record"},
        {"Edit", "✎", "Edit current record"},
        {"Post", "✔", "Post changes of current record"},
        {"Cancel", "✖", "Cancel changes made to current record"},
        {"Refresh", "↻", "Refresh the contents of the dataset"},
    };
    // The buttons share the navigator's width exactly (27 or 28 pixels each): a
    // layout would widen the navigator to the buttons' own minimum widths.
    QWidget* navegador = ui_->wwDBNavigator1;
    const int numero = static_cast<int>(std::size(kBotones));
    QWidget* anterior = rejilla_;
    for (int i = 0; i < numero; ++i) {
        const Boton& b = kBotones[i];
        auto* boton = new QToolButton(navegador);
        boton->setObjectName(QString::fromLatin1(b.nombre));
        boton->setText(QString::fromUtf8(b.simbolo));
        boton->setToolTip(QString::fromLatin1(b.pista));
        // Reached with the keyboard (Ctrl+Tab from the grid); a click leaves the
        // focus in the grid.
        boton->setFocusPolicy(Qt::TabFocus);
        boton->setAutoRepeat(true);
        boton->setAutoRepeatDelay(500);
        boton->setAutoRepeatInterval(100);
        const int x = i * navegador->width() / numero;
        boton->setGeometry(x, 0, (i + 1) * navegador->width() / numero - x, navegador->height());
        setTabOrder(anterior, boton);
        anterior = boton;
        const QString nombre = boton->objectName();
        connect(boton, &QToolButton::clicked, this, [this, nombre] {
            RejillaProft* g = rejilla_;
            const int actual = std::max(g->currentIndex().row(), 0);
            const int ultima = modelo_->rowCount() - 1;
            if (nombre == "First")
                g->irAFila(0);
            else if (nombre == "PriorPage")
                g->irAFila(actual - 10);
            else if (nombre == "Prior")
                g->irAFila(actual - 1);
            else if (nombre == "Next")
                g->irAFila(actual + 1);
            else if (nombre == "NextPage")
                g->irAFila(actual + 10);
            else if (nombre == "Last")
                g->irAFila(ultima);
            else if (nombre == "Edit")
                g->edit(g->currentIndex());
            else if (nombre == "Post")
                g->terminarEdicion();
            else if (nombre == "Cancel")
                g->cancelarEdicion();
            else if (nombre == "Refresh" && g->terminarEdicion()) {
                modelo_->recargar();
                g->irAFila(actual);
            }
        });
    }
    setTabOrder(anterior, ui_->BitBtn1);
}

void DialogoProfesores::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

void DialogoProfesores::showEvent(QShowEvent* evento) {
    // Centred on the screen, not over the main window.
    if (!centrado_) {
        centrado_ = true;
        if (QScreen* pantalla = screen()) {
            move(pantalla->availableGeometry().center() - rect().center());
        }
    }
    QDialog::showEvent(evento);
}

bool DialogoProfesores::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate || evento->type() == QEvent::Show) {
        abrirTabla();
    }
    return QDialog::event(evento);
}

void DialogoProfesores::abrirTabla() {
    if (proft_.active()) return;
    proft_.open();
    modelo_->recargar();
    rejilla_->setFocus();
}

void DialogoProfesores::alPulsarSalir() {
    if (!rejilla_->terminarEdicion()) return;
    result = proft_.active() && !hayProfesorIncompleto(proft_);
    proft_.close();
    accept();
}

bool mostrarDialogoProfesores(QWidget* propietario, const Entorno& entorno) {
    DialogoProfesores dialogo(propietario, entorno);
    dialogo.abrirTabla();  // an engine error reaches the caller, not the event loop
    dialogo.exec();
    return dialogo.result;
}

}  // namespace varnolo
