#include "velna/Registros.h"

#include <limits>
#include <stdexcept>

#include "base/Textos.h"

namespace varnolo {

QString Registro::dato(int i) const { return recortar(datoSinRecortar(i)); }

QString Registro::datoSinRecortar(int i) const {
    if (almacen_ == nullptr || i < 0 || i >= count()) return QString();
    return almacen_->texto(primero_ + static_cast<std::uint32_t>(i));
}

std::vector<std::pair<std::uint32_t, std::uint32_t>>& AlmacenRegistros::seccion(
    const QString& seccion) {
    return secciones_[seccion];
}

std::uint32_t AlmacenRegistros::cerrarDato() {
    // Offsets are 32 bits: a document is far smaller than 4 GB of text.
    if (textos_.size() > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    inicios_.push_back(static_cast<std::uint32_t>(textos_.size()));
    return datos() - 1;
}

QList<Registro> AlmacenRegistros::registros(const QString& seccion) const {
    QList<Registro> r;
    const auto it = secciones_.constFind(seccion);
    if (it == secciones_.constEnd()) return r;
    r.reserve(static_cast<qsizetype>(it->size()));
    for (const auto& [primero, cantidad] : *it) r.append(Registro(this, primero, cantidad));
    return r;
}

void AlmacenRegistros::vaciar() {
    textos_.clear();
    textos_.shrink_to_fit();
    inicios_.assign(1, 0);
    secciones_.clear();
}

QString AlmacenRegistros::texto(std::uint32_t dato) const {
    const std::uint32_t inicio = inicios_[dato];
    return QString::fromUtf8(textos_.data() + inicio,
                             static_cast<qsizetype>(inicios_[dato + 1] - inicio));
}

}  // namespace varnolo
