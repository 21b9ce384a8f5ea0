#pragma once
// A reader of dBase IV production index files, written for the tests apart from
// the program's writer: it decodes the file header, the tag table, each tag header
// and walks each tag's tree from its root, so that what the writer produced can be
// checked against the table's rows.

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace varnolo::prueba {

struct EntradaMdx {
    double clave = 0;
    quint32 registro = 0;  ///< 1-based record number of the table
};

struct TagLeido {
    QString nombre;
    QString expresion;
    quint32 paginaCabecera = 0;
    quint32 raiz = 0;
    int largoClave = 0;
    int maxClaves = 0;
    int largoElemento = 0;
    int banderas = 0;
    char tipoClave = 0;
    bool tieneClaves = false;
    quint32 primeraHoja = 0;
    quint32 ultimaHoja = 0;
    int profundidad = 0;             ///< levels of the tree: 1 when the root is a leaf
    std::vector<quint32> hojas;      ///< pages of the leaves, left to right
    std::vector<EntradaMdx> claves;  ///< every leaf item, left to right
};

struct MdxLeido {
    int version = 0;
    QString tabla;
    int paginasPorBloque = 0;
    int tamanoBloque = 0;
    int produccion = 0;
    int entradasTags = 0;
    int largoEntradaTag = 0;
    int tagsEnUso = 0;
    quint32 paginas = 0;
    int anioCreacion = 0, mesCreacion = 0, diaCreacion = 0;
    QList<TagLeido> tags;
};

/// Decodes a 12-byte packed-decimal numeric key.
double decodificarClave(const QByteArray& clave);

/// Reads the index from its bytes. Any inconsistency (a page past the end, a node
/// count that does not fit, an interior key that is not the highest key of its
/// child) is reported through `errores`, one line each.
MdxLeido leerMdx(const QByteArray& archivo, QStringList& errores);

}  // namespace varnolo::prueba
