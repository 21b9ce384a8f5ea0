#pragma once
// The code pages of dBase tables: Windows-1252 (what we write), and the DOS code
// pages 437 and 850 that older tables use. Qt 6 Core has no codecs, so the upper
// halves are tables here.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace varnolo::motor {

enum class PaginaCodigos { Windows1252, Dos437, Dos850 };

/// The code page of a table from its language driver byte (dBase III/IV, FoxPro):
/// 0x01 is 437, 0x02 and 0x64 are 850; every other value, 0x00 included, is
/// read as Windows-1252.
PaginaCodigos paginaDeControlador(unsigned char controlador);

/// The code page of a level 7 table from its language driver name ("DBWINWE0",
/// "DB437US0", "DB850WE0", ...); unknown names read as Windows-1252.
PaginaCodigos paginaDeNombreControlador(const QByteArray& nombre);

/// Decodes bytes of this code page. Every byte maps to one character.
QString decodificar(const char* datos, int largo, PaginaCodigos pagina);

/// Encodes to Windows-1252: one byte per character; a character outside the code
/// page becomes '?'.
QByteArray codificarWindows1252(const QString& texto);

/// The same encoding written straight into `destino`, stopping after `capacidad`
/// bytes; returns the number of bytes written. A character outside the Basic
/// Multilingual Plane (a surrogate pair) is one '?', as is a lone surrogate.
int codificarWindows1252(QStringView texto, char* destino, int capacidad);

}  // namespace varnolo::motor
