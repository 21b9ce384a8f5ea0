#pragma once
// The time-frame selection dialog "Planillas, Marcos o Jornadas Horarias": lists
// the time frames of the exchange document it is given, shows the name, dates and slots of the
// frame last clicked, and accepts a choice of one to five frames when it closes.

#include <QDialog>
#include <functional>
#include <memory>

#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace Ui {
class DialogoMarcos;
}

namespace varnolo {

/// How the dialog shows its refusal messages: by default a message box titled
/// "Varnolo" with an OK button, over `padre`. Tests replace it to answer at once.
using AvisoPlantillas = std::function<void(QWidget* padre, const QString& texto)>;
AvisoPlantillas& avisoPlantillas();

class DialogoMarcos : public QDialog {
    Q_OBJECT
  public:
    /// The dialog over the document's time frames. `carpetaPrograma` is where F1
    /// finds the help.
    DialogoMarcos(const MarcosHorarios& marcos, const QString& carpetaPrograma,
                  QWidget* propietario = nullptr);
    ~DialogoMarcos() override;

    /// The selection string built when the dialog closed (see cerrarSeleccionMarcos).
    QString resultado;
    /// True when the selection was accepted as the dialog closed.
    bool resultMH = false;

    /// The positions of the frames selected as the dialog closed.
    QList<int> seleccionadas() const;
    /// Number of entries of the frame list.
    int entradasMarcos() const;

    // Handlers.
    void llenarListas();
    void alElegirEnLista();
    void mostrarMarcoActual();
    void alPulsarContinuar();
    void cerrarSeleccion();

    /// Closing by any way (button, close box) runs cerrarSeleccion first.
    void done(int resultado) override;

  protected:
    bool event(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void aplicarAspecto();

    std::unique_ptr<Ui::DialogoMarcos> ui;
    MarcosHorarios marcos_;
    bool activado_ = false;
    bool centrado_ = false;
    bool enfocado_ = false;
};

/// Creates the dialog owned by `propietario`, shows it modally once over `marcos`, and
/// returns the positions of the frames accepted, or none when the selection was
/// refused; the dialog is destroyed afterwards.
QList<int> mostrarDialogoMarcos(QWidget* propietario, const Entorno& entorno,
                                const MarcosHorarios& marcos);

}  // namespace varnolo
