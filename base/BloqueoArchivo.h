#pragma once
// A table file held open by this process with a lock that other processes see.
// Exclusive: no other process may open, delete or recreate the file while we hold
// it. Shared: others may read it too, but none may hold it exclusively. Each file
// is opened at most once per process (the table engine keeps one holder per file).

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <memory>

namespace varnolo::plataforma {

class ArchivoBloqueado {
  public:
    enum class Acceso { Compartido, Exclusivo };
    enum class Fallo { Ninguno, NoExiste, EnUso, Otro };

    /// Opens RUTA for reading and writing (read-only when writing is not allowed)
    /// and takes the lock. With `crear`, a missing file is created empty. On
    /// failure returns null, with the reason in `fallo` and its text in the user's language in
    /// `detalle`.
    static std::unique_ptr<ArchivoBloqueado> abrir(const QString& ruta, Acceso acceso, bool crear,
                                                   Fallo& fallo, QString& detalle);
    ~ArchivoBloqueado();  ///< Releases the lock and closes the file.
    ArchivoBloqueado(const ArchivoBloqueado&) = delete;
    ArchivoBloqueado& operator=(const ArchivoBloqueado&) = delete;

    bool soloLectura() const { return soloLectura_; }
    Acceso acceso() const { return acceso_; }
    /// Turns a shared hold into an exclusive one; fails with EnUso when another
    /// process has the file open. The hold stays shared on failure.
    Fallo hacerExclusivo(QString& detalle);

    /// Size of the file in bytes, -1 on failure.
    qint64 tamano() const;
    /// Reads exactly `largo` bytes at `posicion`; false on failure or a short read.
    bool leer(qint64 posicion, char* destino, qint64 largo) const;
    /// Writes all bytes at `posicion`; false on failure.
    bool escribir(qint64 posicion, const char* datos, qint64 largo);
    /// Cuts or extends the file to `largo` bytes.
    bool truncar(qint64 largo);
    /// Why the last failed escribir() or truncar() failed, in the user's language
    /// ("el disco está lleno").
    const QString& motivoFallo() const { return motivoFallo_; }

  private:
    ArchivoBloqueado(std::intptr_t manejador, Acceso acceso, bool soloLectura, QString ruta)
        : manejador_(manejador),
          acceso_(acceso),
          soloLectura_(soloLectura),
          ruta_(std::move(ruta)) {}

    std::intptr_t manejador_;  ///< file descriptor or HANDLE
    Acceso acceso_;
    bool soloLectura_;
    QString ruta_;
    QString motivoFallo_;
};

/// Deletes RUTA unless another process holds the file `guardian` (RUTA itself when
/// empty; the table for its index file) under our lock, or, on Windows, holds it
/// without sharing. True when the file is gone afterwards.
bool borrarSiLibre(const QString& ruta, const QString& guardian = {});

}  // namespace varnolo::plataforma
