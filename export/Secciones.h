#pragma once
// The sections of the exchange document that the export reads, named once: the steps
// read their records, and the report names them as places.

#include <QString>

namespace varnolo::seccion {

inline const QString MATERIAS = QStringLiteral("MATERIAS");
inline const QString ACTIVIDADES = QStringLiteral("ACTIVIDADES");
inline const QString EMPLEADOS = QStringLiteral("EMPLEADOS");
inline const QString DEPENDENCIAS = QStringLiteral("DEPENDENCIAS");
inline const QString CURSOS_DEL_CENTRO = QStringLiteral("CURSOS_DEL_CENTRO");
inline const QString UNIDADES = QStringLiteral("UNIDADES");
inline const QString JORNADAS_ESCOLARES = QStringLiteral("JORNADAS_ESCOLARES");
inline const QString TRAMOS_HORARIOS = QStringLiteral("TRAMOS_HORARIOS");

}  // namespace varnolo::seccion
