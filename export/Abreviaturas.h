#pragma once
// Unique abbreviations for the teachers, rooms and groups steps: a first choice is
// kept when it is free, otherwise made unique with a decimal suffix on its first
// nine characters, shortened to 10 characters. "Free" means not given before in
// this run with letter case ignored, neither as given nor as the 10-character
// field of the table would store it, so no two stored abbreviations coincide.

#include <QString>

#include "data/Textos.h"

namespace varnolo {

/// A suffixed candidate of at most 10 characters that keeps every digit of n: base
/// followed by n when that fits, otherwise as many leading characters of base as
/// leave room for n. For a base of at most 9 characters and n up to 99 this is
/// acortar(base + n); from n = 100 on, acortar would cut digits of n, repeat earlier
/// candidates and never find a free one once about a hundred are taken.
QString candidatoDiez(const QString& base, int n);

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
