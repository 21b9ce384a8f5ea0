#pragma once
// What a conversion needs of whoever runs it: choosing the exchange document,
// showing a message, the busy cursor, closing the window, and the two dialogs.
// The main window implements it with real windows; the command-line tool and the
// tests implement it otherwise.

#include <QString>
#include <optional>

namespace varnolo {

struct EstadoPrograma;

/// What one showing of the time-frame dialog gives back.
struct SeleccionMarcos {
    bool resultMH = false;  ///< the selection was accepted (one to five frames)
    QString resultado;      ///< chosen codes, each cut or padded to 10, in list order
    int entradas = 0;       ///< number of entries in the frame list
};

class Interaccion {
  public:
    virtual ~Interaccion() = default;

    /// The file-open dialog "Seleccione Archivo XML obtenido de VELNA"; nothing when
    /// the user cancels.
    virtual std::optional<QString> elegirDocumento() = 0;
    /// A modal message box with an OK button and the title "Varnolo"; returns when
    /// the user has confirmed it.
    virtual void mostrarMensaje(const QString& texto) = 0;
    virtual void cursorOcupado() = 0;
    virtual void cursorNormal() = 0;
    /// Disables both conversion buttons after a completed conversion.
    virtual void deshabilitarBotones() = 0;
    /// Closes the main window (which, in batch mode, writes the settings file).
    virtual void cerrarVentana() = 0;

    /// Shows the time-frame dialog once, modally, over the document named by
    /// estado.filenameXML, and reports what the user chose. A front end that cannot
    /// ask raises ErrorVarnolo instead of returning a rejected selection forever.
    virtual SeleccionMarcos elegirMarcos(const EstadoPrograma& estado) = 0;
    /// Called by the export once the document is loaded, before any table is touched.
    /// A front end that cannot ask raises ErrorVarnolo here when the choice it would
    /// give elegirMarcos() does not fit estado.documento. The window asks later.
    virtual void comprobarMarcos(const EstadoPrograma&) {}

    /// Shows the teacher data dialog once, modally, over PROFT of the work folder;
    /// returns its `result`: true when every teacher was complete as it closed.
    virtual bool completarProfesores(const EstadoPrograma& estado) = 0;
};

}  // namespace varnolo
