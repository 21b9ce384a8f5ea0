#pragma once
// The teacher data completion dialog "Control de Profesores": a grid over PROFT in
// which the user types the missing X_EMPLEADO and F_TOMAPOS of each teacher.

#include <QDialog>
#include <QWidget>
#include <memory>

#include "dbf/Tabla.h"
#include "taviron/Entorno.h"

namespace Ui {
class DialogoProfesores;
}

namespace varnolo {

class ModeloProft;
class RejillaProft;

class DialogoProfesores : public QDialog {
    Q_OBJECT
  public:
    /// The dialog over PROFT of the work folder, opened shared (the import holds
    /// PROFT open at the same time) when the dialog first activates.
    DialogoProfesores(QWidget* propietario, const Entorno& entorno);
    ~DialogoProfesores() override;

    /// True only when the user left with "Salir" and every teacher was complete.
    bool result = false;

    RejillaProft* rejilla() const { return rejilla_; }
    /// Opens the table if it is not open yet (also done when the dialog activates).
    void abrirTabla();
    /// "Salir": posts the edited row, computes `result`, closes the table and the
    /// dialog. A row that does not fit its masks keeps the dialog open.
    void alPulsarSalir();

  protected:
    bool event(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    /// Escape does not close the dialog: it has no cancel, and closing it would end
    /// the import and drop what the user typed. Leaving is "Salir" or the close box.
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void crearNavegador();

    std::unique_ptr<Ui::DialogoProfesores> ui_;
    Tabla proft_;
    ModeloProft* modelo_;
    RejillaProft* rejilla_;
    bool centrado_ = false;
};

/// Creates the dialog owned by `propietario`, shows it modally once over PROFT of
/// the work folder, and returns its `result`; the dialog is destroyed afterwards.
bool mostrarDialogoProfesores(QWidget* propietario, const Entorno& entorno);

}  // namespace varnolo
