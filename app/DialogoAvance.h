#pragma once
// DialogoAvance: how far a conversion has come, as a modal dialog with a bar and
// "Cancelar". It appears only when the run lasts longer than a moment, and a press of
// "Cancelar" (or Esc, or closing it) stops the conversion at its next report.

#include <QDialog>
#include <QElapsedTimer>
#include <chrono>

#include "conversion/Avance.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace varnolo {

class DialogoAvance : public QDialog, public Avance {
    Q_OBJECT

  public:
    /// The dialog over `propietario`, shown at the first report made `espera` after
    /// the first one.
    explicit DialogoAvance(QWidget* propietario,
                           std::chrono::milliseconds espera = std::chrono::milliseconds(500));
    ~DialogoAvance() override;

    bool seguir(Fase fase, qint64 hecho, qint64 total) override;

    /// Hides the dialog while the conversion asks a question; the next report shows it
    /// again.
    void apartar();
    /// True once the person has asked to stop.
    bool cancelado() const { return cancelado_; }

  public slots:
    /// Esc and the close button cancel, as "Cancelar" does.
    void reject() override;

  private:
    void mostrar();
    void ocultar();

    std::chrono::milliseconds espera_;
    QElapsedTimer desdeElPrincipio_;
    QElapsedTimer desdeElRefresco_;
    bool cancelado_ = false;
    bool cursorPuesto_ = false;
    QLabel* texto_;
    QProgressBar* barra_;
    QPushButton* cancelar_;
};

}  // namespace varnolo
