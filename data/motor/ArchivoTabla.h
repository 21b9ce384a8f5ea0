#pragma once
// One open .DBF file of this process: its lock, its header and an in-memory copy of
// its records, shared by every table object of the process over that file. Posted
// rows go to disk at once (record, header count and date, end marker); the
// production index is rewritten from the live rows when the last object lets go.

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <memory>

#include "data/motor/EstructuraDbf.h"
#include "data/motor/ValorCampo.h"
#include "data/plataforma/BloqueoArchivo.h"

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

    /// One holder lets go; the last one writes the production index when rows
    /// changed (its failure raises ErrorTabla after the file is released) and closes
    /// the file.
    void soltar();

    const QString& nombre() const { return nombre_; }
    const EstructuraDbf& estructura() const { return estructura_; }
    const FormatoValores& formato() const { return formato_; }
    /// Index of a field, letter case ignored; -1 when missing.
    int indiceCampo(const QString& campo) const;

    int numRegistros() const { return numRegistros_; }
    const char* registro(int i) const {
        return datos_.constData() + estructura_.largoCabecera +
               static_cast<qsizetype>(i) * estructura_.largoRegistro;
    }
    bool borrado(int i) const { return registro(i)[0] == '*'; }
    /// Raised by every change of the rows.
    quint64 version() const { return version_; }

    /// Appends a record and writes it to disk; returns its index.
    int anadir(const QByteArray& registro, QDate fecha);
    /// Replaces record `i` in memory and on disk.
    void reescribir(int i, const QByteArray& registro, QDate fecha);

  private:
    ArchivoTabla() = default;
    void comprobarEscritura() const;
    void escribir(qint64 posicion, const QByteArray& bytes);
    void escribirCabecera(QDate fecha);
    void escribirIndice();

    QString ruta_, clave_, nombre_;
    std::unique_ptr<plataforma::ArchivoBloqueado> archivo_;
    EstructuraDbf estructura_;
    FormatoValores formato_;
    QHash<QString, int> campos_;
    QByteArray datos_;  ///< header, then numRegistros_ records
    int numRegistros_ = 0;
    quint64 version_ = 0;
    int holders_ = 0;
    bool cambiado_ = false;
};

}  // namespace varnolo::motor
