#pragma once
// The envelope of an exchange document: SERVICIO / BLOQUE_DATOS / grupo_datos
// sections named by seq, holding grupo_datos records whose dato children are the
// items, read by position. Its names are spelled in Sobre.cpp and nowhere else: the
// readers and writers of the envelope take them from here.

#include <QList>
#include <QString>

#include "velna/Registros.h"
#include "xml/DocumentoXml.h"
#include "xml/EscritorXml.h"
#include "xml/LecturaXml.h"

namespace varnolo {

namespace sobre {
extern const char* const kServicio;  ///< the root
extern const char* const kBloque;    ///< the block of sections under the root
extern const char* const kGrupo;     ///< a section, and a record inside one
extern const char* const kSeq;       ///< the attribute that names a section
extern const char* const kDato;      ///< an item of a record
}  // namespace sobre

/// The sections of a document read as a stream (the export's reading): the records
/// of every section, and what the envelope check needs.
class SeccionesDocumento {
  public:
    SeccionesDocumento() = default;
    SeccionesDocumento(const SeccionesDocumento&) = delete;
    SeccionesDocumento& operator=(const SeccionesDocumento&) = delete;

    /// Reads the file, telling `avance` the bytes read; a failure says why and leaves
    /// no records.
    ResultadoCarga leer(const QString& ruta, const AvanceLectura& avance = {});
    /// The same from bytes in memory.
    ResultadoCarga leerXml(const QByteArray& contenido);

    /// The records of every section of that name, in document order; none when the
    /// document has no such section or not the envelope.
    QList<Registro> registros(const QString& seccion) const;

    /// The root's name as written ("SERVICIO"; "p:SERVICIO" with a prefix).
    const QString& raiz() const { return raiz_; }
    /// The root has a BLOQUE_DATOS child (no namespace).
    bool tieneBloque() const { return tieneBloque_; }

  private:
    class Lector;
    ResultadoCarga tomar(ResultadoCarga r);

    AlmacenRegistros almacen_;
    QString raiz_;
    bool tieneBloque_ = false;
};

/// The records of every section of that name in a loaded tree, in document order,
/// kept in `almacen` (a second call for the same section replaces the first's list).
/// SeccionesDocumento reads the same records from the same bytes.
QList<Registro> registrosDeSeccion(const DocumentoXml& documento, const QString& seccion,
                                   AlmacenRegistros& almacen);

/// What the envelope lacks for an exchange document ("falta el elemento raíz
/// SERVICIO (la raíz es X)", "falta BLOQUE_DATOS dentro de SERVICIO"); empty when
/// it lacks nothing.
QString faltaEnSobre(const QString& raiz, bool tieneBloque);
QString faltaEnSobre(const DocumentoXml& documento);

/// Where a result's timetable section goes: the first child of BLOQUE_DATOS.
NodoXml primeraSeccion(const DocumentoXml& documento);

/// The envelope as a result writes it. Each start is closed with cerrar().
void abrirServicio(EscritorXml& w);  ///< <SERVICIO>; its attributes follow
void abrirBloque(EscritorXml& w);    ///< <BLOQUE_DATOS>
/// <grupo_datos seq="…">: a section, or a record inside one.
void abrirGrupo(EscritorXml& w, const QString& seq);
/// <dato nombre_dato="NOMBRE">valor</dato>, closed.
void escribirDato(EscritorXml& w, const QString& nombre, const QString& valor);

}  // namespace varnolo
