#pragma once
// The envelope of an exchange document: SERVICIO / BLOQUE_DATOS / grupo_datos
// sections named by seq, holding grupo_datos records whose dato children are the
// items, read by position.

#include <QList>
#include <QString>

#include "DocumentoXml.h"

namespace varnolo {

/// The record path of a section:
/// /SERVICIO/BLOQUE_DATOS/grupo_datos[@seq="NAME"]/grupo_datos
QString rutaRegistros(const QString& seccion);

/// The records of every section of that name, in document order. A missing
/// section, or a document without the envelope, gives none.
QList<Registro> registrosDeSeccion(const DocumentoXml& documento, const QString& seccion);

}  // namespace varnolo
