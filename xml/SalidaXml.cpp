#include "xml/SalidaXml.h"

#include <QDir>
#include <QFileInfo>

#include "base/Archivos.h"
#include "base/Errores.h"
#include "base/ErroresSistema.h"
#include "xml/CodificacionXml.h"

namespace varnolo {

namespace {

/// How many first bytes are held back to be checked.
constexpr qsizetype kCabeza = 64;

}  // namespace

void falloCodificacionXml(const QString& codificacion) {
    throw ErrorVarnolo(
        QStringLiteral("No se puede escribir el documento XML en la codificación %1.")
            .arg(codificacion));
}

void SalidaXml::recibir(const char* datos, qsizetype n) {
    if (empezada_) {
        escribir(datos, n);
        return;
    }
    cabeza_.append(datos, n);
    if (cabeza_.size() >= kCabeza) empezar();
}

void SalidaXml::terminar() {
    if (!empezada_) empezar();
}

int SalidaXml::alEscribir(void* contexto, const char* datos, int n) noexcept {
    auto* s = static_cast<SalidaXml*>(contexto);
    if (s->error) return -1;
    try {
        s->recibir(datos, n);
        return n;
    } catch (...) {
        s->error = std::current_exception();
        return -1;
    }
}

void SalidaXml::empezar() {
    empezada_ = true;
    // Some encodings (UTF-7, EBCDIC) write even the declaration in a form that no
    // reader recognises; such a file could not be read back, so it is not written.
    if (exigirDeclaracion_ && !tieneDeclaracion(cabeza_)) falloCodificacionXml(codificacion_);
    abrir();
    escribir(cabeza_.constData(), cabeza_.size());
    cabeza_.clear();
}

void SalidaArchivo::confirmar() {
    QString motivo;
    if (!Archivos::actuales().confirmar(archivo_, motivo)) falloArchivo(motivo);
}

void SalidaArchivo::abrir() {
    if (!archivo_.open(QIODevice::WriteOnly)) falloArchivo();
}

void SalidaArchivo::escribir(const char* datos, qsizetype n) {
    QString motivo;
    if (!Archivos::actuales().escribir(archivo_, datos, n, motivo)) falloArchivo(motivo);
}

void SalidaArchivo::falloArchivo(const QString& motivoDado) const {
    throw ErrorVarnolo(
        QStringLiteral("No se ha podido guardar el archivo %1: %2.")
            .arg(QDir::toNativeSeparators(ruta_), motivoDado.isEmpty() ? motivo() : motivoDado));
}

// A read-only file or folder reads to the system as a refused permission; the user
// is told which of the two is in the way.
QString SalidaArchivo::motivo() const {
    const QFileInfo destino(ruta_);
    if (destino.isDir()) return QStringLiteral("hay una carpeta con ese nombre");
    // Qt refuses to replace a file it may not write with a text of its own, in English.
    if (destino.exists() && !destino.isWritable()) {
        return QStringLiteral(
            "no tiene permiso para cambiar el archivo (es de solo lectura o de otro usuario)");
    }
    if (archivo_.error() == QFileDevice::PermissionsError ||
        archivo_.error() == QFileDevice::OpenError) {
        const QFileInfo carpeta(destino.absolutePath());
        if (!carpeta.exists()) return QStringLiteral("la carpeta no existe");
        if (!carpeta.isWritable()) {
            return QStringLiteral(
                "la carpeta es de solo lectura o no tiene permiso para "
                "escribir en ella");
        }
    }
    return textoFalloArchivo(archivo_);
}

}  // namespace varnolo
