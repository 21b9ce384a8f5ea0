#include "InteraccionConsola.h"

#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"

namespace varnolo::cli {

InteraccionConsola::InteraccionConsola(QString documento, QStringList marcos, QTextStream& salida,
                                       QTextStream& errores)
    : documento_(std::move(documento)),
      marcos_(std::move(marcos)),
      salida_(salida),
      errores_(errores) {}

std::optional<QString> InteraccionConsola::elegirDocumento() { return documento_; }

void InteraccionConsola::mostrarMensaje(const QString& texto) {
    QTextStream& destino = texto == kProcesoFinalizado ? salida_ : errores_;
    destino << texto << Qt::endl;
}

SeleccionMarcos InteraccionConsola::elegirMarcos(const EstadoPrograma& estado) {
    return seleccionarMarcosPorCodigo(estado, marcos_);
}

}  // namespace varnolo::cli
