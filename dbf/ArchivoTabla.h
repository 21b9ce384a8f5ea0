#pragma once
// One open .DBF file of this process: its lock, its header and an in-memory copy of
// its records, shared by every table object of the process over that file.
//
// Rows appended while the process holds the file exclusively (no other process can
// read it meanwhile) wait in memory and go to disk together, records first and then
// the header's count and date: when the waiting rows fill the write buffer, before
// another table object of this process reads the file, before any row is rewritten,
// and when any object lets go of the file (closing it, also when an error unwinds
// the step that held it). Under a shared hold every posted row goes to disk at once.
// Either way the header never counts a row that is not on disk. The production
// index is rewritten from the live rows when the last object lets go.
//
// Under an exclusive hold the rows written to disk also leave memory, as long as no
// row before them has been read: a table that a step only fills (ASIGT of a large
// district) costs a write buffer, not its size. Reading such a row brings them all
// back from the file once, and from then on the file keeps its rows in memory.

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <array>
#include <memory>

#include "base/BloqueoArchivo.h"
#include "dbf/EstructuraDbf.h"
#include "dbf/ValorCampo.h"

namespace varnolo::motor {

class ArchivoTabla {
  public:
    /// The open file at RUTA, opened now or shared with the objects that already
    /// hold it; the caller counts as one more holder and must call soltar() once.
    /// `exclusiva` turns the process's hold exclusive (kept until the last holder
    /// lets go). Raises ErrorTabla when the file is missing, damaged or held by
    /// another process.
    static std::shared_ptr<ArchivoTabla> tomar(const QString& ruta, const QString& nombre,
                                               bool exclusiva);
    /// True when some object of this process holds the file at RUTA.
    static bool abiertoEnProceso(const QString& ruta);
    /// The production index file beside a .DBF: an existing NAME.MDX in any letter
    /// case, else NAME.MDX (or .mdx beside a lower-case .dbf).
    static QString rutaIndice(const QString& rutaDbf);

    /// One holder lets go: the rows waiting for the disk are written first; the last
    /// holder also writes the production index when rows changed and closes the file.
    /// A failure to write raises ErrorTabla after the holder has let go (the file is
    /// released all the same when it was the last one).
    void soltar();
    ~ArchivoTabla();  ///< Writes rows still waiting, errors ignored (normally none wait).
    ArchivoTabla(const ArchivoTabla&) = delete;
    ArchivoTabla& operator=(const ArchivoTabla&) = delete;

    const QString& nombre() const { return nombre_; }
    const EstructuraDbf& estructura() const { return estructura_; }
    const FormatoValores& formato() const { return formato_; }
    /// Index of a field, letter case ignored; -1 when missing.
    int indiceCampo(const QString& campo) const;

    int numRegistros() const { return numRegistros_; }
    /// The bytes of record i, valid until the rows change or go to disk. Raises
    /// ErrorTabla when rows that had left memory cannot be read back.
    const char* registro(int i) const {
        if (i < base_) return anteriores(i);
        return datos_.constData() + estructura_.largoCabecera +
               static_cast<qsizetype>(i - base_) * estructura_.largoRegistro;
    }
    /// True for a record marked deleted; never reads rows back from the file.
    bool borrado(int i) const {
        if (i < base_ && !anterioresLeidos_) return false;  // only appended rows leave memory
        return registro(i)[0] == '*';
    }
    /// Raised by every change of the rows.
    quint64 version() const { return version_; }

    /// The bytes of a record that was never written (every field blank).
    const QByteArray& filaEnBlanco() const { return filaEnBlanco_; }

    /// Appends a record of largoRegistro bytes; returns its index. `escritor` is the
    /// table object that posts it: the rows it appends may wait for the disk until
    /// another object reads the file (see leer()).
    int anadir(const char* registro, QDate fecha, const void* escritor);
    /// Replaces record `i` in memory and on disk (rows waiting go first).
    void reescribir(int i, const char* registro, QDate fecha);
    /// Called by table object `lector` before it reads the rows: rows that another
    /// object appended and that still wait are written to disk first.
    void leer(const void* lector) {
        if (enDisco_ != numRegistros_ && lector != escritor_) volcar();
    }
    /// Writes the rows waiting in memory, then the header's count and date.
    void volcar();

    /// The file's bytes as they stand on disk, read through this process's hold of
    /// it (a file held exclusively cannot be opened a second time on every system);
    /// empty when the process does not hold the file at RUTA. For checks of what has
    /// reached the disk.
    static QByteArray bytesEnDisco(const QString& ruta);

  private:
    ArchivoTabla() = default;
    void comprobarEscritura() const;
    int buscarCampo(const QString& campo) const;
    void escribir(qint64 posicion, const char* bytes, qint64 largo);
    void escribirCabecera(QDate fecha);
    void escribirIndice();
    qint64 posicionRegistro(int i) const {
        return estructura_.largoCabecera + static_cast<qint64>(i) * estructura_.largoRegistro;
    }
    /// Where record i (base_ or later) starts in datos_.
    qsizetype enMemoria(int i) const {
        return estructura_.largoCabecera +
               static_cast<qsizetype>(i - base_) * estructura_.largoRegistro;
    }
    /// Record i of those before base_, read back from the file the first time.
    const char* anteriores(int i) const;
    /// After rows reached the disk: under an exclusive hold, and while no row that
    /// left memory has been read back, they leave memory.
    void descartarEscritos();

    QString ruta_, clave_, nombre_;
    std::unique_ptr<plataforma::ArchivoBloqueado> archivo_;
    EstructuraDbf estructura_;
    FormatoValores formato_;
    QHash<QString, int> campos_;
    /// Field positions of names given as literals, by the address of their characters.
    struct CampoRecordado {
        const QChar* nombre = nullptr;
        qsizetype largo = -1;
        int indice = -1;
    };
    static constexpr std::size_t kRecordados = 64;
    mutable std::array<CampoRecordado, kRecordados> recordados_{};
    QByteArray datos_;  ///< header, then the records from base_ on
    /// Records before this one are on disk only, or in anteriores_ once read back.
    int base_ = 0;
    mutable QByteArray anteriores_;
    mutable bool anterioresLeidos_ = false;
    /// A deleted row was among those in memory: from then on no row leaves it.
    bool conservar_ = false;
    QByteArray filaEnBlanco_;
    int numRegistros_ = 0;
    int enDisco_ = 0;                 ///< records on disk and counted by the header there
    QDate fechaPendiente_;            ///< date of the last post not yet in the header on disk
    const void* escritor_ = nullptr;  ///< the object whose appended rows wait
    quint64 version_ = 0;
    int holders_ = 0;
    bool cambiado_ = false;
};

}  // namespace varnolo::motor
