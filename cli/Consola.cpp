#include "cli/Consola.h"

namespace varnolo::cli {

SalidaConsola::SalidaConsola(FILE* flujo) : SalidaConsola(flujo, plataforma::consolaDe(flujo)) {}

SalidaConsola::SalidaConsola(FILE* flujo, std::function<bool(const QString&)> consola)
    : flujo_(flujo), consola_(std::move(consola)) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 SalidaConsola::writeData(const char* datos, qint64 largo) {
    if (consola_) {
        const QString texto = utf8_(QByteArrayView(datos, largo));
        if (!texto.isEmpty() && !consola_(texto)) return -1;
        return largo;
    }
    const size_t escritos = std::fwrite(datos, 1, static_cast<size_t>(largo), flujo_);
    std::fflush(flujo_);
    return escritos == static_cast<size_t>(largo) ? largo : -1;
}

}  // namespace varnolo::cli
