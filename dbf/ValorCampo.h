#pragma once
// The value of one field inside a record: reading it as text or number from the
// stored bytes of any type we read, and storing text, numbers and Booleans in the
// types we write. Every access stays within the field's width.

#include <QByteArray>
#include <QString>
#include <optional>

#include "dbf/EstructuraDbf.h"

namespace varnolo::motor {

/// How the binary types of a table are stored.
struct FormatoValores {
    bool nivel7 = false;  ///< I/+ big-endian with the sign bit flipped; O a flipped double
    bool foxpro = false;  ///< I little-endian signed
    PaginaCodigos pagina = PaginaCodigos::Windows1252;

    static FormatoValores de(const EstructuraDbf& e) { return {e.nivel7, e.foxpro, e.pagina}; }
};

/// The field's text: C decoded without trailing blanks; N/F trimmed ("" when
/// blank or all asterisks, the null of other writers); L "T", "F" or ""; D
/// "YYYYMMDD" or ""; I, + and O as decimal text; other types "".
QString textoCampo(const char* bytes, const CampoFisico& campo, const FormatoValores& formato);

/// True when the field holds no value: blanks (or zero bytes for binary blanks);
/// for N/F also asterisks.
bool campoEnBlanco(const char* bytes, const CampoFisico& campo, const FormatoValores& formato);

/// The numeric value of an N, F, I, + or O field; empty when blank, unreadable or not
/// a finite number ("nan", "inf").
/// Other types give nothing.
std::optional<double> numeroCampo(const char* bytes, const CampoFisico& campo,
                                  const FormatoValores& formato);

bool esNumerico(const CampoFisico& campo);

/// The bytes of a never-written field.
void ponerEnBlanco(char* bytes, const CampoFisico& campo);

/// Stores a text: C converted to Windows-1252 and cut to the width in bytes; N, F,
/// I a number written as text ("" leaves it blank); L "T"/"F"/"Y"/"N" (any case) or
/// "" for blank; D "YYYYMMDD". Raises ErrorTabla naming the table and field when
/// the text does not fit the type.
void guardarTexto(char* bytes, const CampoFisico& campo, const FormatoValores& formato,
                  const QString& valor, const QString& tabla);
/// Stores a number: N/F right-aligned with the field's decimals (ErrorTabla when
/// too wide), I/+/O binary, C as decimal text, L true when not zero.
void guardarNumero(char* bytes, const CampoFisico& campo, const FormatoValores& formato,
                   double valor, const QString& tabla);
/// Stores a Boolean: L "T"/"F", numeric fields 1/0, C "T"/"F".
void guardarLogico(char* bytes, const CampoFisico& campo, const FormatoValores& formato, bool valor,
                   const QString& tabla);

}  // namespace varnolo::motor
