#pragma once
// Where the converter works and what time it is: the work folder shared with
// Taviron, the program's own folder, and the clock (base/Reloj.h). Tests build one over temporary
// folders with a fixed clock; the program builds one from the system.

#include <QDateTime>
#include <QString>
#include <memory>

#include "base/Reloj.h"

namespace varnolo {

struct Entorno {
    /// The work folder ("\QWORK" at the root of the current drive on Windows).
    QString carpetaTrabajo;
    /// The folder of the program file: NIVELCAN.DBF, Taviron.ini, VELNA.chm.
    QString carpetaPrograma;
    /// The level table; empty means NIVELCAN.DBF in the program folder. The
    /// command-line tool may point it elsewhere.
    QString rutaNiveles;
    /// Never null.
    std::shared_ptr<const Reloj> reloj = std::make_shared<Reloj>();

    /// The work folder of this machine and the given program folder, with the
    /// system clock.
    static Entorno delSistema(const QString& carpetaPrograma);

    /// A file of the work folder, e.g. rutaTrabajo("PERIODOS.DBF").
    QString rutaTrabajo(const QString& archivo) const;
    /// A file of the program folder, e.g. rutaPrograma("NIVELCAN.DBF").
    QString rutaPrograma(const QString& archivo) const;
    /// The level table's path: rutaNiveles, or NIVELCAN.DBF in the program folder.
    QString rutaNivelcan() const;
    QDateTime ahora() const { return reloj->ahora(); }
};

}  // namespace varnolo
