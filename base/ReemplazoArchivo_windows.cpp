#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include <QDir>

#include "base/ErroresSistema.h"
#include "base/ReemplazoArchivo.h"

namespace varnolo::plataforma {

namespace {

std::wstring nativa(const QString& ruta) { return QDir::toNativeSeparators(ruta).toStdWString(); }

}  // namespace

bool reemplazarArchivo(const QString& origen, const QString& destino, QString& motivo) {
    if (MoveFileExW(nativa(origen).c_str(), nativa(destino).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    motivo = textoErrorWindows(GetLastError());
    return false;
}

bool sincronizarArchivo(const QString& ruta, QString& motivo) {
    const HANDLE h = CreateFileW(nativa(ruta).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        motivo = textoErrorWindows(GetLastError());
        return false;
    }
    const bool bien = FlushFileBuffers(h) != 0;
    if (!bien) motivo = textoErrorWindows(GetLastError());
    CloseHandle(h);
    return bien;
}

}  // namespace varnolo::plataforma
