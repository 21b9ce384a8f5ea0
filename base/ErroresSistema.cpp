#include "base/ErroresSistema.h"

#include <cerrno>
#include <cstring>

namespace varnolo {

namespace {

struct Causa {
    int codigo;
    const char* texto;
};

// The causes that a user can act on; the order decides between texts that a system
// gives to more than one number.
const Causa kCausas[] = {
    {ENOENT, "el archivo o la carpeta no existe"},
    {EACCES, "no tiene permiso"},
    {EPERM, "no tiene permiso"},
    {EROFS, "el disco o la carpeta es de solo lectura"},
    {ENOSPC, "el disco está lleno"},
#ifdef EDQUOT
    {EDQUOT, "el disco está lleno (cuota agotada)"},
#endif
    {EFBIG, "el archivo supera el tamaño que el sistema permite"},
    {EISDIR, "hay una carpeta con ese nombre"},
    {ENOTDIR, "una parte de la ruta no es una carpeta"},
    {EBUSY, "el archivo está en uso"},
#ifdef ETXTBSY
    {ETXTBSY, "el archivo está en uso"},
#endif
    {EEXIST, "el archivo ya existe"},
};

QString textoDelSistema(int codigo) { return QString::fromLocal8Bit(std::strerror(codigo)); }

}  // namespace

QString textoErrorSistema(int codigo) {
    for (const Causa& c : kCausas) {
        if (c.codigo == codigo) return QString::fromUtf8(c.texto);
    }
    return textoDelSistema(codigo);
}

QString textoFalloArchivo(const QFileDevice& archivo) {
    // Qt gives the system's text only; it is the C runtime's text of the error number,
    // so the number is found again by comparing texts.
    const QString sistema = archivo.errorString();
    for (const Causa& c : kCausas) {
        if (sistema.compare(textoDelSistema(c.codigo), Qt::CaseInsensitive) == 0) {
            return QString::fromUtf8(c.texto);
        }
    }
    switch (archivo.error()) {
        case QFileDevice::PermissionsError:
            return QString::fromUtf8(kCausas[1].texto);
        case QFileDevice::ResourceError:
            return QStringLiteral("el disco está lleno o no quedan recursos (%1)").arg(sistema);
        default:
            return sistema;
    }
}

}  // namespace varnolo
