#include "TablaNiveles.h"

namespace varnolo {

const DefTabla& disenoNivelcan() {
    static const DefTabla t{QStringLiteral("NIVELCAN"),
                            {{QStringLiteral("X_OFERTAMATRIG"), TipoCampo::Entero, 0},
                             {QStringLiteral("NIVEL_ABREV"), TipoCampo::Cadena, kAnchoNivelAbrev},
                             {QStringLiteral("NIVEL"), TipoCampo::Cadena, kAnchoNivel}},
                            {}};
    return t;
}

void escribirTablaNiveles(const QString& ruta, const QList<FilaNivel>& filas,
                          std::shared_ptr<const Reloj> reloj) {
    Tabla t(QString(), ruta);
    t.setReloj(std::move(reloj));
    t.fieldDefs() = disenoNivelcan().campos;
    t.createTable();
    t.open();
    for (const FilaNivel& f : filas) {
        t.append();
        t.setInteger(QStringLiteral("X_OFERTAMATRIG"), f.oferta);
        t.setString(QStringLiteral("NIVEL_ABREV"), f.abrev);
        t.setString(QStringLiteral("NIVEL"), f.nivel);
        t.post();
    }
    t.close();
}

}  // namespace varnolo
