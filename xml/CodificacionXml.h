#pragma once
// The encodings that exchange documents use, made the same for libxml2 on every
// system: Windows-1252 is decoded and encoded by the program's own code page
// table, not by whatever the system's libxml2 was built with (a Windows build has
// no iconv at all).

#include <QByteArray>

namespace varnolo {

/// Registers the program's Windows-1252 handler with libxml2 (names "Windows-1252"
/// and "CP1252", any case). Safe to call many times and from any thread; the first
/// call registers. Characters outside the code page are written as character
/// references, like any other encoding that lacks them.
void registrarCodificacionesXml();

/// True when the bytes start (after a byte order mark) with an XML declaration that a
/// reader recognises: in one byte per character, or in two in either byte order.
bool tieneDeclaracion(const QByteArray& bytes);

}  // namespace varnolo
