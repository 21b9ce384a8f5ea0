#include "taviron/TablaNiveles.h"

namespace varnolo {

void escribirTablaNiveles(const QString& ruta, const QList<FilaNivel>& filas,
                          std::shared_ptr<const Reloj> reloj) {
    Tabla t(QString(), ruta);
    t.setReloj(std::move(reloj));
    t.fieldDefs() = catalogo::NIVELCAN().campos;
    t.createTable();
    t.open();
    for (const FilaNivel& f : filas) {
        t.append();
        t.setInteger(campo::X_OFERTAMATRIG, f.oferta);
        t.setString(campo::NIVEL_ABREV, f.abrev);
        t.setString(campo::NIVEL, f.nivel);
        t.post();
    }
    t.close();
}

}  // namespace varnolo
