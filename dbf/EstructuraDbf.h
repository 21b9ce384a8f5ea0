#pragma once
// The header of a .DBF file: version, date, record count and lengths, code page and
// field descriptors. Reads the layouts of dBase III/IV/5, level 7 and FoxPro, checks
// that they add up, and writes the dBase IV (or level 7) header of a new table.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include "base/PaginaCodigos.h"
#include "dbf/Campos.h"

namespace varnolo::motor {

/// A field as stored, with where it starts in the record.
struct CampoDbf {
    CampoFisico fisico;
    int desplazamiento = 0;  ///< from the start of the record (the flag byte is 0)
    bool indexado = false;   ///< has a tag in the production index
};

struct EstructuraDbf {
    unsigned char version = 0x03;
    bool nivel7 = false;
    bool foxpro = false;
    QDate fecha;
    quint32 registrosCabecera = 0;  ///< the count the header states
    int largoCabecera = 0;
    int largoRegistro = 0;
    bool indiceProduccion = false;
    PaginaCodigos pagina = PaginaCodigos::Windows1252;
    QList<CampoDbf> campos;
};

/// Reads the header at the start of `archivo` (the whole file, or at least its
/// header). Raises ErrorTabla "La tabla NOMBRE está dañada: ..." when it is not a
/// dBase table or its lengths do not add up.
EstructuraDbf leerEstructura(const QByteArray& archivo, const QString& nombre, const QString& ruta);

/// The structure of a new, empty table from its definitions: C(n), N(11,0),
/// N(20,4), L; level 7 when a field name is longer than 11 characters. Raises
/// ErrorTabla for a layout that cannot be stored (no fields, a bad name or width,
/// a repeated field, an index on a missing field).
EstructuraDbf estructuraNueva(const QList<DefCampo>& campos, const QList<DefIndice>& indices,
                              QDate fecha, const QString& nombre);

/// The header bytes of the structure, terminator included.
QByteArray codificarCabecera(const EstructuraDbf& estructura);

/// Bytes 1 to 7 of the header: date of last update and record count.
QByteArray codificarFechaYCuenta(QDate fecha, quint32 registros);
/// The same seven bytes written at `destino`.
void ponerFechaYCuenta(char* destino, QDate fecha, quint32 registros);

}  // namespace varnolo::motor
