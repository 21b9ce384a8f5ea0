#pragma once
// The text fields of one row an export step writes from a document record: each value
// goes in as Tabla::setString puts it, and one that the field's width cuts is noted in
// the report with the record's place.

#include <QString>

#include "conversion/Informe.h"
#include "dbf/Tabla.h"

namespace varnolo {

/// The report's kind for a value cut to the width of `tabla`.`campo`.
QString tipoValorCortado(const QString& tabla, const QString& campo);

/// True when a text field of `ancho` bytes cannot hold `valor` whole: its Windows-1252
/// form goes on past the width with something other than blanks.
bool seCorta(const QString& valor, int ancho);

class TextosFila {
  public:
    /// `lugar`: the place of the record the row comes from.
    TextosFila(Tabla& fila, Informe& informe, LugarRegistro lugar)
        : fila_(fila), informe_(informe), lugar_(std::move(lugar)) {}

    /// Writes `valor` into the text field `campo`, noting the cut when there is one.
    void operator()(const QString& campo, const QString& valor) const;

  private:
    Tabla& fila_;
    Informe& informe_;
    LugarRegistro lugar_;
};

}  // namespace varnolo
