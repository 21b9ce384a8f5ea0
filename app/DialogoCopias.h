#pragma once
// DialogoCopias, "Copias de las tablas": the copies that the last exports and
// restores kept of the work tables, newest first, and the restore of one, asked for
// confirmation, all at once. F1 opens its help page.

#include <QDialog>
#include <QList>
#include <functional>

#include "taviron/Copias.h"
#include "taviron/Entorno.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace varnolo {

class DialogoCopias : public QDialog {
    Q_OBJECT
  public:
    /// Asks whether to go on with the text given; true to go on.
    using Confirmar = std::function<bool(QWidget* propietario, const QString& pregunta)>;
    /// Tells how a restore ended (an error when `error`).
    using Avisar = std::function<void(QWidget* propietario, const QString& texto, bool error)>;

    DialogoCopias(QWidget* padre, Entorno entorno, Confirmar confirmar = {}, Avisar avisar = {});

    /// Lists the copies again.
    void actualizar();
    /// Restores the selected copy, once confirmed.
    void restaurarSeleccionada();
    const QList<Copia>& copias() const { return copias_; }

  private:
    Entorno entorno_;
    Confirmar confirmar_;
    Avisar avisar_;
    QList<Copia> copias_;
    QLabel* explicacion_;
    QListWidget* lista_;
    QPushButton* restaurar_;
};

/// Shows the dialog modally over `propietario`.
void mostrarDialogoCopias(QWidget* propietario, const Entorno& entorno);

}  // namespace varnolo
