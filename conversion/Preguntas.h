#pragma once
// The two questions a conversion may have to ask the person who runs it: which time
// frames to export when the document has several, and whether the teachers' missing
// data was completed. The windows ask them in dialogs; varnolo-cli answers from its
// command line; tests answer from a script.

#include <QList>
#include <QString>
#include <QStringList>

#include "taviron/Entorno.h"

namespace varnolo {

/// The time frames of the document as the choice shows them, items untrimmed.
struct MarcosHorarios {
    struct Jornada {
        QString codigo, nombre, inicio, fin;  ///< items 0 to 3 of JORNADAS_ESCOLARES
    };
    struct Tramo {
        QString texto, marco;  ///< items 1 and 4 of TRAMOS_HORARIOS
    };
    QList<Jornada> jornadas;
    QList<Tramo> tramos;

    /// The entries of the frame list: the codes in document order.
    QStringList entradas() const;
};

class Preguntas {
  public:
    virtual ~Preguntas() = default;

    /// Which frames to export, as positions in marcos.entradas(): one to five of
    /// them. Anything else means no valid choice was made, and the question is asked
    /// again.
    virtual QList<int> elegirMarcos(const MarcosHorarios& marcos) = 0;

    /// Some teacher of PROFT in the work folder lacks X_EMPLEADO or F_TOMAPOS. True
    /// when the person says the data is now complete (PROFT is checked again).
    virtual bool completarProfesores(const Entorno& entorno) = 0;
};

}  // namespace varnolo
