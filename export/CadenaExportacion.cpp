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
    using Paso = void (CadenaExportacion::*)();
    const Paso pasos[kPasos] = {
        &CadenaExportacion::ExportarMaterias,     &CadenaExportacion::ExportarActividades,
        &CadenaExportacion::ExportarProfesores,   &CadenaExportacion::ExportarAulas,
        &CadenaExportacion::ExportarCursosGrupos, &CadenaExportacion::ExportarAsignaciones,
        &CadenaExportacion::ExportarDiasHoras,
    };
    for (estado_.pasosHechos = 0; estado_.pasosHechos < kPasos; ++estado_.pasosHechos) {
        estado_.avanzar();
        (this->*pasos[estado_.pasosHechos])();
    }
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
