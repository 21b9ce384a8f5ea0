#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "base/ErroresSistema.h"
#include "base/ReemplazoArchivo.h"

namespace varnolo::plataforma {

namespace {

bool sincronizar(const QString& ruta, int banderas, QString& motivo) {
    const int fd = ::open(QFile::encodeName(ruta).constData(), banderas | O_CLOEXEC);
    if (fd < 0) {
        motivo = textoErrorSistema(errno);
        return false;
    }
    const bool bien = ::fsync(fd) == 0;
    if (!bien) motivo = textoErrorSistema(errno);
    ::close(fd);
    return bien;
}

}  // namespace

bool reemplazarArchivo(const QString& origen, const QString& destino, QString& motivo) {
    if (std::rename(QFile::encodeName(origen).constData(),
                    QFile::encodeName(destino).constData()) != 0) {
        motivo = textoErrorSistema(errno);
        return false;
    }
    // The folder's entry is what moved: it reaches the disk with the folder.
    return sincronizar(QFileInfo(destino).absolutePath(), O_RDONLY | O_DIRECTORY, motivo);
}

bool sincronizarArchivo(const QString& ruta, QString& motivo) {
    return sincronizar(ruta, O_RDONLY, motivo);
}

}  // namespace varnolo::plataforma
