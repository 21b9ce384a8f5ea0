#pragma once
// Unique abbreviations for the teachers, rooms and groups steps: a first choice is
// kept when it is free, otherwise made unique with a decimal suffix on its first
// nine characters, shortened to 10 characters. "Free" means not given before in
// this run with letter case ignored, neither as given nor as the 10-character
// field of the table would store it, so no two stored abbreviations coincide.

#include <QString>

#include "base/Textos.h"
#include "export/ReglasTexto.h"

namespace varnolo {

class AbreviaturasUnicas {
  public:
    /// `ancho`: the width in bytes of the table field that stores the abbreviation.
    explicit AbreviaturasUnicas(int ancho = 10) : ancho_(ancho) {}

    /// The abbreviation for `primera`, remembered as given from now on: `primera`
    /// itself when free, otherwise the first free candidatoDiez(base, n), n = 1, 2, ...,
    /// where base is the first 9 characters of `primera`.
    QString dar(const QString& primera);
    /// The same, but the first choice is tried and given in its shortened form
    /// (acortar); the suffixed candidates still start from the first 9 characters
    /// of `primera` as it came.
    QString darAcortada(const QString& primera);

  private:
    bool ocupada(const QString& valor) const;
    void recordar(const QString& abreviatura);

    int ancho_;
    ListaAbreviaturas dadas_;
    ListaAbreviaturas almacenadas_;
    Sufijador sufijador_;
};

}  // namespace varnolo
