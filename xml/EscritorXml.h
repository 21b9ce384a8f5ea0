#pragma once
// The result writer: a new document written element by element straight to its
// destination, in the place of a loaded one. It keeps that document's declaration
// and encoding and what stood outside its root, in their order, and writes the new
// root after them; elements and attributes come out in the order they are given.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <memory>

namespace varnolo {

struct ContornoXml;

class EscritorXml {
  public:
    /// Writes into memory; bytes() gives the document after terminar().
    explicit EscritorXml(const ContornoXml& contorno);
    /// Writes to the file `ruta` through a temporary file in its folder, which
    /// terminar() renames over the target; destroyed before that, the target stays as
    /// it was and the temporary file is gone. Errors name the target.
    EscritorXml(const ContornoXml& contorno, const QString& ruta);
    ~EscritorXml();
    EscritorXml(const EscritorXml&) = delete;
    EscritorXml& operator=(const EscritorXml&) = delete;

    /// Opens an element as the last child of the open one (the root when none is
    /// open; there is only one root).
    void abrir(QStringView nombre);
    /// An attribute of the element just opened, before anything goes into it. Setting
    /// a name again replaces its value in its place.
    void atributo(QStringView nombre, QStringView valor);
    /// Text as the next content of the open element, escaped as it is written.
    void texto(QStringView texto);
    /// Ends the open element: "<nombre …/>" when nothing went into it.
    void cerrar();
    /// Closes what is still open and ends the document: the file is in place.
    void terminar();

    /// The document written in memory.
    const QByteArray& bytes() const;

    // Texts and values are plain text; characters that XML cannot carry at all
    // (control characters other than tab, line feed and carriage return, lone
    // surrogates, U+FFFE, U+FFFF) are left out, and a character that the encoding
    // lacks becomes a character reference. A name that is not an XML name, an
    // attribute after content, a second root or a call out of order raises
    // ErrorVarnolo; so does an encoding that cannot be written.

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace varnolo
