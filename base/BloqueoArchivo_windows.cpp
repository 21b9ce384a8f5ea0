#include "base/BloqueoArchivo.h"
#include "base/ErroresSistema.h"

#include <QDir>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace varnolo::plataforma {

namespace {

// The share mode is the lock: an exclusive hold shares nothing, so every other
// open of the file (and its deletion) fails with a sharing violation; a shared
// hold lets others read and write but not hold it exclusively.
HANDLE abrirManejador(const QString& ruta, ArchivoBloqueado::Acceso acceso, DWORD derechos,
                      DWORD disposicion) {
    const DWORD compartir =
        acceso == ArchivoBloqueado::Acceso::Exclusivo ? 0 : (FILE_SHARE_READ | FILE_SHARE_WRITE);
    const std::wstring nombre = QDir::toNativeSeparators(ruta).toStdWString();
    return CreateFileW(nombre.c_str(), derechos, compartir, nullptr, disposicion,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

ArchivoBloqueado::Fallo falloDe(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ArchivoBloqueado::Fallo::NoExiste;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return ArchivoBloqueado::Fallo::EnUso;
        default:
            return ArchivoBloqueado::Fallo::Otro;
    }
}

HANDLE manejadorDe(std::intptr_t m) { return reinterpret_cast<HANDLE>(m); }

}  // namespace

std::unique_ptr<ArchivoBloqueado> ArchivoBloqueado::abrir(const QString& ruta, Acceso acceso,
                                                          bool crear, Fallo& fallo,
                                                          QString& detalle) {
    const DWORD disposicion = crear ? OPEN_ALWAYS : OPEN_EXISTING;
    bool soloLectura = false;
    HANDLE h = abrirManejador(ruta, acceso, GENERIC_READ | GENERIC_WRITE, disposicion);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        h = abrirManejador(ruta, acceso, GENERIC_READ, OPEN_EXISTING);
        soloLectura = true;
    }
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        fallo = falloDe(error);
        detalle = textoErrorWindows(error);
        return nullptr;
    }
    fallo = Fallo::Ninguno;
    return std::unique_ptr<ArchivoBloqueado>(
        new ArchivoBloqueado(reinterpret_cast<std::intptr_t>(h), acceso, soloLectura, ruta));
}

ArchivoBloqueado::~ArchivoBloqueado() { CloseHandle(manejadorDe(manejador_)); }

ArchivoBloqueado::Fallo ArchivoBloqueado::hacerExclusivo(QString& detalle) {
    if (acceso_ == Acceso::Exclusivo) return Fallo::Ninguno;
    // The share mode is fixed at open: reopen without sharing, and go back to a
    // shared hold when another process has the file.
    const DWORD derechos = soloLectura_ ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
    CloseHandle(manejadorDe(manejador_));
    HANDLE h = abrirManejador(ruta_, Acceso::Exclusivo, derechos, OPEN_EXISTING);
    if (h != INVALID_HANDLE_VALUE) {
        manejador_ = reinterpret_cast<std::intptr_t>(h);
        acceso_ = Acceso::Exclusivo;
        return Fallo::Ninguno;
    }
    const DWORD error = GetLastError();
    detalle = textoErrorWindows(error);
    h = abrirManejador(ruta_, Acceso::Compartido, derechos, OPEN_EXISTING);
    manejador_ = reinterpret_cast<std::intptr_t>(h);
    return falloDe(error) == Fallo::EnUso ? Fallo::EnUso : Fallo::Otro;
}

qint64 ArchivoBloqueado::tamano() const {
    LARGE_INTEGER t;
    if (!GetFileSizeEx(manejadorDe(manejador_), &t)) return -1;
    return t.QuadPart;
}

bool ArchivoBloqueado::leer(qint64 posicion, char* destino, qint64 largo) const {
    while (largo > 0) {
        OVERLAPPED o{};
        o.Offset = static_cast<DWORD>(posicion & 0xFFFFFFFF);
        o.OffsetHigh = static_cast<DWORD>(posicion >> 32);
        const DWORD pedir = static_cast<DWORD>(qMin<qint64>(largo, 1 << 30));
        DWORD leidos = 0;
        if (!ReadFile(manejadorDe(manejador_), destino, pedir, &leidos, &o) || leidos == 0) {
            return false;
        }
        destino += leidos;
        posicion += leidos;
        largo -= leidos;
    }
    return true;
}

bool ArchivoBloqueado::escribir(qint64 posicion, const char* datos, qint64 largo) {
    if (soloLectura_) {
        motivoFallo_ = textoErrorWindows(ERROR_WRITE_PROTECT);
        return false;
    }
    while (largo > 0) {
        OVERLAPPED o{};
        o.Offset = static_cast<DWORD>(posicion & 0xFFFFFFFF);
        o.OffsetHigh = static_cast<DWORD>(posicion >> 32);
        const DWORD pedir = static_cast<DWORD>(qMin<qint64>(largo, 1 << 30));
        DWORD escritos = 0;
        const BOOL escrito = WriteFile(manejadorDe(manejador_), datos, pedir, &escritos, &o);
        if (!escrito || escritos == 0) {
            motivoFallo_ = textoErrorWindows(escrito ? ERROR_DISK_FULL : GetLastError());
            return false;
        }
        datos += escritos;
        posicion += escritos;
        largo -= escritos;
    }
    return true;
}

bool ArchivoBloqueado::truncar(qint64 largo) {
    if (soloLectura_) {
        motivoFallo_ = textoErrorWindows(ERROR_WRITE_PROTECT);
        return false;
    }
    LARGE_INTEGER fin;
    fin.QuadPart = largo;
    if (SetFilePointerEx(manejadorDe(manejador_), fin, nullptr, FILE_BEGIN) &&
        SetEndOfFile(manejadorDe(manejador_))) {
        return true;
    }
    motivoFallo_ = textoErrorWindows(GetLastError());
    return false;
}

bool borrarSiLibre(const QString& ruta, const QString& guardian) {
    // A file that a process holds open without sharing deletion cannot be deleted;
    // the table of an index file is tried first, as a reader among readers.
    HANDLE vigilado = INVALID_HANDLE_VALUE;
    if (!guardian.isEmpty() && guardian != ruta) {
        vigilado = abrirManejador(guardian, ArchivoBloqueado::Acceso::Compartido, GENERIC_READ,
                                  OPEN_EXISTING);
        if (vigilado == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
            return false;
        }
    }
    const std::wstring nombre = QDir::toNativeSeparators(ruta).toStdWString();
    bool borrado = DeleteFileW(nombre.c_str()) != 0;
    if (!borrado) {
        const DWORD error = GetLastError();
        borrado = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if (vigilado != INVALID_HANDLE_VALUE) CloseHandle(vigilado);
    return borrado;
}

}  // namespace varnolo::plataforma
