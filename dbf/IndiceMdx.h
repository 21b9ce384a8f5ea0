#pragma once
// The dBase IV production index file (.MDX) of a table with numeric tags: written
// anew from the keys of the live rows whenever the table changes.

#include <QDate>
#include <QList>
#include <QString>
#include <vector>

namespace varnolo {

/// One tag of a production index over a numeric field.
struct TagMdx {
    QString nombre;     ///< tag name, e.g. "ORDEN"
    QString expresion;  ///< key expression: the field name
    /// Keys of the live rows with their 1-based record numbers, in any order; the
    /// writer orders them by key, equal keys by record number.
    std::vector<std::pair<double, quint32>> claves;
};

/// Writes the production index RUTA (NAME.MDX) for the table NAME with these tags,
/// replacing any file there. `creacion` and `actualizacion` go into its header.
/// Raises ErrorTabla naming the file when it cannot be written.
void escribirIndiceMdx(const QString& ruta, const QString& nombreTabla, const QList<TagMdx>& tags,
                       QDate creacion, QDate actualizacion);

/// The 12-byte packed-decimal key of dBase IV for a numeric value.
QByteArray claveNumericaMdx(double valor);

}  // namespace varnolo
