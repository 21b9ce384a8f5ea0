#pragma once
// The records of an exchange document's sections as texts: every item of every record
// read once into one UTF-8 buffer, so that a large document costs little more than
// its text. A Registro is a light view that stays valid as long as its store lives.

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace varnolo {

class AlmacenRegistros;

/// One record of a section: the texts of its dato children, in document order.
class Registro {
  public:
    Registro() = default;
    /// Number of items.
    int count() const { return static_cast<int>(cantidad_); }
    /// Item i trimmed (recortar); an item the record does not have reads as "".
    QString dato(int i) const;
    /// Item i as it stands, untrimmed; "" when missing.
    QString datoSinRecortar(int i) const;

  private:
    friend class AlmacenRegistros;
    Registro(const AlmacenRegistros* almacen, std::uint32_t primero, std::uint32_t cantidad)
        : almacen_(almacen), primero_(primero), cantidad_(cantidad) {}
    const AlmacenRegistros* almacen_ = nullptr;
    std::uint32_t primero_ = 0;
    std::uint32_t cantidad_ = 0;
};

/// The records of every section read so far, by section name, each section's in the
/// order they were added.
class AlmacenRegistros {
  public:
    AlmacenRegistros() { inicios_.push_back(0); }
    AlmacenRegistros(const AlmacenRegistros&) = delete;
    AlmacenRegistros& operator=(const AlmacenRegistros&) = delete;

    /// Where the records of section `seccion` are added, as (first item, number of
    /// items); valid until another section is added.
    std::vector<std::pair<std::uint32_t, std::uint32_t>>& seccion(const QString& seccion);
    /// True when records of that section were ever asked for or added.
    bool tieneSeccion(const QString& seccion) const { return secciones_.contains(seccion); }

    /// Adds bytes (UTF-8) to the item being read.
    void anadirTexto(const char* utf8, std::size_t longitud) { textos_.append(utf8, longitud); }
    /// Ends the item being read; returns its number.
    std::uint32_t cerrarDato();
    /// Number of items closed so far.
    std::uint32_t datos() const { return static_cast<std::uint32_t>(inicios_.size() - 1); }

    /// The records of that section, in the order they were added; none when unknown.
    QList<Registro> registros(const QString& seccion) const;
    /// Forgets every record.
    void vaciar();

  private:
    friend class Registro;
    QString texto(std::uint32_t dato) const;

    std::string textos_;
    /// Item k spans textos_[inicios_[k], inicios_[k + 1]).
    std::vector<std::uint32_t> inicios_;
    QHash<QString, std::vector<std::pair<std::uint32_t, std::uint32_t>>> secciones_;
};

}  // namespace varnolo
