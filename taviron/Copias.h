#pragma once
// Dated copies of the tables an export or a restore replaced, kept in the work folder
// under VARNOLO.COPIAS, one folder each named "AAAA-MM-DD HH-MM-SS origen" (origen:
// the document's file name, or what was restored), the last ten kept. A copy is
// restored all at once, as an export puts its tables in place, and what it replaces
// is kept as a copy too.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace varnolo {

inline const QString kCarpetaCopias = QStringLiteral("VARNOLO.COPIAS");
/// How many copies are kept; the oldest go first.
inline constexpr int kCopiasGuardadas = 10;

struct Copia {
    QString nombre;  ///< the copy's folder name
    QString ruta;
    QDateTime momento;
    QString origen;      ///< what the name says after the date and time
    QStringList tablas;  ///< "PROFT", … (the .DBF files it holds)

    /// The moment as the user reads it: "15/03/2026 10:02:00".
    QString fecha() const { return momento.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")); }
};

/// The copies of the work folder, newest first.
QList<Copia> listarCopias(const QString& trabajo);

/// Copies `archivos` (files of the work folder) into a new copy for `momento` and
/// `origen`, then removes the copies beyond kCopiasGuardadas. Nothing is made when
/// `archivos` is empty. Raises ErrorVarnolo when a file cannot be copied (no copy is
/// left then). Returns the copy's folder name.
QString guardarCopia(const QString& trabajo, const QStringList& archivos, const QDateTime& momento,
                     const QString& origen);

/// Drops copies that a cut left half made.
void limpiarCopiasIncompletas(const QString& trabajo);

/// Puts the tables of the copy `nombre` (a folder name as listarCopias gives it) in
/// place of the work folder's, all at once and journalled, keeping what they replace
/// as a copy whose origen names the restored one. The caller holds the folder.
/// Raises ErrorVarnolo when there is no such copy or a file cannot be copied.
void restaurarCopia(const QString& trabajo, const QString& nombre, const QDateTime& momento);

}  // namespace varnolo
