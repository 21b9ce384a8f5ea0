#include "velna/DocumentoIntercambio.h"

#include <QDir>
#include <QFileInfo>

#include "base/Errores.h"

namespace varnolo {

namespace {

[[noreturn]] void noSePuedeCargar(const QString& ruta, const ResultadoCarga& r) {
    if (r.motivo == ResultadoCarga::Motivo::Detenida) throw Cancelacion();
    throw ErrorVarnolo(
        QStringLiteral("El archivo %1 %2.").arg(QDir::toNativeSeparators(ruta), r.texto()));
}

void exigirSobre(const QString& falta, const QString& ruta) {
    if (falta.isEmpty()) return;
    throw ErrorVarnolo(QStringLiteral("El archivo %1 no es un documento de intercambio: %2.")
                           .arg(QDir::toNativeSeparators(ruta), falta));
}

}  // namespace

bool existeDocumento(const QString& ruta) { return !ruta.isEmpty() && QFileInfo(ruta).isFile(); }

std::unique_ptr<DocumentoXml> cargarDocumento(const QString& ruta, const AvanceLectura& avance) {
    auto documento = std::make_unique<DocumentoXml>();
    if (const ResultadoCarga r = documento->load(ruta, avance); !r) noSePuedeCargar(ruta, r);
    return documento;
}

std::unique_ptr<SeccionesDocumento> leerSecciones(const QString& ruta,
                                                  const AvanceLectura& avance) {
    auto secciones = std::make_unique<SeccionesDocumento>();
    if (const ResultadoCarga r = secciones->leer(ruta, avance); !r) noSePuedeCargar(ruta, r);
    return secciones;
}

void comprobarSobre(const DocumentoXml& documento, const QString& ruta) {
    exigirSobre(faltaEnSobre(documento), ruta);
}

void comprobarSobre(const SeccionesDocumento& secciones, const QString& ruta) {
    exigirSobre(faltaEnSobre(secciones.raiz(), secciones.tieneBloque()), ruta);
}

}  // namespace varnolo
