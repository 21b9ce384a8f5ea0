#include <io.h>
#include <windows.h>

#include "cli/Consola.h"

namespace varnolo::cli::plataforma {

std::function<bool(const QString&)> consolaDe(FILE* flujo) {
    const auto manejador = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(flujo)));
    DWORD modo = 0;
    if (manejador == INVALID_HANDLE_VALUE || !GetConsoleMode(manejador, &modo)) return {};
    return [manejador](const QString& texto) {
        const auto* p = reinterpret_cast<const wchar_t*>(texto.utf16());
        DWORD quedan = static_cast<DWORD>(texto.size());
        while (quedan > 0) {
            DWORD escritos = 0;
            if (!WriteConsoleW(manejador, p, quedan, &escritos, nullptr) || escritos == 0) {
                return false;
            }
            p += escritos;
            quedan -= escritos;
        }
        return true;
    };
}

bool esTerminal(FILE* flujo) {
    const auto manejador = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(flujo)));
    DWORD modo = 0;
    return manejador != INVALID_HANDLE_VALUE && GetConsoleMode(manejador, &modo);
}

}  // namespace varnolo::cli::plataforma
