#pragma once
// The field and index definitions of a table layout, and a field as a table's file
// stores it: what a table is made of, apart from the engine that reads and writes it.

#include <QString>

namespace varnolo {

enum class TipoCampo {
    Cadena,    ///< string(n): column C, width n (1 to 254)
    Entero,    ///< integer: column N(11,0)
    Flotante,  ///< float: column N(20,4)
    Logico,    ///< Boolean: column L
};

/// One field of a table layout. `ancho` is used by Cadena only.
struct DefCampo {
    QString nombre;
    TipoCampo tipo = TipoCampo::Cadena;
    int ancho = 0;
};

/// One index of a table layout: its name (the tag) and its key field.
struct DefIndice {
    QString nombre;
    QString campo;
};

/// A field of an open table as stored in its file (also for foreign tables).
struct CampoFisico {
    QString nombre;   ///< upper case
    char tipo = 'C';  ///< C, N, F, L, D, I, O, M, ...
    int ancho = 0;
    int decimales = 0;
};

}  // namespace varnolo
