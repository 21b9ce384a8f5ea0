#pragma once
// The exchange document as it was read: one file parsed safely (no network, no
// entity expansion, size-limited), read-only, queried with XPath 1.0. It also gives
// what stands outside its root, for a result written in its place (EscritorXml).
//
// A NodoXml is a light handle that stays valid as long as its document lives and
// holds the same load. A null handle answers every query with nothing, so chained
// reads cannot crash.

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

#include "xml/ResultadoCarga.h"

namespace varnolo {

class DocumentoXml;

class NodoXml {
  public:
    NodoXml() = default;
    bool isNull() const { return nodo_ == nullptr; }
    /// Element name ("grupo_datos"); empty for a null handle.
    QString nombre() const;
    /// An element of that name in no namespace.
    bool esElemento(const QString& nombre) const;
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

  private:
    friend class DocumentoXml;
    NodoXml(const DocumentoXml* doc, void* nodo) : doc_(doc), nodo_(nodo) {}
    const DocumentoXml* doc_ = nullptr;
    void* nodo_ = nullptr;  // xmlNode*
};

/// What a result written in the place of a loaded document keeps of it.
struct ContornoXml {
    /// The loaded bytes began with an XML declaration; the result has one then only.
    bool declaracion = false;
    /// The declared version ("1.0" when none).
    QByteArray version = "1.0";
    /// The encoding as the declaration names it ("iso-8859-1"); empty when it names
    /// none, and the result is then UTF-8.
    QByteArray codificacion;
    /// The declaration's standalone: 1 "yes", 0 "no", -1 not given.
    int independiente = -1;
    /// The nodes outside the root (document type, comments, processing instructions)
    /// in their order, each as libxml2 writes it followed by a line feed, in UTF-8.
    QByteArray fueraDeRaiz;
};

class DocumentoXml {
  public:
    DocumentoXml();
    ~DocumentoXml();
    DocumentoXml(const DocumentoXml&) = delete;
    DocumentoXml& operator=(const DocumentoXml&) = delete;

    /// Largest file that load() accepts.
    static constexpr qint64 kTamanoMaximo = varnolo::kTamanoMaximo;

    /// Parses the whole file, replacing what the document held. A failure leaves an
    /// empty document and says why; bad content never throws. Nothing is fetched
    /// from the network or from other files. Whitespace-only text between elements
    /// is not kept. `avance` hears of the bytes read and may stop the load
    /// (Motivo::Detenida).
    ResultadoCarga load(const QString& ruta, const AvanceLectura& avance = {});
    /// The same from bytes in memory.
    ResultadoCarga loadXml(const QByteArray& contenido);
    /// True when the last load gave a document with a root element.
    bool cargado() const;
    /// The result of the last load.
    const ResultadoCarga& resultadoCarga() const;
    /// resultadoCarga().texto().
    QString motivoFallo() const;

    std::vector<NodoXml> selectNodes(const QString& xpath) const;
    NodoXml selectSingleNode(const QString& xpath) const;
    NodoXml documentElement() const;

    /// The encoding named by the XML declaration ("ISO-8859-1"); "UTF-8" when none.
    QString encoding() const;
    /// The declaration and what stands outside the root, for a result in its place.
    ContornoXml contorno() const;

  private:
    friend class NodoXml;
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace varnolo
