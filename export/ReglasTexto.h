#pragma once
// Text rules shared by the export steps: the shortened form of a code, upper-casing
// for the subject lists, and making a first choice unique.

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

namespace varnolo {

/// A text longer than 10 characters becomes its first 8 characters followed by its
/// last 2; a shorter text is returned unchanged.
QString acortar(const QString& texto);

/// Upper-cases the letters a to z only; every other character is left as it is.
QString mayusculasAscii(const QString& texto);

/// The list of abbreviations given so far in one run of a step. A value counts as
/// present when the list holds one equal to it with letter case ignored (Unicode
/// case folding, so "ñ" equals "Ñ"). Lookups are constant time.
class ListaAbreviaturas {
  public:
    bool contiene(const QString& valor) const;
    void agregar(const QString& valor);
    int size() const { return static_cast<int>(plegadas_.size()); }

  private:
    QSet<QString> plegadas_;
};

/// Makes a first choice unique: returns `primera` when `ocupado(primera)` is false;
/// otherwise the first of candidato(base, 1), candidato(base, 2), ... for which
/// `ocupado` is false, where base is the first 9 characters of `primera`.
/// `candidato` builds a candidate from the base and the decimal suffix (the steps use
/// candidatoDiez, always the same one for one Sufijador). The set behind `ocupado` may
/// only grow between calls, and every value returned is given out: the Sufijador
/// remembers, per base, the last suffix handed out, so that a long run of equal first
/// choices stays linear.
class Sufijador {
  public:
    using Ocupado = std::function<bool(const QString&)>;
    using Candidato = std::function<QString(const QString& base, int n)>;

    QString hacerUnica(const QString& primera, const Ocupado& ocupado, const Candidato& candidato);

  private:
    QHash<QString, int> ultimoSufijo_;
};

/// The suffixed candidate of the steps: at most 10 characters and keeping every
/// digit of n. Base followed by n when that fits, otherwise as many leading characters
/// of base as leave room for n. For a base of at most 9 characters and n up to 99 this
/// is acortar(base + n); from n = 100 on, acortar would cut digits of n, repeat
/// earlier candidates and never find a free one once about a hundred are taken.
QString candidatoDiez(const QString& base, int n);

}  // namespace varnolo
