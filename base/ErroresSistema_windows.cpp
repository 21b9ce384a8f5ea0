#include "base/ErroresSistema.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace varnolo {

QString textoErrorWindows(unsigned long error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return QStringLiteral("el archivo o la carpeta no existe");
        case ERROR_ACCESS_DENIED:
            return QStringLiteral("no tiene permiso");
        case ERROR_WRITE_PROTECT:
            return QStringLiteral("el disco o la carpeta es de solo lectura");
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return QStringLiteral("el disco está lleno");
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return QStringLiteral("el archivo está en uso");
        case ERROR_DIRECTORY:
            return QStringLiteral("hay una carpeta con ese nombre");
        default:
            break;
    }
    wchar_t* texto = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&texto), 0, nullptr);
    QString resultado = n ? QString::fromWCharArray(texto, static_cast<int>(n)).trimmed()
                          : QStringLiteral("error %1").arg(error);
    if (texto) LocalFree(texto);
    return resultado;
}

}  // namespace varnolo
