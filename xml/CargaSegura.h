#pragma once
// What every load of a document shares, whether it becomes a tree (DocumentoXml) or
// a stream of events (LecturaXml): the checks of the first bytes, the reads counted
// and watched, the parser callbacks that refuse entities and note the first error,
// and the reasons a user reads. Used inside this folder only.

#include <libxml/parser.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

#include "xml/ResultadoCarga.h"
#include "xml/VigiaMarcado.h"

namespace varnolo::carga {

/// Enough first bytes for the checks of the declaration (codificacionContradictoria
/// reads at most 200 characters of four bytes).
constexpr qsizetype kCabeza = 4096;

/// The parser options of every load: nothing from the network, whitespace-only text
/// between elements dropped, nothing printed.
constexpr int kOpciones =
    XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

ResultadoCarga fallida(ResultadoCarga::Motivo motivo, QString detalle = {});

/// What a parse tells besides its result: a refused entity, and where the first
/// error stood (later ones follow from it).
struct Diagnostico {
    bool entidad = false;
    int linea = 0;
    int columna = 0;
    /// The first error's reason in Spanish.
    QString razon;
    /// The parse to stop when an entity is declared.
    xmlParserCtxtPtr contexto = nullptr;

    /// The refusal this diagnosis gives: entities declared, or not well-formed.
    ResultadoCarga resultado() const;
};

/// Makes `d` the diagnosis that the callbacks of this thread's parse fill, for as
/// long as it lives.
class DiagnosticoEnCurso {
  public:
    explicit DiagnosticoEnCurso(Diagnostico& d);
    ~DiagnosticoEnCurso();
    DiagnosticoEnCurso(const DiagnosticoEnCurso&) = delete;
    DiagnosticoEnCurso& operator=(const DiagnosticoEnCurso&) = delete;

  private:
    Diagnostico* anterior_;
};

/// Sets on `h` the callbacks every load has: a declared entity stops the parse (the
/// document is refused before any entity could be expanded), the first error is
/// noted, the external subset is never read.
void vigilar(xmlSAXHandler& h);

/// Silences libxml2's own printing of errors on this thread.
void callarLibxml2();

/// The parser's reads from an open file, counted and watched: beyond kTamanoMaximo (a
/// file that grew after its size was checked), on a read error and on an element
/// the watch refuses the parse stops.
struct LectorArchivo {
    QFile* archivo;
    qint64 leidos = 0;
    bool fallo = false;
    VigiaMarcado vigia;
    /// Told after every read; none: nobody watches.
    const AvanceLectura* avance = nullptr;
    qint64 total = 0;
    bool detenido = false;

    static int leer(void* contexto, char* destino, int longitud);
};

/// Loads the file at `ruta`: refuses what is missing, a folder, too large or
/// unreadable, and what its first bytes show; otherwise runs `analizar` over the
/// opened file and turns a failed read or a refusal of the watch into their results.
/// `avance` hears of every read and may stop it.
ResultadoCarga cargarArchivo(
    const QString& ruta,
    const std::function<ResultadoCarga(LectorArchivo& lector, const QByteArray& cabeza)>& analizar,
    const AvanceLectura& avance = {});

/// The same for bytes in memory.
ResultadoCarga cargarMemoria(
    const QByteArray& contenido,
    const std::function<ResultadoCarga(const QByteArray& cabeza)>& analizar);

}  // namespace varnolo::carga
