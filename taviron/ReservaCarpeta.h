#pragma once
// One conversion at a time per work folder. The running export or import holds a
// lock file in the folder exclusively; a second conversion into the same folder, of
// this program or its command-line tool, is refused before it changes anything. The
// lock belongs to the open file, so it ends with the conversion or its process.
// While the folder is held, each table that the conversion creates stays held
// exclusively until the conversion opens it to fill it.

#include <QString>
#include <memory>

namespace varnolo {

namespace plataforma {
class ArchivoBloqueado;
}

/// The lock file's name in the work folder.
inline const QString kArchivoReserva = QStringLiteral("VARNOLO.LCK");

class ReservaCarpeta {
  public:
    /// Takes the work folder `carpeta` for this conversion. Raises ErrorVarnolo naming
    /// the folder when another conversion holds it, or when something that is not a
    /// file stands in the lock file's place. When no lock file can be made
    /// there (missing or read-only folder) the conversion goes on without one: it
    /// cannot change the folder either, and its tables report why.
    explicit ReservaCarpeta(const QString& carpeta);
    ~ReservaCarpeta();  ///< Releases the folder.
    ReservaCarpeta(const ReservaCarpeta&) = delete;
    ReservaCarpeta& operator=(const ReservaCarpeta&) = delete;

  private:
    std::unique_ptr<plataforma::ArchivoBloqueado> archivo_;
};

}  // namespace varnolo
