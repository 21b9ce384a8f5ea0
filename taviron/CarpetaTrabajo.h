#pragma once
// The work folder as the conversions see it: the tables of the catalogue, found by
// their definition, opened shared or exclusively, and replaced by empty ones. It
// owns where the folder and the level table are and the clock whose date goes into
// every header written.

#include <initializer_list>
#include <memory>

#include "dbf/Tabla.h"
#include "taviron/Catalogo.h"
#include "taviron/Entorno.h"

namespace varnolo {

/// How a table is opened: shared with other programs, or keeping them out.
enum class Acceso { Compartida, Exclusiva };

class CarpetaTrabajo {
  public:
    /// The work folder, the level table's path and the clock of `entorno`.
    explicit CarpetaTrabajo(const Entorno& entorno);
    /// The same; every table it gives calls `antesDeGuardar` before each row it writes
    /// (Tabla::setBeforePost): a long run hears of its progress there.
    CarpetaTrabajo(const Entorno& entorno, std::function<void()> antesDeGuardar);

    /// The .DBF file of a table: NAME.DBF in the work folder in whatever letter
    /// case it exists, else NAME.DBF; for NIVELCAN the level table's path.
    QString ruta(const DefTabla& def) const;
    /// True when the table's file exists.
    bool existe(const DefTabla& def) const;

    /// A table object over the table, closed, with the clock set: for a caller that
    /// opens it later or keeps it for a while (a dialog's grid).
    Tabla tabla(const DefTabla& def, Acceso acceso) const;
    /// The same, opened. The engine's error (missing, damaged, held by another
    /// program) goes to the caller. The object closes the table when destroyed.
    Tabla abrir(const DefTabla& def, Acceso acceso) const;

    /// Replaces the tables by empty ones, as an export step does: first deletes the
    /// files of each in the order given (NAME.DBF, then NAME.MDX unless the table
    /// keeps it; a delete that fails goes unnoticed), then creates each from its
    /// layout in the same order. A create that fails raises the engine's error and
    /// leaves the later tables deleted but not created.
    void recrear(std::initializer_list<const DefTabla*> tablas) const;

  private:
    QString carpeta_;
    QString rutaNiveles_;
    std::shared_ptr<const Reloj> reloj_;
    std::function<void()> antesDeGuardar_;
};

/// Appends a row to the open table, lets `llenar` write its fields, and posts it.
template <typename Llenar>
void agregarFila(Tabla& tabla, Llenar&& llenar) {
    tabla.append();
    llenar(tabla);
    tabla.post();
}

}  // namespace varnolo
