#pragma once
// The XML document service: one exchange document in memory, loaded safely (no
// network, no entity expansion, size-limited), queried with XPath 1.0, built element
// by element and saved in the encoding that its XML declaration names.
//
// A document owns every node of it; a NodoXml is a light handle that stays valid as
// long as its document lives and holds the same load (also after the node was removed
// or never attached). A null handle answers every query with nothing, so chained
// reads cannot crash; building on a null handle, or a change that XML does not allow,
// raises ErrorVarnolo.

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace varnolo {

class DocumentoXml;

class NodoXml {
  public:
    NodoXml() = default;
    bool isNull() const { return nodo_ == nullptr; }
    /// Element name ("grupo_datos"); empty for a null handle.
    QString nombre() const;
    /// The text content of the node and all its descendants, as the document holds it.
    QString text() const;
    /// The value of an attribute, empty when missing.
    QString attribute(const QString& nombre) const;

    /// Matching nodes in document order, the expression evaluated with this node as
    /// context ("dato" selects the dato children). Empty when none match or the
    /// expression is not valid.
    std::vector<NodoXml> selectNodes(const QString& xpath) const;
    NodoXml selectSingleNode(const QString& xpath) const;
    /// The first child node, whitespace-only text between elements not counted.
    NodoXml firstChild() const;
    /// The child elements of that name (no namespace), in document order: the same
    /// nodes as selectNodes(nombre), without evaluating an expression.
    std::vector<NodoXml> hijos(const QString& nombre) const;

    // Building (the node must belong to a document). Texts and values are taken as
    // plain text and escaped when saved; characters that XML cannot carry at all
    // (control characters other than tab, line feed and carriage return) are left out.
    void appendChild(
        const NodoXml& hijo);  ///< the child (moved if attached) becomes the last child
    void removeChild(const NodoXml& hijo);  ///< the child is detached, not destroyed
    void setAttribute(const QString& nombre, const QString& valor);  ///< in order of first setting
    void setText(const QString& texto);  ///< replaces the content with this text
    /// Serialises the element's content now and keeps it only as those bytes: the
    /// document is saved exactly as before, in a fraction of the memory. Meant for a
    /// finished part of a large document being built; the element can still be
    /// moved, removed and given attributes, but its content reads as markup text and
    /// handles to its former descendants must not be used any more.
    void fijarContenido();

  private:
    friend class DocumentoXml;
    NodoXml(DocumentoXml* doc, void* nodo) : doc_(doc), nodo_(nodo) {}
    DocumentoXml* doc_ = nullptr;
    void* nodo_ = nullptr;  // xmlNode*
};

class DocumentoXml {
  public:
    DocumentoXml();
    ~DocumentoXml();
    DocumentoXml(const DocumentoXml&) = delete;
    DocumentoXml& operator=(const DocumentoXml&) = delete;

    /// Largest file that load() accepts.
    static constexpr qint64 kTamanoMaximo = 256 * 1024 * 1024;

    /// Parses the whole file, replacing what the document held. Returns false, leaving
    /// an empty document, when the file is missing, too large or not well-formed XML,
    /// or declares entities; never throws for bad content. Nothing is fetched from the
    /// network or from other files. Whitespace-only text between elements is not kept.
    bool load(const QString& ruta);
    /// The same from bytes in memory.
    bool loadXml(const QByteArray& contenido);
    /// True when the last load gave a document with a root element.
    bool cargado() const;
    /// Why the last load failed, in Spanish, to follow the file's name: "no existe",
    /// "no se puede leer: …", "es demasiado grande: el límite es de … MB", "declara
    /// entidades, …", "no es un documento XML válido: error en la línea L, columna C".
    /// Empty after a load that succeeded.
    QString motivoFallo() const;

    std::vector<NodoXml> selectNodes(const QString& xpath) const;
    NodoXml selectSingleNode(const QString& xpath) const;
    NodoXml documentElement() const;

    NodoXml createElement(const QString& nombre);
    /// Appends a node as the document's last child: an element becomes the root (the
    /// document must have none), after everything that stands outside the old root.
    void appendChild(const NodoXml& raiz);
    /// Detaches the root; what stands outside it (declaration, comments, processing
    /// instructions) stays.
    void removeChild(const NodoXml& raiz);

    /// The encoding named by the XML declaration ("ISO-8859-1"); "UTF-8" when none.
    QString encoding() const;
    /// The document serialised as save() writes it: the declaration as loaded (none if
    /// the loaded file had none), then each node outside the root and the root itself
    /// on a line of its own, lines ended by LF, the root not indented. A character that
    /// the encoding cannot hold becomes a character reference. Raises ErrorVarnolo when
    /// the encoding cannot be written, or would give a file that cannot be read back.
    QByteArray toByteArray() const;
    /// Writes the document to the file in the encoding of its declaration, through a
    /// temporary file in the same folder renamed over the target, so a failure never
    /// leaves a half-written file or destroys the old one. Raises ErrorVarnolo
    /// naming the file on failure.
    void save(const QString& ruta) const;

  private:
    friend class NodoXml;
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace varnolo
