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

}  // namespace varnolo
