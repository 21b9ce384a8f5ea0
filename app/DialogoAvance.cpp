#include "app/DialogoAvance.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace varnolo {

namespace {
/// How often a shown dialog repaints and looks at its button: often enough for a
/// press to stop the run well within a second.
constexpr qint64 kRefrescoMs = 50;
constexpr int kEscala = 1000;
}  // namespace

DialogoAvance::DialogoAvance(QWidget* propietario, std::chrono::milliseconds espera)
    : QDialog(propietario), espera_(espera) {
    setObjectName(QStringLiteral("DialogoAvance"));
    setWindowTitle(QStringLiteral("Varnolo"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    texto_ = new QLabel(textoDeFase(Fase::Lectura), this);
    texto_->setObjectName(QStringLiteral("TextoAvance"));
    barra_ = new QProgressBar(this);
    barra_->setObjectName(QStringLiteral("BarraAvance"));
    barra_->setRange(0, kEscala);
    barra_->setValue(0);
    barra_->setTextVisible(true);
    cancelar_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar_->setObjectName(QStringLiteral("BotonCancelar"));
    cancelar_->setAutoDefault(false);
    connect(cancelar_, &QPushButton::clicked, this, &DialogoAvance::reject);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cancelar_);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(texto_);
    columna->addWidget(barra_);
    columna->addLayout(botones);
    setMinimumWidth(360);
}

DialogoAvance::~DialogoAvance() { ocultar(); }

bool DialogoAvance::seguir(Fase fase, qint64 hecho, qint64 total) {
    if (cancelado_) return false;
    if (!desdeElPrincipio_.isValid()) desdeElPrincipio_.start();
    if (!isVisible()) {
        // Nothing of the event loop runs before the dialog shows: the main window
        // cannot take a click in the middle of a conversion.
        if (desdeElPrincipio_.elapsed() < espera_.count()) return true;
        mostrar();
    } else if (desdeElRefresco_.isValid() && desdeElRefresco_.elapsed() < kRefrescoMs) {
        return true;
    }
    texto_->setText(textoDeFase(fase));
    barra_->setValue(total > 0 ? static_cast<int>(std::min(hecho, total) * kEscala / total) : 0);
    desdeElRefresco_.start();
    // A modal dialog lets the events through to itself only: its button, its repaint.
    QCoreApplication::processEvents();
    return !cancelado_;
}

void DialogoAvance::apartar() {
    if (isVisible()) {
        // Shown again at the next report, without a second wait.
        espera_ = std::chrono::milliseconds(0);
    } else {
        // The time spent answering is not the conversion's: the wait starts again.
        desdeElPrincipio_.invalidate();
    }
    ocultar();
}

void DialogoAvance::reject() {
    if (cancelado_) return;
    cancelado_ = true;
    texto_->setText(QStringLiteral("Cancelando…"));
    cancelar_->setEnabled(false);
}

void DialogoAvance::mostrar() {
    show();
    raise();
    // The busy cursor of the conversion says "wait"; over the dialog the button must
    // look as if it can be pressed.
    if (!cursorPuesto_) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        cursorPuesto_ = true;
    }
}

void DialogoAvance::ocultar() {
    if (cursorPuesto_) {
        QApplication::restoreOverrideCursor();
        cursorPuesto_ = false;
    }
    hide();
}

}  // namespace varnolo
