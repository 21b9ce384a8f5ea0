// Step 4: the rooms of DEPENDENCIAS into AULAT, one row per room, keeping the
// document's room code as abbreviation where it is free and short enough.

#include "Abreviaturas.h"
#include "CadenaExportacion.h"
#include "data/Sobre.h"

namespace varnolo {

void CadenaExportacion::ExportarAulas() {
    const Entorno& entorno = estado_.entorno;
    borrarTabla(entorno, catalogo::AULAT().nombre);
    AbreviaturasUnicas abreviaturas;
    crearTabla(entorno, catalogo::AULAT());

    const QList<Registro> registros =
        registrosDeSeccion(documento(), QStringLiteral("DEPENDENCIAS"));
    Tabla aulat(entorno.carpetaTrabajo, catalogo::AULAT().nombre);
    aulat.setReloj(entorno.reloj);
    aulat.open();
    for (const Registro& r : registros) {
        if (r.count() < 2) continue;
        const QString codigo = r.dato(0);
        const QString nombre = r.dato(1);
        const QString primera = codigo.isEmpty() ? nombre.left(10) : codigo;
        const QString abreviatura = abreviaturas.darAcortada(primera);

        aulat.append();
        aulat.setString(QStringLiteral("ABREV"), abreviatura);
        aulat.setString(QStringLiteral("NOMBRE"), nombre);
        aulat.setString(QStringLiteral("DEPCENTRO"), QString());
        aulat.post();
    }
    aulat.close();
}

}  // namespace varnolo
