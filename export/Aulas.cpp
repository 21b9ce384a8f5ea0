// Step 4: the rooms of DEPENDENCIAS into AULAT, one row per room, keeping the
// document's room code as abbreviation where it is free and short enough.

#include "export/Abreviaturas.h"
#include "export/CadenaExportacion.h"
#include "export/Secciones.h"
#include "velna/Sobre.h"

namespace varnolo {

void CadenaExportacion::ExportarAulas() {
    estado_.carpeta.recrear({&catalogo::AULAT()});
    AbreviaturasUnicas abreviaturas;

    const QString aulatNombre = catalogo::AULAT().nombre;
    const QList<Registro> registros = documento().registros(seccion::DEPENDENCIAS);
    Tabla aulat = estado_.carpeta.abrir(catalogo::AULAT(), Acceso::Compartida);
    int registro = 0;
    for (const Registro& r : registros) {
        ++registro;
        if (r.count() < 2) {
            saltado(seccion::DEPENDENCIAS, registro, kRegistroCorto);
            continue;
        }
        const QString codigo = r.dato(0);
        const QString nombre = r.dato(1);
        const QString primera = codigo.isEmpty() ? nombre.left(10) : codigo;
        const QString abreviatura = abreviaturas.darAcortada(primera);
        if (!codigo.isEmpty() && acortar(codigo) != codigo) {
            acortado(seccion::DEPENDENCIAS, registro, aulatNombre, campo::ABREV);
        }
        if (abreviatura != acortar(primera)) {
            hechoUnico(seccion::DEPENDENCIAS, registro, aulatNombre, campo::ABREV);
        }

        agregarFila(aulat, [&](Tabla& f) {
            const TextosFila texto(f, estado_.informe,
                                   LugarRegistro{seccion::DEPENDENCIAS, registro});
            texto(campo::ABREV, abreviatura);
            texto(campo::NOMBRE, nombre);
            texto(campo::DEPCENTRO, QString());
        });
    }
    aulat.close();
}

}  // namespace varnolo
