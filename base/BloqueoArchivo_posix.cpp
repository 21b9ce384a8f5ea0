#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "base/BloqueoArchivo.h"
#include "base/ErroresSistema.h"

namespace varnolo::plataforma {

namespace {

// Whole-file lock on the open file description, so that it belongs to this open of
// the file and not to the process: two opens in one process would conflict too,
// which the table engine avoids by opening each file once.
bool bloquear(int fd, short tipo) {
    struct flock f;
    std::memset(&f, 0, sizeof f);
    f.l_type = tipo;
    f.l_whence = SEEK_SET;
    f.l_start = 0;
    f.l_len = 0;
    return fcntl(fd, F_OFD_SETLK, &f) == 0;
}

bool esConflicto(int error) { return error == EAGAIN || error == EACCES; }

QString textoError(int error) { return textoErrorSistema(error); }

}  // namespace

std::unique_ptr<ArchivoBloqueado> ArchivoBloqueado::abrir(const QString& ruta, Acceso acceso,
                                                          bool crear, Fallo& fallo,
                                                          QString& detalle) {
    const QByteArray nombre = QFile::encodeName(ruta);
    const int banderas = O_RDWR | O_CLOEXEC | (crear ? O_CREAT : 0);
    bool soloLectura = false;
    int fd = ::open(nombre.constData(), banderas, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        const int errorEscritura = errno;
        fd = ::open(nombre.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) errno = errorEscritura;
        soloLectura = true;
    }
    if (fd < 0) {
        fallo = errno == ENOENT ? Fallo::NoExiste : Fallo::Otro;
        detalle = textoError(errno);
        return nullptr;
    }
    // A file opened only for reading can carry only a read lock.
    const short tipo = (acceso == Acceso::Exclusivo && !soloLectura) ? F_WRLCK : F_RDLCK;
    if (!bloquear(fd, tipo)) {
        const int error = errno;
        ::close(fd);
        fallo = esConflicto(error) ? Fallo::EnUso : Fallo::Otro;
        detalle = textoError(error);
        return nullptr;
    }
    fallo = Fallo::Ninguno;
    return std::unique_ptr<ArchivoBloqueado>(new ArchivoBloqueado(fd, acceso, soloLectura, ruta));
}

ArchivoBloqueado::~ArchivoBloqueado() { ::close(static_cast<int>(manejador_)); }

ArchivoBloqueado::Fallo ArchivoBloqueado::hacerExclusivo(QString& detalle) {
    if (acceso_ == Acceso::Exclusivo) return Fallo::Ninguno;
    if (!soloLectura_ && !bloquear(static_cast<int>(manejador_), F_WRLCK)) {
        const int error = errno;
        detalle = textoError(error);
        return esConflicto(error) ? Fallo::EnUso : Fallo::Otro;
    }
    acceso_ = Acceso::Exclusivo;
    return Fallo::Ninguno;
}

qint64 ArchivoBloqueado::tamano() const {
    struct stat s;
    if (fstat(static_cast<int>(manejador_), &s) != 0) return -1;
    return s.st_size;
}

bool ArchivoBloqueado::leer(qint64 posicion, char* destino, qint64 largo) const {
    while (largo > 0) {
        const ssize_t n = ::pread(static_cast<int>(manejador_), destino, largo, posicion);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        destino += n;
        posicion += n;
        largo -= n;
    }
    return true;
}

bool ArchivoBloqueado::escribir(qint64 posicion, const char* datos, qint64 largo) {
    if (soloLectura_) {
        motivoFallo_ = textoError(EROFS);
        return false;
    }
    while (largo > 0) {
        const ssize_t n = ::pwrite(static_cast<int>(manejador_), datos, largo, posicion);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            motivoFallo_ = textoError(n < 0 ? errno : ENOSPC);
            return false;
        }
        datos += n;
        posicion += n;
        largo -= n;
    }
    return true;
}

bool ArchivoBloqueado::truncar(qint64 largo) {
    if (soloLectura_) {
        motivoFallo_ = textoError(EROFS);
        return false;
    }
    if (::ftruncate(static_cast<int>(manejador_), largo) == 0) return true;
    motivoFallo_ = textoError(errno);
    return false;
}

bool borrarSiLibre(const QString& ruta, const QString& guardian) {
    const QByteArray nombre = QFile::encodeName(ruta);
    const QByteArray vigilado = QFile::encodeName(guardian.isEmpty() ? ruta : guardian);
    int fd = ::open(vigilado.constData(), O_RDWR | O_CLOEXEC);
    short tipo = F_WRLCK;
    if (fd < 0 && errno != ENOENT) {
        fd = ::open(vigilado.constData(), O_RDONLY | O_CLOEXEC);
        tipo = F_RDLCK;
    }
    bool libre = true;
    if (fd >= 0) libre = bloquear(fd, tipo);  // held while deleting
    const bool borrado = libre && (::unlink(nombre.constData()) == 0 || errno == ENOENT);
    if (fd >= 0) ::close(fd);
    return borrado;
}

}  // namespace varnolo::plataforma
