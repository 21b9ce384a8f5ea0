#pragma once
// VentanaPrincipal, the main window "Exportar e importar datos entre Taviron y Velna": the two
// conversion buttons, help, and the batch mode in which Taviron starts the program
// with two arguments and reads the outcome from Taviron.ini when it closes.

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/Ayuda.h"
#include "app/DialogosVentana.h"
#include "conversion/Desenlace.h"
#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace Ui {
class VentanaPrincipal;
}

namespace varnolo {

class VentanaPrincipal : public QWidget, private Preguntas {
    Q_OBJECT
  public:
    /// `argumentos` are the command-line arguments without the program's name: exactly
    /// two put the window in batch mode. `dialogos` opens the file dialog, the message
    /// boxes and the two conversion dialogs.
    VentanaPrincipal(Entorno entorno, const QStringList& argumentos,
                     DialogosVentana dialogos = DialogosVentana::reales(),
                     QWidget* padre = nullptr);
    ~VentanaPrincipal() override;

    const Entorno& entorno() const { return entorno_; }
    /// The exchange document chosen last; kept when the file dialog is cancelled.
    const QString& documentoElegido() const { return documento_; }
    /// The outcome written to Taviron.ini in batch mode: 0 at start, 1 after a
    /// completed conversion, -1 when the chosen file was missing in batch mode.
    int transformado() const { return transformado_; }
    /// True when the program was started with exactly two arguments.
    bool modoLote() const { return modoLote_; }
    /// The settings file written at close in batch mode.
    QString rutaIni() const;
    /// The program's exit status once the window has closed: 0, or kSalidaSinIni
    /// when batch mode could not record its outcome in Taviron.ini.
    int codigoSalida() const { return codigoSalida_; }
    static constexpr int kSalidaSinIni = 1;

  public slots:
    void alPulsarExportar();
    void alPulsarImportar();
    void alPulsarAyuda();
    /// "Restaurar…": the dialog of the tables' copies.
    void alPulsarRestaurar();
    /// Batch dispatch: "importar" runs the import, then, tested apart, "exportar"
    /// the export (first argument lower-cased, ASCII letters only).
    void ejecutarModoLote();

  protected:
    void showEvent(QShowEvent* evento) override;
    /// cerrarSeleccion: in batch mode writes the outcome flag to Taviron.ini. When that
    /// fails the first time, the error is shown and the window stays open; a later
    /// close that fails again closes it, leaves the file alone and sets the exit
    /// status to kSalidaSinIni.
    void closeEvent(QCloseEvent* evento) override;

  private:
    /// Asks for the document, runs the conversion with the busy cursor and shows how
    /// it ended: the message, the buttons, the outcome flag and, when due, the closing.
    /// A conversion of the chosen document, asking `preguntas` and telling `avance`.
    using Conversion =
        std::function<Desenlace(const QString& documento, Preguntas& preguntas, Avance* avance)>;
    void ejecutarConversion(const Conversion& conversion);
    void mostrarMensaje(const QString& texto, const QString& detalles = {});
    void mostrarError(const QString& texto);
    void cursorOcupado();
    void cursorNormal();

    // Preguntas: the two dialogs, with the normal cursor while they wait.
    QList<int> elegirMarcos(const MarcosHorarios& marcos) override;
    bool completarProfesores(const Entorno& entorno) override;
    void mostrarTemaAyuda(const TemaAyuda& tema);

    std::unique_ptr<Ui::VentanaPrincipal> ui_;
    Entorno entorno_;
    QStringList argumentos_;
    QString documento_;
    int transformado_ = 0;
    bool modoLote_ = false;
    DialogosVentana dialogos_;
    int cursoresOcupados_ = 0;
    /// The progress dialog of the conversion running now; none between conversions.
    DialogoAvance* avance_ = nullptr;
    bool mostrada_ = false;
    bool iniRechazado_ = false;
    int codigoSalida_ = 0;
};

/// The title of the application: the caption of every message box.
inline const QString kTituloAplicacion = QStringLiteral("Varnolo");
/// What follows the error of a Taviron.ini that could not be written at the first
/// close of a batch run.
inline const QString kReintentoIni = QStringLiteral(
    "\n\nTaviron no sabrá cómo terminó la conversión hasta que se escriba ese archivo. "
    "Cierre el programa que lo tenga abierto o corrija sus permisos, y vuelva a cerrar esta "
    "ventana: se intentará otra vez. Si vuelve a fallar, la ventana se cerrará sin "
    "escribirlo.");

}  // namespace varnolo
