#include "Conversion.h"

#include <QDir>
#include <QFileInfo>

#include "Errores.h"

namespace varnolo {

bool elegirDocumentoExistente(EstadoPrograma& estado, Interaccion& interaccion) {
    if (const auto elegido = interaccion.elegirDocumento()) estado.filenameXML = *elegido;
    if (!estado.filenameXML.isEmpty() && QFileInfo(estado.filenameXML).isFile()) return true;
    interaccion.mostrarMensaje(kNoExisteArchivo);
    if (estado.modoLote == 2) {
        estado.transformado = -1;
        interaccion.cerrarVentana();
    }
    return false;
}

void cargarDocumentoElegido(EstadoPrograma& estado) {
    estado.documento = std::make_unique<DocumentoXml>();
    if (!estado.documento->load(estado.filenameXML)) {
        throw ErrorVarnolo(QStringLiteral("El archivo %1 %2.")
                               .arg(QDir::toNativeSeparators(estado.filenameXML),
                                    estado.documento->motivoFallo()));
    }
}

void comprobarSobre(const DocumentoXml& documento, const QString& ruta) {
    QString falta;
    const NodoXml raiz = documento.documentElement();
    if (raiz.nombre() != u"SERVICIO") {
        falta =
            QStringLiteral("falta el elemento raíz SERVICIO (la raíz es %1)").arg(raiz.nombre());
    } else if (raiz.hijos(QStringLiteral("BLOQUE_DATOS")).empty()) {
        falta = QStringLiteral("falta BLOQUE_DATOS dentro de SERVICIO");
    } else {
        return;
    }
    throw ErrorVarnolo(QStringLiteral("El archivo %1 no es un documento de intercambio: %2.")
                           .arg(QDir::toNativeSeparators(ruta), falta));
}

void concluirConversion(EstadoPrograma& estado, Interaccion& interaccion) {
    interaccion.cursorNormal();
    estado.transformado = 1;
    interaccion.mostrarMensaje(kProcesoFinalizado);
    interaccion.deshabilitarBotones();
    if (estado.modoLote == 2) interaccion.cerrarVentana();
}

}  // namespace varnolo
