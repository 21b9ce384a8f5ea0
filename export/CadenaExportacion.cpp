#include "export/CadenaExportacion.h"

#include "conversion/Avance.h"

namespace varnolo {

namespace {
constexpr int kPasos = 7;
}

void ContextoExportacion::avanzar() const {
    informarAvance(opciones.avance, Avance::Fase::Tablas, pasosHechos, kPasos);
}

void CadenaExportacion::ejecutar() {
    estado_.pasosHechos = 0;
    const auto paso = [this](void (CadenaExportacion::*hacer)()) {
        estado_.avanzar();
        (this->*hacer)();
        ++estado_.pasosHechos;
    };
    paso(&CadenaExportacion::ExportarMaterias);
    paso(&CadenaExportacion::ExportarActividades);
    paso(&CadenaExportacion::ExportarProfesores);
    paso(&CadenaExportacion::ExportarAulas);
    paso(&CadenaExportacion::ExportarCursosGrupos);
    paso(&CadenaExportacion::ExportarAsignaciones);
    paso(&CadenaExportacion::ExportarDiasHoras);
    // The last moment to stop: past it the tables take the old ones' place.
    estado_.avanzar();
}

void CadenaExportacion::saltado(const QString& seccion, int registro, const QString& razon) {
    estado_.informe.anotar(QStringLiteral("registro saltado: ") + razon,
                           LugarRegistro{seccion, registro});
}

void CadenaExportacion::hechoUnico(const QString& seccion, int registro, const QString& tabla,
                                   const QString& campo) {
    estado_.informe.anotar(QStringLiteral("código hecho único en %1.%2").arg(tabla, campo),
                           LugarRegistro{seccion, registro});
}

void CadenaExportacion::acortado(const QString& seccion, int registro, const QString& tabla,
                                 const QString& campo) {
    estado_.informe.anotar(
        QStringLiteral("código acortado a 10 caracteres en %1.%2").arg(tabla, campo),
        LugarRegistro{seccion, registro});
}

}  // namespace varnolo
