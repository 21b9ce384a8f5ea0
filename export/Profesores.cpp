// Step 3: the staff of EMPLEADOS into PROFT, one row per teacher, with the display
// name built from three name parts and a unique abbreviation.

#include "export/Abreviaturas.h"
#include "export/CadenaExportacion.h"
#include "export/Secciones.h"
#include "velna/Sobre.h"

namespace varnolo {

namespace {

// The first character of a name part; an empty part gives none. Taken from the
// trimmed part, so that a blank or a line break never ends up in an abbreviation.
QString inicial(const QString& parte) { return parte.left(1); }

}  // namespace

void CadenaExportacion::ExportarProfesores() {
    estado_.carpeta.recrear({&catalogo::PROFT()});
    AbreviaturasUnicas abreviaturas;

    const QList<Registro> registros = documento().registros(seccion::EMPLEADOS);
    Tabla proft = estado_.carpeta.abrir(catalogo::PROFT(), Acceso::Compartida);
    int registro = 0;
    for (const Registro& r : registros) {
        ++registro;
        if (r.count() < 2) {
            saltado(seccion::EMPLEADOS, registro, kRegistroCorto);
            continue;
        }
        const QString empleado = r.dato(0);
        const QString tomaPosesion = r.dato(1);
        const QString departamento = r.dato(2);
        const QString parte1 = r.dato(3);
        const QString parte2 = r.dato(4);
        const QString parte3 = r.dato(5);
        const QString nombre = parte1 + u' ' + parte2 + QStringLiteral(", ") + parte3;
        const QString iniciales = inicial(parte1) + inicial(parte2) + inicial(parte3);
        const QString dada = r.dato(6);
        const QString primera = dada.isEmpty() ? iniciales : dada;
        const QString abreviatura = abreviaturas.dar(primera);
        if (abreviatura != primera) {
            hechoUnico(seccion::EMPLEADOS, registro, catalogo::PROFT().nombre, campo::ABREV);
        }

        agregarFila(proft, [&](Tabla& f) {
            const TextosFila texto(f, estado_.informe, LugarRegistro{seccion::EMPLEADOS, registro});
            texto(campo::ABREV, abreviatura);
            texto(campo::NOMBRE, nombre);
            texto(campo::DEPART, departamento);
            texto(campo::X_EMPLEADO, empleado);
            texto(campo::F_TOMAPOS, tomaPosesion);
        });
    }
    proft.close();
}

}  // namespace varnolo
