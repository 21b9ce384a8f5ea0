#pragma once
// The command line of varnolo-cli:
//   varnolo-cli exportar DOCUMENTO [--marco CODIGO]... [--qwork CARPETA] [--niveles RUTA]
//   varnolo-cli importar DOCUMENTO [--qwork CARPETA]
//   varnolo-cli comprobar DOCUMENTO [--marco CODIGO]... [--niveles RUTA]
//   varnolo-cli copias [--qwork CARPETA]
//   varnolo-cli restaurar COPIA [--qwork CARPETA]
//   varnolo-cli --help | -h | --version, and ACCION --help for one action.

#include <QString>
#include <QStringList>

#include "base/Errores.h"

namespace varnolo::cli {

struct Orden {
    enum class Accion { Exportar, Importar, Comprobar, Copias, Restaurar, Ayuda, Version };
    Accion accion = Accion::Exportar;
    /// With Accion::Ayuda: the text to print (the whole usage, or one action's).
    QString ayuda;
    /// The document (exportar, importar, comprobar) or the copy's name (restaurar).
    QString documento;
    /// Frame codes chosen when the document holds several time frames (export only).
    QStringList marcos;
    /// Work folder instead of the system's; empty for the system's.
    QString qwork;
    /// Level table instead of NIVELCAN.DBF beside the program (export only).
    QString niveles;
    /// --detalles: the report of what the conversion wrote, after its text.
    bool detalles = false;
};

/// A command line that does not follow the usage; the text says what is wrong.
class ErrorUso : public ErrorVarnolo {
  public:
    using ErrorVarnolo::ErrorVarnolo;
};

/// Reads the arguments that follow the program's name. The action is matched with
/// ASCII letter case ignored. Raises ErrorUso on anything else than the usage allows.
Orden analizarArgumentos(const QStringList& argumentos);

/// The usage text: shown with a usage error and by --help.
QString textoUso();

/// "varnolo-cli 1.0": what --version prints.
QString textoVersion();

}  // namespace varnolo::cli
