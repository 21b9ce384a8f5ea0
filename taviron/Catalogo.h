#pragma once
// Every table that the program touches, in one place: its name, its fields in order
// with type and width, its index, and where it lives. Table and field names are
// spelled here only; the export steps, the import and the teacher dialog use these
// definitions and constants.

#include <QList>
#include <QString>

#include "dbf/Tabla.h"

namespace varnolo {

/// Where a table's file is.
enum class Ubicacion {
    Trabajo,  ///< NAME.DBF in the work folder
    Niveles,  ///< the level table: beside the program, or where the user points it
};

struct DefTabla {
    QString nombre;  ///< "ASIGNOMT": the file is NAME.DBF
    /// The layout of the tables that the export creates. For the tables written by
    /// others (SOLUC, NIVELCAN) the fields that this program reads, with the types it
    /// assumes when it writes one itself (tests, the build's level table).
    QList<DefCampo> campos;
    QList<DefIndice> indices;
    Ubicacion ubicacion = Ubicacion::Trabajo;
    /// Whether replacing the table deletes NAME.MDX along with NAME.DBF.
    bool borraMdx = true;
};

/// The field names of the tables, each once. A name that several tables share
/// (ABREV, NOMBRE, ...) is one constant.
namespace campo {
inline const QString ABREV = QStringLiteral("ABREV");
inline const QString ASIG = QStringLiteral("ASIG");
inline const QString AULA = QStringLiteral("AULA");
inline const QString CASIG = QStringLiteral("CASIG");
inline const QString CAULA = QStringLiteral("CAULA");
inline const QString CGRUP = QStringLiteral("CGRUP");
inline const QString CJORNADA = QStringLiteral("CJORNADA");
inline const QString CLAVE = QStringLiteral("CLAVE");
inline const QString CLAVECURSO = QStringLiteral("CLAVECURSO");
inline const QString COD = QStringLiteral("COD");
inline const QString CODDIHO = QStringLiteral("CODDIHO");
inline const QString CODGRUPO = QStringLiteral("CODGRUPO");
inline const QString CODLARGO = QStringLiteral("CODLARGO");
inline const QString CODTAREA = QStringLiteral("CODTAREA");
inline const QString CPROF = QStringLiteral("CPROF");
inline const QString CTAREA = QStringLiteral("CTAREA");
inline const QString CURSO = QStringLiteral("CURSO");
inline const QString DEPART = QStringLiteral("DEPART");
inline const QString DEPCENTRO = QStringLiteral("DEPCENTRO");
inline const QString DESCRIP = QStringLiteral("DESCRIP");
inline const QString DIA = QStringLiteral("DIA");
inline const QString DIHO = QStringLiteral("DIHO");
inline const QString DNI = QStringLiteral("DNI");
inline const QString EDIFICIO = QStringLiteral("EDIFICIO");
inline const QString EMAIL = QStringLiteral("EMAIL");
inline const QString ESTAREA = QStringLiteral("ESTAREA");
inline const QString ESTUD = QStringLiteral("ESTUD");
inline const QString F_TOMAPOS = QStringLiteral("F_TOMAPOS");
inline const QString FECFIN = QStringLiteral("FECFIN");
inline const QString FECINI = QStringLiteral("FECINI");
inline const QString GRUPO = QStringLiteral("GRUPO");
inline const QString HORA = QStringLiteral("HORA");
inline const QString HORADESDE = QStringLiteral("HORADESDE");
inline const QString HORAHASTA = QStringLiteral("HORAHASTA");
inline const QString HORAS = QStringLiteral("HORAS");
inline const QString JORNADA = QStringLiteral("JORNADA");
inline const QString MARCO = QStringLiteral("MARCO");
inline const QString MARCOXML = QStringLiteral("MARCOXML");
inline const QString MATERIA = QStringLiteral("MATERIA");
inline const QString MAXALUM = QStringLiteral("MAXALUM");
inline const QString MINUTOS = QStringLiteral("MINUTOS");
inline const QString NCONEX = QStringLiteral("NCONEX");
inline const QString NIVEL = QStringLiteral("NIVEL");
inline const QString NIVEL_ABREV = QStringLiteral("NIVEL_ABREV");
inline const QString NOMBRE = QStringLiteral("NOMBRE");
inline const QString OFERTAMATRI = QStringLiteral("OFERTAMATRI");
inline const QString ORDEN = QStringLiteral("ORDEN");
inline const QString PROF = QStringLiteral("PROF");
inline const QString SESIONES = QStringLiteral("SESIONES");
inline const QString TAREA = QStringLiteral("TAREA");
inline const QString TEXTODIA = QStringLiteral("TEXTODIA");
inline const QString TEXTOHOR = QStringLiteral("TEXTOHOR");
inline const QString TURNO = QStringLiteral("TURNO");
inline const QString X_EMPLEADO = QStringLiteral("X_EMPLEADO");
inline const QString X_OFERTAMATRIG = QStringLiteral("X_OFERTAMATRIG");
}  // namespace campo

namespace catalogo {
/// Widths of the level table's text fields.
inline constexpr int kAnchoNivelAbrev = 5;  // as CURSOST keeps it
inline constexpr int kAnchoNivel = 60;

const DefTabla& ASIGNOMT();
const DefTabla& ASIGNOMT2();
const DefTabla& PROFT();
const DefTabla& AULAT();
const DefTabla& CURSOST();
const DefTabla& GRUPOST();
const DefTabla& ASIGT();
const DefTabla& DIASHORAST();
const DefTabla& DIASHORAST2();  ///< the eleven fields of DIASHORAST, then ORDEN; index "ORDEN"
const DefTabla& PERIODOS();     ///< replaced without deleting an .MDX
/// Taviron's timetable solution: never created by the program, only read.
const DefTabla& SOLUC();
/// The level table shipped with the program: only read. X_OFERTAMATRIG is longer
/// than a dBase IV name, so a table written from this layout is of level 7.
const DefTabla& NIVELCAN();
/// Every table that an export writes, in the order in which it creates them.
QList<const DefTabla*> tablasDeExportacion();
}  // namespace catalogo

}  // namespace varnolo
