#pragma once
// Every table of the work folder in one place: its name, its fields in order with
// type and width, and its index. The export steps create their tables from these
// layouts; the import and the tests read them by the same names.

#include <QList>
#include <QString>

#include "Entorno.h"
#include "Tabla.h"

namespace varnolo {

struct DefTabla {
    QString nombre;  ///< "ASIGNOMT": the file is NOMBRE.DBF in the work folder
    QList<DefCampo> campos;
    QList<DefIndice> indices;
};

namespace catalogo {
const DefTabla& ASIGNOMT();
const DefTabla& ASIGNOMT2();
const DefTabla& PROFT();
const DefTabla& AULAT();
const DefTabla& CURSOST();
const DefTabla& GRUPOST();
const DefTabla& ASIGT();
const DefTabla& DIASHORAST();
const DefTabla& DIASHORAST2();  ///< the eleven fields of DIASHORAST, then ORDEN; index "ORDEN"
const DefTabla& PERIODOS();
/// Every table that an export writes, in the order in which it creates them.
QList<const DefTabla*> tablasDeExportacion();
}  // namespace catalogo

/// Deletes NAME.DBF from the work folder if it exists and then, when `conMdx`,
/// NAME.MDX. The result is not examined.
void borrarTabla(const Entorno& entorno, const QString& nombre, bool conMdx = true);

/// Creates the table empty in the work folder from its layout, replacing any file
/// of that name. The engine's error ends the conversion when that fails.
void crearTabla(const Entorno& entorno, const DefTabla& def);

/// The name of the level table beside the program.
inline const QString kNivelcan = QStringLiteral("NIVELCAN.DBF");

/// The main window's ten table components, closed until a step opens them. Folders
/// are the work folder, except wwTableNIVELEX, whose folder the courses step sets to
/// the program folder.
struct ComponentesTablas {
    explicit ComponentesTablas(const Entorno& entorno);
    Tabla wwTableNomAsg;    ///< ASIGNOMT, exclusive
    Tabla wwTableProfesor;  ///< PROFT, shared
    Tabla wwTableTramos;    ///< DIASHORAST, exclusive
    Tabla wwTableAulas;     ///< AULAT, exclusive
    Tabla wwTableGrupos;    ///< GRUPOST, exclusive
    Tabla wwTableAsig;      ///< ASIGT, exclusive
    Tabla wwTableSoluc;     ///< SOLUC, exclusive
    Tabla wwTableCursos;    ///< CURSOST, exclusive
    Tabla wwTableNIVELEX;   ///< NIVELCAN.dbf, shared
    Tabla wwTableNomAsg_2;  ///< ASIGNOMT2, exclusive
    /// Closes every component.
    void cerrarTodas();
};

}  // namespace varnolo
