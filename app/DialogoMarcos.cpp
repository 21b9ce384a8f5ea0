#include "app/DialogoMarcos.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

#include "app/AtajoAyuda.h"
#include "app/DialogosVentana.h"
#include "app/TeclaEnter.h"
#include "base/Errores.h"
#include "export/SeleccionMarcos.h"
#include "ui_DialogoMarcos.h"

namespace varnolo {

namespace {

void avisoCaja(QWidget* padre, const QString& texto) {
    mostrarAviso(padre, avisoDe(ClaseAviso::Mensaje, texto));
}

/// A label's look: pixel height of its font and the colour of its text. Forms keep
/// point sizes only, so the exact pixel heights are set here.
void aspecto(QWidget* w, int pixeles, const QColor& color = QColor()) {
    QFont f = w->font();
    f.setPixelSize(pixeles);
    w->setFont(f);
    if (color.isValid()) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, color);
        w->setPalette(p);
    }
}

}  // namespace

AvisoPlantillas& avisoPlantillas() {
    static AvisoPlantillas aviso = avisoCaja;
    return aviso;
}

DialogoMarcos::DialogoMarcos(const MarcosHorarios& marcos, const QString& carpetaPrograma,
                             QWidget* propietario)
    : QDialog(propietario), ui(std::make_unique<Ui::DialogoMarcos>()), marcos_(marcos) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(371, 336);
    aplicarAspecto();
    connect(ui->ListBox2, &QListWidget::clicked, this, [this] { alElegirEnLista(); });
    connect(ui->ListBox2, &QListWidget::currentRowChanged, this, [this] { alElegirEnLista(); });
    connect(ui->BitBtnContinuar, &QPushButton::clicked, this, [this] { alPulsarContinuar(); });
    instalarAyudaF1(this, carpetaPrograma, kAyudaMarcos);
    pulsarBotonesConEnter(this);
}

DialogoMarcos::~DialogoMarcos() = default;

void DialogoMarcos::aplicarAspecto() {
    const QColor granate(0x80, 0x00, 0x00);
    setPalette(QPalette(palette().color(QPalette::Button)));
    QFont fuente = font();
    fuente.setPixelSize(11);
    setFont(fuente);
    aspecto(ui->LabelPlantillas, 13);
    aspecto(ui->Label2, 11, Qt::blue);
    aspecto(ui->LabelMarcos, 16, granate);
    aspecto(ui->Label1, 16, granate);
    aspecto(ui->LabelSelec, 13, Qt::red);
    aspecto(ui->LabelNombre, 16, granate);
    aspecto(ui->LabelPlanFec1, 16, granate);
    aspecto(ui->LabelPlanFec2, 16, granate);
    aspecto(ui->BitBtnContinuar, 11);
    aspecto(ui->ComboBoxPlantilla, 11);
    QPalette amarillo = ui->ComboBoxPlantilla->palette();
    amarillo.setColor(QPalette::Base, Qt::yellow);
    amarillo.setColor(QPalette::Button, Qt::yellow);
    ui->ComboBoxPlantilla->setPalette(amarillo);
    ui->BitBtnContinuar->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
}

QList<int> DialogoMarcos::seleccionadas() const {
    QList<int> filas;
    for (int i = 0; i < ui->ListBox2->count(); ++i) {
        if (ui->ListBox2->item(i)->isSelected()) filas << i;
    }
    return filas;
}

int DialogoMarcos::entradasMarcos() const { return ui->ListBox2->count(); }

bool DialogoMarcos::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate && !activado_) llenarListas();
    return QDialog::event(evento);
}

void DialogoMarcos::showEvent(QShowEvent* evento) {
    if (!centrado_) {
        centrado_ = true;
        if (QScreen* pantalla = screen()) {
            move(pantalla->availableGeometry().center() - rect().center());
        }
    }
    // The platform may not activate the window (offscreen, another window in
    // front): the lists are filled when it first shows all the same.
    if (!activado_) llenarListas();
    QDialog::showEvent(evento);
    // The focus starts where the tab order starts, on "Continuar": on the frame list
    // its frame would sit on the first code, which looks chosen although nothing is.
    if (!enfocado_) {
        enfocado_ = true;
        ui->BitBtnContinuar->setFocus(Qt::OtherFocusReason);
    }
}

void DialogoMarcos::keyPressEvent(QKeyEvent* evento) {
    // There is no cancel: Escape does not close the dialog.
    if (evento->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(evento);
}

// Fills the frame list once per showing. Filling it again at each later
// activation would drop the user's selection when they come back from another
// window, so the dialog keeps what it read at first.
void DialogoMarcos::llenarListas() {
    activado_ = true;
    const QStringList marcos = marcos_.entradas();
    if (!marcos.isEmpty()) {
        const QSignalBlocker bloqueo(ui->ListBox2);
        ui->ComboBoxPlantilla->clear();
        ui->ListBox2->clear();
        ui->ComboBoxPlantilla->addItems(marcos);
        ui->ListBox2->addItems(marcos);
    }
    ui->ComboBoxPlantilla->setCurrentIndex(0);
    mostrarMarcoActual();
}

void DialogoMarcos::mostrarMarcoActual() {
    const QString actual = ui->ComboBoxPlantilla->currentText();
    ui->LabelNombre->setText(QStringLiteral("-"));
    ui->LabelPlanFec1->setText(QStringLiteral("-"));
    ui->LabelPlanFec2->setText(QStringLiteral("-"));
    for (const MarcosHorarios::Jornada& j : marcos_.jornadas) {
        if (j.codigo != actual) continue;
        ui->LabelNombre->setText(j.nombre);
        ui->LabelPlanFec1->setText(j.inicio);
        ui->LabelPlanFec2->setText(j.fin);
    }
    // The slot list always shows the current frame's slots, also when the
    // document has a single slot record.
    ui->ListBox1->clear();
    for (const MarcosHorarios::Tramo& t : marcos_.tramos) {
        if (t.marco == actual) ui->ListBox1->addItem(t.texto);
    }
}

void DialogoMarcos::alElegirEnLista() {
    const int fila = ui->ListBox2->currentRow();
    if (fila < 0) return;
    ui->ComboBoxPlantilla->setCurrentIndex(fila);
    mostrarMarcoActual();
}

void DialogoMarcos::alPulsarContinuar() { close(); }

void DialogoMarcos::cerrarSeleccion() {
    QStringList entradas;
    QList<bool> seleccionadas;
    for (int i = 0; i < ui->ListBox2->count(); ++i) {
        entradas << ui->ListBox2->item(i)->text();
        seleccionadas << ui->ListBox2->item(i)->isSelected();
    }
    const CierreMarcos cierre = cerrarSeleccionMarcos(entradas, seleccionadas);
    resultMH = cierre.seleccion.resultMH;
    resultado = cierre.seleccion.resultado;
    if (!cierre.mensaje.isEmpty()) avisoPlantillas()(this, cierre.mensaje);
}

void DialogoMarcos::done(int r) {
    cerrarSeleccion();
    QDialog::done(resultMH ? QDialog::Accepted : r);
}

QList<int> mostrarDialogoMarcos(QWidget* propietario, const Entorno& entorno,
                                const MarcosHorarios& marcos) {
    // Owned by the window while it exists; destroyed here in any case.
    std::unique_ptr<DialogoMarcos> Plantillas =
        std::make_unique<DialogoMarcos>(marcos, entorno.carpetaPrograma, propietario);
    Plantillas->setObjectName(QStringLiteral("Plantillas"));
    Plantillas->exec();
    return Plantillas->resultMH ? Plantillas->seleccionadas() : QList<int>();
}

}  // namespace varnolo
