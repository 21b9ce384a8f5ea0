#include "AtajoAyuda.h"

#include <QDir>
#include <QMessageBox>
#include <QShortcut>

#include "Ayuda.h"
#include "data/Errores.h"

namespace varnolo {

void instalarAyudaF1(QWidget* ventana, const QString& carpetaPrograma, int tema) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), ventana);
    QObject::connect(f1, &QShortcut::activated, ventana, [ventana, carpetaPrograma, tema] {
        try {
            mostrarAyuda(QDir(carpetaPrograma).filePath(kArchivoAyuda), tema);
        } catch (const ErrorVarnolo& e) {
            QMessageBox::warning(ventana, QStringLiteral("Varnolo"), e.texto());
        }
    });
}

}  // namespace varnolo
