#pragma once
// A table object of our dBase engine: a cursor over one .DBF table, named by folder
// and table name when it is made, configured while closed (exclusive flag), then
// created, opened, walked, located and written. Tables it creates are dBase IV files
// (level 7 when a field name is longer than 11 characters) that other dBase programs
// read; it reads tables written by other programs (dBase III/IV/5, level 7, FoxPro).
//
// All table objects of this process over the same file share one copy of its rows,
// so what one object posts the others see at once. An exclusive open keeps other
// processes out (they can neither open, delete nor recreate the file) while any of
// our objects holds it; further objects of this process still open it.
//
// Every failure raises ErrorTabla with a Spanish text that names the table and what
// failed. A damaged or truncated file is such an error, never a crash.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "base/Reloj.h"
#include "dbf/Campos.h"

namespace varnolo {

class Tabla {
  public:
    enum class Estado { Inactiva, Navegando, Editando, Insertando };

    /// The folder may be empty when the table name is a full path. The name goes with
    /// or without the extension ".DBF" (any letter case), or is a full path; files are
    /// looked up with the letter case ignored in the name part.
    Tabla(const QString& carpeta, const QString& nombre, bool exclusiva = false);
    ~Tabla();  ///< Closes the table; a pending edit is discarded.
    Tabla(const Tabla&) = delete;
    Tabla& operator=(const Tabla&) = delete;
    /// Takes over the other object's configuration, open table and cursor; the
    /// moved-from object may only be destroyed.
    Tabla(Tabla&& otra) noexcept;

    // ---- Configuration (only while closed) --------------------------------------
    void setExclusive(bool exclusiva);
    /// The clock whose date goes into the header of created and updated files.
    void setReloj(std::shared_ptr<const Reloj> reloj);
    /// Called at the start of every post(), before anything is written; what it raises
    /// leaves the row unwritten and the file as it was. Any time.
    void setBeforePost(std::function<void()> antes);

    /// The .DBF path that folder and table name resolve to (existing file of that
    /// name in any letter case, else the name with ".DBF" appended as given).
    QString rutaArchivo() const;
    /// The table's name for messages: base name in upper case, e.g. "PROFT".
    QString nombre() const;

    // ---- Layout and creation ------------------------------------------------------
    /// The field list used by createTable(), in table order. Edit it while closed.
    QList<DefCampo>& fieldDefs();
    /// The index list used by createTable(). A non-empty list yields the production
    /// index NAME.MDX (one tag per entry) and the header's production-index flag.
    QList<DefIndice>& indexDefs();
    /// Creates the table empty from the definitions, replacing any file of that name
    /// (and its .MDX). Fails when another process holds the file.
    void createTable();

    // ---- Open and close -------------------------------------------------------------
    /// Opens the table; the cursor stands on the first visible row (or at the end of
    /// an empty table). Fails when the file is missing, damaged, or held exclusively
    /// by another process (or, for an exclusive open, open in another process).
    void open();
    /// Closes; a pending edit or insert is posted first (as dBase tools do). Safe to
    /// call when closed.
    void close();
    bool active() const;
    Estado estado() const;

    // ---- Navigation -------------------------------------------------------------------
    /// Rows are visited in physical (append) order, or in the order of the index
    /// named by setIndexFieldNames(). Deleted rows are never visited. Moving the cursor (and
    /// locate) posts a pending insert or edit first, as dBase tools do.
    void first();
    void next();
    bool eof() const;  ///< past the last visible row (also: empty view)
    /// Puts the cursor on the visible row at `posicion` (0-based), clamped.
    void setRecNo(int posicion);

    /// Walk by the index whose key is this field ("ORDEN"): ascending key order, equal
    /// keys in append order. Empty text: physical order. Works on any field, indexed
    /// or not; the cursor goes to the first row.
    void setIndexFieldNames(const QString& campo);

    /// Exact, case-sensitive comparison of whole values. `campos` names one or more
    /// fields joined by ";", `valores` gives one text per field, compared with the
    /// field's text as asString() reads it. On success the cursor stands on the first
    /// match (in the current order) and the result is true;
    /// otherwise the cursor does not move.
    bool locate(const QString& campos, const QStringList& valores);
    /// Locate on one numeric field by integer value (e.g. the level table's key).
    bool locate(const QString& campo, int valor);

    /// Number of visible rows (the live rows).
    int recordCount() const;

    // ---- Writing ---------------------------------------------------------------------
    /// Appends a blank row at the end and makes it current, in insert state.
    void append();
    /// Puts the current row into edit state.
    void edit();
    /// Writes the row being inserted or edited to the file (header count and date
    /// updated, end marker kept) and returns to browse state.
    void post();

    // ---- Fields ------------------------------------------------------------------------
    /// The fields of the open table as stored (for foreign tables as well).
    const QList<CampoFisico>& campos() const;
    /// The field of that name as stored (letter case ignored); a missing name raises
    /// ErrorTabla naming the table and the field.
    const CampoFisico& fieldByName(const QString& campo) const;
    bool tieneCampo(const QString& campo) const;

    /// Field access by name (letter case ignored). Reading a missing field name
    /// raises ErrorTabla naming the table and the field.
    /// asString: C without trailing blanks; N/F trimmed digits; L "T"/"F"/""; D "YYYYMMDD";
    /// I and O as decimal text. A blank (never written) field reads "".
    QString asString(const QString& campo) const;
    /// Numeric fields give their value (rounded when it has decimals); text fields are
    /// converted strictly (ErrorConversion on a text that is not a whole number);
    /// a blank field gives 0.
    int asInteger(const QString& campo) const;
    double asFloat(const QString& campo) const;
    bool asBoolean(const QString& campo) const;
    /// True when the field is blank: never written, or only blanks.
    bool isNull(const QString& campo) const;

    /// Writing needs edit or insert state. Strings are converted to Windows-1252 and
    /// cut without notice to the field width in bytes. Numbers are right-aligned; a
    /// number too wide for its field raises ErrorTabla.
    void setString(const QString& campo, const QString& valor);
    void setInteger(const QString& campo, int valor);
    void setFloat(const QString& campo, double valor);
    void setBoolean(const QString& campo, bool valor);

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

/// Deletes FILE if it exists; the result is not examined (a file that another
/// process holds simply stays). Used for NAME.DBF and NAME.MDX before a create.
void borrarSiExiste(const QString& ruta);

/// The number of rows that the header of the table file at `ruta` states, deleted rows
/// included, read without opening the table (nothing but its first eight bytes); -1
/// when they cannot be read.
qint64 filasSegunCabecera(const QString& ruta);

}  // namespace varnolo
