// Step 4: the rooms of DEPENDENCIAS into AULAT, one row per room, keeping the
// document's room code as abbreviation where it is free and short enough.

#include "export/Abreviaturas.h"
#include "export/CadenaExportacion.h"
#include "velna/Sobre.h"

namespace varnolo {

void CadenaExportacion::ExportarAulas() {
    estado_.carpeta.recrear({&catalogo::AULAT()});
    AbreviaturasUnicas abreviaturas;

    const QList<Registro> registros = documento().registros(QStringLiteral("DEPENDENCIAS"));
    Tabla aulat = estado_.carpeta.abrir(catalogo::AULAT(), Acceso::Compartida);
    for (const Registro& r : registros) {
        if (r.count() < 2) continue;
        const QString codigo = r.dato(0);
        const QString nombre = r.dato(1);
        const QString primera = codigo.isEmpty() ? nombre.left(10) : codigo;
        const QString abreviatura = abreviaturas.darAcortada(primera);

        agregarFila(aulat, [&](Tabla& f) {
            f.setString(campo::ABREV, abreviatura);
            f.setString(campo::NOMBRE, nombre);
            f.setString(campo::DEPCENTRO, QString());
        });
    }
    aulat.close();
}

}  // namespace varnolo
