#include "app/DialogoCopias.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AtajoAyuda.h"
#include "app/DialogosVentana.h"
#include "base/Errores.h"
#include "taviron/ReservaCarpeta.h"
#include "taviron/Transaccion.h"

namespace varnolo {

namespace {

bool preguntar(QWidget* propietario, const QString& pregunta) {
    QMessageBox caja(QMessageBox::Question, QStringLiteral("Restaurar las tablas"), pregunta,
                     QMessageBox::Yes | QMessageBox::No, propietario);
    caja.setTextFormat(Qt::PlainText);
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Restaurar"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("&Cancelar"));
    caja.setDefaultButton(QMessageBox::No);
    return caja.exec() == QMessageBox::Yes;
}

void informar(QWidget* propietario, const QString& texto, bool error) {
    mostrarAviso(propietario, avisoDe(error ? ClaseAviso::Error : ClaseAviso::Mensaje, texto));
}

}  // namespace

DialogoCopias::DialogoCopias(QWidget* padre, Entorno entorno, Confirmar confirmar, Avisar avisar)
    : QDialog(padre),
      entorno_(std::move(entorno)),
      confirmar_(confirmar ? std::move(confirmar) : Confirmar(preguntar)),
      avisar_(avisar ? std::move(avisar) : Avisar(informar)) {
    setObjectName(QStringLiteral("DialogoCopias"));
    setWindowTitle(QStringLiteral("Copias de las tablas"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    explicacion_ = new QLabel(this);
    explicacion_->setObjectName(QStringLiteral("LabelCopias"));
    explicacion_->setWordWrap(true);
    explicacion_->setTextFormat(Qt::PlainText);
    explicacion_->setText(QStringLiteral(
        "Antes de cambiar las tablas de Taviron, cada exportación guarda una copia de las "
        "que sustituye (se guardan las diez últimas). Elija una copia para volver a poner "
        "sus tablas en la carpeta de trabajo; las tablas actuales se guardan antes en otra "
        "copia."));
    lista_ = new QListWidget(this);
    lista_->setObjectName(QStringLiteral("ListaCopias"));
    restaurar_ = new QPushButton(QStringLiteral("&Restaurar…"), this);
    restaurar_->setObjectName(QStringLiteral("BotonRestaurarCopia"));
    auto* botones = new QDialogButtonBox(this);
    botones->addButton(restaurar_, QDialogButtonBox::ActionRole);
    QPushButton* cerrar =
        botones->addButton(QStringLiteral("C&errar"), QDialogButtonBox::RejectRole);
    cerrar->setObjectName(QStringLiteral("BotonCerrarCopias"));
    auto* capas = new QVBoxLayout(this);
    capas->addWidget(explicacion_);
    capas->addWidget(lista_);
    capas->addWidget(botones);
    resize(520, 320);

    connect(restaurar_, &QPushButton::clicked, this, &DialogoCopias::restaurarSeleccionada);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(lista_, &QListWidget::currentRowChanged, this,
            [this](int fila) { restaurar_->setEnabled(fila >= 0); });
    connect(lista_, &QListWidget::itemActivated, this, [this] { restaurarSeleccionada(); });
    instalarAyudaF1(this, entorno_.carpetaPrograma, kAyudaCopias);
    actualizar();
}

void DialogoCopias::actualizar() {
    copias_ = listarCopias(entorno_.carpetaTrabajo);
    lista_->clear();
    for (const Copia& c : copias_) {
        lista_->addItem(
            QStringLiteral("%1   %2   (%3 tablas)").arg(c.fecha(), c.origen).arg(c.tablas.size()));
    }
    if (copias_.isEmpty()) {
        lista_->addItem(QStringLiteral("No hay copias de las tablas en la carpeta de trabajo."));
        lista_->item(0)->setFlags(Qt::NoItemFlags);
        restaurar_->setEnabled(false);
    } else {
        lista_->setCurrentRow(0);
        restaurar_->setEnabled(true);
    }
}

void DialogoCopias::restaurarSeleccionada() {
    const int fila = lista_->currentRow();
    if (fila < 0 || fila >= copias_.size()) return;
    const Copia c = copias_[fila];
    const QString pregunta =
        QStringLiteral(
            "¿Poner en la carpeta de trabajo las tablas de la copia del %1 (%2)?\n\n"
            "Las tablas actuales se guardarán antes en otra copia.")
            .arg(c.fecha(), c.origen);
    if (!confirmar_(this, pregunta)) return;
    try {
        const ReservaCarpeta reserva(entorno_.carpetaTrabajo);
        recuperarCarpeta(entorno_.carpetaTrabajo);
        restaurarCopia(entorno_.carpetaTrabajo, c.nombre, entorno_.ahora());
        avisar_(this,
                QStringLiteral("Se han restaurado las tablas de la copia del %1.").arg(c.fecha()),
                false);
    } catch (const ErrorVarnolo& e) {
        avisar_(this, e.texto(), true);
    }
    actualizar();
}

void mostrarDialogoCopias(QWidget* propietario, const Entorno& entorno) {
    DialogoCopias dialogo(propietario, entorno);
    dialogo.exec();
}

}  // namespace varnolo
