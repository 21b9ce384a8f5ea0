#include "tests/importacion/MesaTrabajo.h"

#include "base/Errores.h"
#include "dbf/Tabla.h"

namespace varnolo::prueba {

void agregarFilas(const Entorno& entorno, const QString& tabla, const QList<QStringList>& filas) {
    Tabla t(entorno.carpetaTrabajo, tabla);
    t.setReloj(entorno.reloj);
    t.open();
    const QList<CampoFisico> campos = t.campos();
    for (const QStringList& fila : filas) {
        t.append();
        for (int i = 0; i < fila.size() && i < campos.size(); ++i) {
            const QString& v = fila[i];
            if (v.isEmpty()) continue;
            const CampoFisico& c = campos[i];
            if (c.tipo == 'L') {
                t.setBoolean(c.nombre, v == QLatin1String("T"));
            } else if (c.tipo == 'N' && c.decimales > 0) {
                t.setFloat(c.nombre, v.toDouble());
            } else if (c.tipo == 'N') {
                t.setInteger(c.nombre, aEntero(v));
            } else {
                t.setString(c.nombre, v);
            }
        }
        t.post();
    }
}

void crearMesaVacia(const Entorno& entorno) {
    for (const DefTabla* def : catalogo::tablasDeExportacion()) {
        CarpetaTrabajo(entorno).recrear({def});
    }
    crearSoluc(entorno);
    agregarFilas(entorno, QStringLiteral("PERIODOS"),
                 {{"J1", "Jornada", "01/09/2025", "30/06/2026"},
                  {"J2", "Otra", "01/01/2000", "02/01/2000"}});
}

}  // namespace varnolo::prueba
