#pragma once
// The time-frame choice: the frames of the document as the question shows them, the
// rule that accepts a choice, the reading of the chosen codes back from the selection
// string, and the same choice made from frame codes given on the command line.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "conversion/Preguntas.h"
#include "velna/Sobre.h"

namespace varnolo {

/// A choice of time frames.
struct SeleccionMarcos {
    bool resultMH = false;  ///< the selection was accepted (one to five frames)
    QString resultado;      ///< chosen codes, each cut or padded to 10, in list order
    int entradas = 0;       ///< number of entries in the frame list
};

inline const QString kDemasiadosMarcos = QStringLiteral(
    "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 5 Marcos "
    "Horarios");
inline const QString kNingunMarco = QStringLiteral("Debe al menos seleccionar 1 Marco Horario.");
/// The document has no time frame at all: nothing could ever be chosen.
inline const QString kSinMarcosHorarios = QStringLiteral(
    "El documento no contiene ningún marco horario (JORNADAS_ESCOLARES): no se pueden exportar "
    "los días y las horas.");

/// The entries of the frame list: item 0 of every JORNADAS_ESCOLARES record,
/// untrimmed, in document order.
QStringList listaDeMarcos(const SeccionesDocumento& documento);

/// The frames and their slots, as the question shows them.
MarcosHorarios leerMarcosHorarios(const SeccionesDocumento& documento);

/// What closing the dialog gives: the selection, and the message to show when it
/// is refused (empty when accepted).
struct CierreMarcos {
    SeleccionMarcos seleccion;
    QString mensaje;
};

/// The dialog's closing rule over the frame list `entradas` and the selection
/// flags `seleccionadas` (one per entry): more than five selected → kDemasiadosMarcos,
/// none → kNingunMarco, both with resultMH false; otherwise accepted. resultado is
/// built in either case: each selected entry, in list order, cut or padded with
/// spaces to 10 characters.
CierreMarcos cerrarSeleccionMarcos(const QStringList& entradas, const QList<bool>& seleccionadas);

/// The five chosen codes read back from a selection string: the 10-character
/// columns at 0, 10, 20, 30 and 40, each trimmed; a column past the end is empty;
/// a string of at most 10 characters gives its first column only.
std::array<QString, 5> codigosElegidos(const QString& resultado);

/// The choice made from frame codes given in advance: selects the frame-list entries
/// whose code equals one of `marcos` (as listed, or trimmed), and closes the selection
/// as the dialog does. Raises ErrorVarnolo when the document has no time frame, with
/// the dialog's message when none or more than five frames are selected, with a
/// message that lists the frame codes when `marcos` is empty and the document has two
/// or more frames, and when a code of `marcos` names no frame of the document.
SeleccionMarcos seleccionarMarcosDe(const SeccionesDocumento& documento, const QStringList& marcos);

/// Asks `preguntas` until it gives an acceptable choice of the document's frames.
SeleccionMarcos preguntarMarcos(const SeccionesDocumento& documento, Preguntas& preguntas);

}  // namespace varnolo
