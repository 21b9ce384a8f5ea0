#pragma once
// The envelope of an exchange document: SERVICIO / BLOQUE_DATOS / grupo_datos
// sections named by seq, holding grupo_datos records whose dato children are the
// items, read by position.

#include <QList>
#include <QString>
#include <QStringList>

#include "DocumentoXml.h"

namespace varnolo {

/// One record of a section: the texts of its dato children, in document order.
class Registro {
  public:
    Registro() = default;
    explicit Registro(QStringList datos) : datos_(std::move(datos)) {}
    /// Number of items.
    int count() const { return static_cast<int>(datos_.size()); }
    /// Item i trimmed (recortar); an item the record does not have reads as "".
    QString dato(int i) const;
    /// Item i as it stands, untrimmed; "" when missing.
    QString datoSinRecortar(int i) const;

  private:
    QStringList datos_;
};

/// The record path of a section:
/// /SERVICIO/BLOQUE_DATOS/grupo_datos[@seq="NAME"]/grupo_datos
QString rutaRegistros(const QString& seccion);

/// The records of every section of that name, in document order. A missing
/// section, or a document without the envelope, gives none.
QList<Registro> registrosDeSeccion(const DocumentoXml& documento, const QString& seccion);

}  // namespace varnolo
