#pragma once
// What a completed conversion wrote, told in a few lines: the lines given as they are
// (rows per table, lessons per teacher), then one line per kind of note with its count
// and the first places it was made at, in the order each kind first appeared.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace varnolo {

/// Where a record stands (its document section or table, its position from 1), spelled
/// out only when a note is made there: most rows never need the text.
struct LugarRegistro {
    QString seccion;
    int registro = 0;
    QString texto() const;
};

class Informe {
  public:
    /// Places shown on a kind's line; the rest are only counted.
    static constexpr int kLugaresMostrados = 3;

    /// A line told as it is, before every note ("ASIGNOMT      12 filas").
    void agregarLinea(const QString& linea);
    /// A note of kind `tipo` ("valor cortado a la anchura del campo PROFT.NOMBRE") made
    /// at `lugar` ("EMPLEADOS registro 4"). The same kind at the same place counts once.
    void anotar(const QString& tipo, const QString& lugar);
    void anotar(const QString& tipo, const LugarRegistro& lugar) { anotar(tipo, lugar.texto()); }

    /// The place of a record: its document section or table, and its position in it
    /// from 1 ("MATERIAS registro 4").
    static QString lugar(const QString& seccion, int registro);

    /// How many places a kind was noted at; 0 for a kind never noted.
    int cuenta(const QString& tipo) const;
    /// The lines, then one line per kind: "<kind>: <count> (<place>, <place>, <place> y
    /// N más)", each line ending in a line break.
    QString texto() const;

  private:
    struct Grupo {
        QString tipo;
        QStringList primeros;
        QSet<QString> lugares;
    };
    QStringList lineas_;
    QList<Grupo> grupos_;
    QHash<QString, qsizetype> posicion_;
};

}  // namespace varnolo
