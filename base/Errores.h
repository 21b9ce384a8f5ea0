#pragma once
// Errors that end a conversion. Each carries the text that the user sees, in the
// user's language; the window or the command-line tool shows it as it stands.

#include <QString>
#include <stdexcept>

namespace varnolo {

/// An error whose text is meant for the user. Raised anywhere in the core; caught
/// once, by the button handler or the command-line entry, and shown.
class ErrorVarnolo : public std::runtime_error {
  public:
    explicit ErrorVarnolo(const QString& texto);
    /// The user's text, exactly as raised.
    const QString& texto() const { return texto_; }

  private:
    QString texto_;
};

/// An error of the table engine: names the table and what failed.
class ErrorTabla : public ErrorVarnolo {
  public:
    using ErrorVarnolo::ErrorVarnolo;
};

/// A text that should hold a whole number but does not:
/// "'%s' is not a valid integer value" with the text in place of %s, and, once the
/// caller that knows it has added it, a second line in Spanish that says where the
/// text was read.
class ErrorConversion : public ErrorVarnolo {
  public:
    explicit ErrorConversion(const QString& textoLeido);
    /// The same error with `lugar` as its second line; an error that already says
    /// where it arose is returned unchanged (the innermost place is the exact one).
    ErrorConversion conLugar(const QString& lugar) const;

  private:
    ErrorConversion(const QString& texto, bool conLugar);
    bool conLugar_ = false;
};

/// The person asked to stop. Not an error: whatever raised it has changed nothing
/// that it does not undo on the way out, and the front end says so.
class Cancelacion {};

/// "En el documento: sección NAME, registro N." (N counted from 1 in the section).
QString lugarEnDocumento(const QString& seccion, int registro);
/// "En la tabla NAME: registro N, campo FIELD." (N counted from 1 in the table).
QString lugarEnTabla(const QString& tabla, int registro, const QString& campo);

/// Runs `f` and returns what it returns; a conversion error raised inside it gets
/// the place that `lugar()` gives. `lugar` is called only then.
template <typename L, typename F>
decltype(auto) enLugar(L&& lugar, F&& f) {
    try {
        return f();
    } catch (const ErrorConversion& e) {
        throw e.conLugar(lugar());
    }
}

/// Converts a decimal text to an integer, strictly: an optional sign followed by
/// digits, nothing else, within the range of int. Anything else (the empty text
/// included) raises ErrorConversion with the text.
int aEntero(const QString& texto);

}  // namespace varnolo
