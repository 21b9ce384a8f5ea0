#pragma once
// TMForm, the main window "Exportar e importar datos entre Taviron y Velna": the two
// conversion buttons, help, and the batch mode in which Taviron starts the program
// with two arguments and reads the outcome from Taviron.ini when it closes.

#include <QStringList>
#include <QWidget>
#include <memory>

#include "Ayuda.h"
#include "DialogosVentana.h"
#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace Ui {
class TMForm;
}

namespace varnolo {

class TMForm : public QWidget, public Interaccion {
    Q_OBJECT
  public:
    /// `argumentos` are the command-line arguments without the program's name: exactly
    /// two put the window in batch mode. `dialogos` opens the file dialog, the message
    /// boxes and the two conversion dialogs.
    TMForm(Entorno entorno, const QStringList& argumentos,
           DialogosVentana dialogos = DialogosVentana::reales(), QWidget* padre = nullptr);
    ~TMForm() override;

    EstadoPrograma& estado() { return estado_; }
    const EstadoPrograma& estado() const { return estado_; }
    /// The settings file written at close in batch mode.
    QString rutaIni() const;
    /// The program's exit status once the window has closed: 0, or kSalidaSinIni
    /// when batch mode could not record its outcome in Taviron.ini.
    int codigoSalida() const { return codigoSalida_; }
    static constexpr int kSalidaSinIni = 1;

    // Interaccion: what a conversion asks of the window.
    std::optional<QString> elegirDocumento() override;
    void mostrarMensaje(const QString& texto) override;
    void cursorOcupado() override;
    void cursorNormal() override;
    void deshabilitarBotones() override;
    void cerrarVentana() override;
    SeleccionMarcos elegirMarcos(const EstadoPrograma& estado) override;
    bool completarProfesores(const EstadoPrograma& estado) override;

  public slots:
    void BExportarClick();
    void BImportarClick();
    void Button1Click();
    /// Batch dispatch: "importar" runs the import, then, tested apart, "exportar"
    /// the export (first argument lower-cased, ASCII letters only).
    void FormShow();

  protected:
    void showEvent(QShowEvent* evento) override;
    /// FormClose: in batch mode writes the outcome flag to Taviron.ini. When that
    /// fails the first time, the error is shown and the window stays open; a later
    /// close that fails again closes it, leaves the file alone and sets the exit
    /// status to kSalidaSinIni.
    void closeEvent(QCloseEvent* evento) override;

  private:
    /// Runs one conversion; an error it raises ends it and is shown in the error
    /// box, with the normal cursor restored.
    template <typename Conversion>
    void ejecutarProtegido(Conversion conversion);
    void mostrarError(const QString& texto);
    void mostrarTemaAyuda(const TemaAyuda& tema);

    std::unique_ptr<Ui::TMForm> ui_;
    EstadoPrograma estado_;
    QStringList argumentos_;
    DialogosVentana dialogos_;
    int cursoresOcupados_ = 0;
    bool mostrada_ = false;
    bool iniRechazado_ = false;
    int codigoSalida_ = 0;
};

/// The title of the application: the caption of every message box.
inline const QString kTituloAplicacion = QStringLiteral("Varnolo");

}  // namespace varnolo
