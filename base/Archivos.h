#pragma once
// The file operations through which the program changes the disk: writing into a
// table file it holds, writing a file that is saved aside and put in place at the
// end, putting it in place, and removing a file. The program runs on the system's; a
// test installs its own to make the nth write, or the rename, fail as a full disk or
// a file held by another program would.

#include <QSaveFile>
#include <QString>

#include "base/BloqueoArchivo.h"

namespace varnolo {

class Archivos {
  public:
    virtual ~Archivos() = default;

    /// Writes into a table file held by this process; false with the reason in
    /// `motivo` (in the user's language) on failure.
    virtual bool escribir(plataforma::ArchivoBloqueado& archivo, qint64 posicion, const char* datos,
                          qint64 largo, QString& motivo);
    /// Writes into a file being saved; false with the reason in `motivo` (in the
    /// user's language) on failure.
    virtual bool escribir(QSaveFile& archivo, const char* datos, qint64 largo, QString& motivo);
    /// Puts a saved file in place of the old one, in one step; false with the reason
    /// in `motivo` on failure.
    virtual bool confirmar(QSaveFile& archivo, QString& motivo);
    /// Removes RUTA unless another process holds `guardian` (see borrarSiLibre);
    /// true when it is gone.
    virtual bool borrar(const QString& ruta, const QString& guardian);
    /// Moves `origen` in the place of `destino` in one step (plataforma::
    /// reemplazarArchivo); false with the reason in `motivo`.
    virtual bool reemplazar(const QString& origen, const QString& destino, QString& motivo);
    /// Copies `origen` to `destino` (which must not exist) and writes it to the disk;
    /// false with the reason in `motivo`, and no `destino` left.
    virtual bool copiar(const QString& origen, const QString& destino, QString& motivo);

    /// The operations in use: the system's, unless a test has installed others.
    static Archivos& actuales();
};

/// Puts `archivos` in use for as long as this object lives; then the ones before.
class ArchivosInstalados {
  public:
    explicit ArchivosInstalados(Archivos& archivos);
    ~ArchivosInstalados();
    ArchivosInstalados(const ArchivosInstalados&) = delete;
    ArchivosInstalados& operator=(const ArchivosInstalados&) = delete;

  private:
    Archivos* anteriores_;
};

}  // namespace varnolo
