#pragma once
// The tables of a conversion put in the work folder all at once. They are written
// into a staging folder inside the work folder (the same file system), and only when
// every table is complete a journal lists how they replace the old ones; the moves
// that follow are each one step, and a journal left by a cut (a killed process, a
// power cut) is finished the next time the folder is taken. Before the moves, the
// tables that are replaced are kept as a dated copy (Copias.h).

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

#include "taviron/Catalogo.h"

namespace varnolo {

/// Names in the work folder: the staging folder and the journal.
inline const QString kCarpetaPreparacion = QStringLiteral("VARNOLO.NUEVA");
inline const QString kArchivoDiario = QStringLiteral("VARNOLO.DIARIO");

/// Finishes a replacement that a cut left half done (its journal is complete), or
/// drops what a cut left before it began (a staging folder, a copy half made). The
/// caller holds the folder (ReservaCarpeta). Raises ErrorVarnolo when a move fails.
void recuperarCarpeta(const QString& trabajo);

/// Takes the folder and recovers it when no other conversion holds it; does nothing
/// otherwise (that conversion recovers it) or when the folder does not exist.
void recuperarCarpetaSiLibre(const QString& trabajo);

namespace plataforma {
class ArchivoBloqueado;
}

/// The work folder's tables that a conversion is about to replace, held exclusively
/// so that no other program opens one until they are replaced.
class RetencionTablas {
  public:
    /// Holds the .DBF of each table of `tablas` that exists. Raises ErrorTabla
    /// "La tabla … está en uso por otro programa (…)" when another program has one.
    RetencionTablas(const QString& trabajo, const QList<const DefTabla*>& tablas);
    ~RetencionTablas();
    RetencionTablas(const RetencionTablas&) = delete;
    RetencionTablas& operator=(const RetencionTablas&) = delete;
    /// Lets the tables go (Windows replaces no file that is held).
    void soltar();

  private:
    std::vector<std::unique_ptr<plataforma::ArchivoBloqueado>> archivos_;
};

/// A staging folder for new tables, emptied when made and removed, with whatever it
/// holds, when the object ends unless confirmar() put its tables in place.
class Preparacion {
  public:
    /// Makes `trabajo`/VARNOLO.NUEVA, empty. When it cannot, raises the ErrorTabla
    /// that creating `primeraTabla` in the work folder would raise.
    Preparacion(const QString& trabajo, const QString& primeraTabla);
    ~Preparacion();
    Preparacion(const Preparacion&) = delete;
    Preparacion& operator=(const Preparacion&) = delete;

    const QString& carpeta() const { return carpeta_; }

    /// Puts the staged tables of `tablas` in place of the work folder's: each .DBF,
    /// its .MDX when one was staged, and the removal of an old .MDX that the new
    /// table no longer has (unless the table keeps it). Before that, the tables it
    /// replaces are kept as a copy named after `momento` and `origen` (Copias.h).
    /// Raises ErrorVarnolo when a table is missing from the staging folder, when the
    /// copy cannot be made (nothing has changed then), or when a move fails (the
    /// journal stays, and the next start finishes it).
    void confirmar(const QList<const DefTabla*>& tablas, const QDateTime& momento,
                   const QString& origen);

    /// A message that names a file of the staging folder, naming the work folder's
    /// file instead: the user knows the tables by their place.
    QString comoEnTrabajo(const QString& texto) const;

  private:
    QString trabajo_;
    QString carpeta_;
    bool confirmada_ = false;
};

}  // namespace varnolo
