#pragma once
// The time-frame selection dialog "Planillas, Marcos o Jornadas Horarias": lists
// the time frames of the exchange document, shows the name, dates and slots of the
// frame last clicked, and accepts a choice of one to five frames when it closes.

#include <QDialog>
#include <functional>
#include <memory>

#include "data/DocumentoXml.h"
#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace Ui {
class TPlantillas;
}

namespace varnolo {

/// How the dialog shows its refusal messages: by default a message box titled
/// "Varnolo" with an OK button, over `padre`. Tests replace it to answer at once.
using AvisoPlantillas = std::function<void(QWidget* padre, const QString& texto)>;
AvisoPlantillas& avisoPlantillas();

class TPlantillas : public QDialog {
    Q_OBJECT
  public:
    /// The dialog over the document named by estado.filenameXML, which it loads
    /// itself on its first activation (or earlier through cargarDocumento()).
    TPlantillas(const EstadoPrograma& estado, QWidget* propietario = nullptr);
    ~TPlantillas() override;

    /// The selection string built when the dialog closed (see cerrarSeleccionMarcos).
    QString resultado;
    /// Declared for the callers' sake; the dialog reads the document named by the
    /// program state instead.
    QString filenameXML;
    /// True when the selection was accepted as the dialog closed.
    bool resultMH = false;

    /// Loads the document into the dialog's own document object; false when it
    /// cannot be read.
    bool cargarDocumento();
    /// Number of time frames of the loaded document (0 before loading).
    int marcosDelDocumento() const;
    /// Number of entries of the frame list.
    int entradasMarcos() const;

    // Handlers.
    void FormActivate();
    void ListBox2Click();
    void ComboBoxPlantillaChange();
    void BitBtnContinuarClick();
    void FormClose();

    /// Closing by any way (button, close box) runs FormClose first.
    void done(int resultado) override;

  protected:
    bool event(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void aplicarAspecto();

    std::unique_ptr<Ui::TPlantillas> ui;
    const EstadoPrograma& estado_;
    std::unique_ptr<DocumentoXml> documento_;
    bool activado_ = false;
    bool centrado_ = false;
};

/// Creates the dialog owned by `propietario`, shows it modally once over the
/// document named by estado.filenameXML, and returns its resultMH, resultado and the
/// number of entries of its frame list; the dialog is destroyed afterwards. Raises
/// ErrorVarnolo, without showing anything, when the document cannot be read or
/// holds no time frame, since no choice could ever be accepted.
SeleccionMarcos mostrarPlantillas(QWidget* propietario, const EstadoPrograma& estado);

}  // namespace varnolo
