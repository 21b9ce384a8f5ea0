#include "export/CadenaExportacion.h"

namespace varnolo {

void CadenaExportacion::ejecutar() {
    ExportarMaterias();
    ExportarActividades();
    ExportarProfesores();
    ExportarAulas();
    ExportarCursosGrupos();
    ExportarAsignaciones();
    ExportarDiasHoras();
}

void CadenaExportacion::saltado(const QString& seccion, int registro, const QString& razon) {
    estado_.informe.anotar(QStringLiteral("registro saltado: ") + razon,
                           Informe::lugar(seccion, registro));
}

void CadenaExportacion::hechoUnico(const QString& seccion, int registro, const QString& tabla,
                                   const QString& campo) {
    estado_.informe.anotar(QStringLiteral("código hecho único en %1.%2").arg(tabla, campo),
                           Informe::lugar(seccion, registro));
}

void CadenaExportacion::acortado(const QString& seccion, int registro, const QString& tabla,
                                 const QString& campo) {
    estado_.informe.anotar(
        QStringLiteral("código acortado a 10 caracteres en %1.%2").arg(tabla, campo),
        Informe::lugar(seccion, registro));
}

}  // namespace varnolo
