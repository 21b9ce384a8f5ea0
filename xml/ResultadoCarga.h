#pragma once
// Why a document could not be loaded, in the words the user reads.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace varnolo {

/// Largest document that a load accepts.
inline constexpr qint64 kTamanoMaximo = 256 * 1024 * 1024;

/// How far the read of a file has come: bytes read of its size. Returning false stops
/// the read, which then fails with Motivo::Detenida.
using AvanceLectura = std::function<bool(qint64 leidos, qint64 total)>;

/// Why a file could not be read, or nothing when it was.
struct ResultadoCarga {
    enum class Motivo {
        Ninguno,
        NoExiste,
        EsCarpeta,
        Ilegible,  ///< the system refused it; `detalle` says why
        Vacio,
        DemasiadoGrande,  ///< beyond kTamanoMaximo
        Entidades,        ///< it declares entities, refused for safety
        MalFormado,       ///< not well-formed: `linea` and `columna` of the first error (0 unknown)
        SinRaiz,
        /// Written in UTF-16 or UCS-4 (`detalle`) but declaring a one-byte encoding
        /// (`codificacionDeclarada`): a result in that encoding might not load again.
        CodificacionContradictoria,
        Detenida,  ///< the reader's AvanceLectura asked to stop
    };
    Motivo motivo = Motivo::Ninguno;
    int linea = 0;
    int columna = 0;
    /// Why the parser stopped (Motivo::MalFormado), in Spanish; empty when it is none
    /// of the errors people meet.
    QString razon;
    QString detalle;
    QString codificacionDeclarada;

    explicit operator bool() const { return motivo == Motivo::Ninguno; }
    /// The reason in Spanish, to follow the file's name: "no existe", "no se puede
    /// leer: …", "es demasiado grande: el límite es de … MB", "declara entidades, …",
    /// "no es un documento XML válido: error en la línea L, columna C: razón". Empty when
    /// the file was read.
    QString texto() const;
};

}  // namespace varnolo
