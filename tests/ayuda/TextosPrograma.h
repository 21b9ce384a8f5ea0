#pragma once
// The texts that the program can show, read from its own sources, and the texts that
// the help pages quote, read from the pages; a quote matches a program text when it is
// that text with its placeholders filled in.

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace varnolo::prueba {

/// A text of the program as written in its sources: a C++ string literal (adjacent
/// literals joined), or a <string> of a form. %1, %2... and a literal that the code
/// completes with "+" stand for text filled in at run time.
struct TextoPrograma {
    QString texto;
    QString origen;           ///< file it comes from
    bool seCompleta = false;  ///< followed by "+" in the code
};

/// Every literal of the C++ sources under `carpetas` of `raiz` (recursively) and every
/// <string> of the forms in raiz/forms.
QList<TextoPrograma> textosDelPrograma(const QString& raiz, const QStringList& carpetas);

/// The string literals of one C++ source text, in order.
QList<TextoPrograma> literalesCpp(const QString& fuente, const QString& origen);

/// A quote of a page, as the reader sees it: tags removed, entities decoded, blanks
/// collapsed; each <var> becomes U+0001.
QString textoDeCita(const QString& html);

/// Matches quotes against the program's texts.
class CatalogoTextos {
  public:
    explicit CatalogoTextos(const QList<TextoPrograma>& textos);
    /// True when `cita` (as textoDeCita gives it) is one of the texts, with every
    /// placeholder filled by some text or a <var>.
    bool contiene(const QString& cita) const;

  private:
    QList<QRegularExpression> patrones_;
};

/// One quote of a page: what kind (samp or rotulo) and its text.
struct Cita {
    QString pagina;
    QString clase;
    QString texto;
};

/// Every <samp> and every <span class="rotulo"> of `html`.
QList<Cita> citasDePagina(const QString& pagina, const QString& html);

}  // namespace varnolo::prueba
