#include <windows.h>

#include <QDir>
#include <string>

#include "app/Ayuda.h"

namespace varnolo::plataforma {

namespace {

// The two commands of the HTML Help API that the program uses.
constexpr UINT kHhDisplayToc = 0x0001;
constexpr UINT kHhHelpContext = 0x000F;

using FuncionHtmlHelp = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

/// HtmlHelpW of hhctrl.ocx, which every Windows has; loaded on first use and kept, since
/// the viewer's windows live in this process.
FuncionHtmlHelp htmlHelp() {
    static const FuncionHtmlHelp funcion = []() -> FuncionHtmlHelp {
        const HMODULE hhctrl = LoadLibraryW(L"hhctrl.ocx");
        if (hhctrl == nullptr) return nullptr;
        return reinterpret_cast<FuncionHtmlHelp>(
            reinterpret_cast<void (*)()>(GetProcAddress(hhctrl, "HtmlHelpW")));
    }();
    return funcion;
}

}  // namespace

bool hayVisorConContextos() { return true; }

// The HTML Help viewer: the topic that the file's map gives to context `tema`, or the
// contents for 0. It answers no window when the file or the context is unknown.
bool abrirVisorAyuda(const QString& ruta, int tema) {
    const FuncionHtmlHelp HtmlHelpW = htmlHelp();
    if (HtmlHelpW == nullptr) return false;
    const std::wstring archivo = QDir::toNativeSeparators(ruta).toStdWString();
    const HWND visor = tema == 0 ? HtmlHelpW(nullptr, archivo.c_str(), kHhDisplayToc, 0)
                                 : HtmlHelpW(nullptr, archivo.c_str(), kHhHelpContext,
                                             static_cast<DWORD_PTR>(tema));
    return visor != nullptr;
}

}  // namespace varnolo::plataforma
