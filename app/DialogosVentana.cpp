#include "DialogosVentana.h"

#include <QFileDialog>

#include "app/DialogoMarcos.h"
#include "app/DialogoProfesores.h"

namespace varnolo {

DialogosVentana DialogosVentana::reales() {
    return {mostrarOpenDialogXML, mostrarAviso, mostrarDialogoMarcos, mostrarDialogoProfesores};
}

std::optional<QString> mostrarOpenDialogXML(QWidget* propietario) {
    QFileDialog OpenDialogXML(propietario,
                              QStringLiteral("Seleccione Archivo XML obtenido de VELNA"));
    OpenDialogXML.setObjectName(QStringLiteral("OpenDialogXML"));
    OpenDialogXML.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name is accepted: the conversion itself reports a file that does not exist.
    OpenDialogXML.setFileMode(QFileDialog::AnyFile);
    OpenDialogXML.setNameFilter(QStringLiteral("*.xml (*.xml)"));
    OpenDialogXML.setDefaultSuffix(QStringLiteral("xml"));
    if (OpenDialogXML.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList elegidos = OpenDialogXML.selectedFiles();
    if (elegidos.isEmpty()) return std::nullopt;
    return elegidos.first();
}

QString textoPartible(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto) {
        r += c;
        if (c == u'/' || c == u'\\') r += QChar(0x200B);
    }
    return r;
}

void mostrarAviso(QWidget* propietario, const AvisoVentana& aviso) {
    QMessageBox caja(aviso.icono, aviso.titulo, textoPartible(aviso.texto), QMessageBox::Ok,
                     propietario);
    caja.setTextFormat(Qt::PlainText);
    caja.exec();
}

}  // namespace varnolo
