#include "app/AtajoAyuda.h"

#include <QShortcut>

#include "app/DialogosVentana.h"
#include "base/Errores.h"

namespace varnolo {

void instalarAyudaF1(QWidget* ventana, const QString& carpetaPrograma, const TemaAyuda& tema) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), ventana);
    QObject::connect(f1, &QShortcut::activated, ventana, [ventana, carpetaPrograma, tema] {
        try {
            mostrarAyuda(carpetaPrograma, tema);
        } catch (const ErrorVarnolo& e) {
            mostrarAviso(ventana, avisoDe(ClaseAviso::Mensaje, e.texto()));
        }
    });
}

}  // namespace varnolo
