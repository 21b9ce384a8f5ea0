#pragma once
// How far a conversion has come, told to whoever shows it, and the one way the person
// can answer: stop. The window shows a progress dialog with "Cancelar"; varnolo-cli a
// line on a terminal.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace varnolo {

class Avance {
  public:
    /// What the units of a report count.
    enum class Fase {
        Lectura,    ///< bytes of the exchange document read
        Tablas,     ///< steps of the export finished, of seven
        Lecciones,  ///< lessons of SOLUC written into the result
    };
    virtual ~Avance() = default;

    /// `hecho` of `total` units of `fase` are done. Called often and cheaply; false
    /// once the person has asked to stop.
    virtual bool seguir(Fase fase, qint64 hecho, qint64 total) = 0;
};

/// What a conversion does in `fase`, for the person watching: "Leyendo el documento
/// de Velna…" and so on.
QString textoDeFase(Avance::Fase fase);

/// The reader's view of `avance` (none: nobody watches): bytes read of the file's size
/// in the reading phase, false once the person has asked to stop.
std::function<bool(qint64 leidos, qint64 total)> avanceDeLectura(Avance* avance);

/// Tells `avance` (none: nobody watches) and raises Cancelacion when the person has
/// asked to stop.
void informarAvance(Avance* avance, Avance::Fase fase, qint64 hecho, qint64 total);

}  // namespace varnolo
