#include "velna/Sobre.h"

#include <cstring>

namespace varnolo {

namespace sobre {
const char* const kServicio = "SERVICIO";
const char* const kBloque = "BLOQUE_DATOS";
const char* const kGrupo = "grupo_datos";
const char* const kSeq = "seq";
const char* const kDato = "dato";
}  // namespace sobre

namespace {

using namespace sobre;

const char* const kNombreDato = "nombre_dato";

QString q(const char* nombre) { return QString::fromLatin1(nombre); }

/// An element of that name in no namespace.
bool es(const char* nombre, const char* uri, const char* buscado) {
    return uri == nullptr && std::strcmp(nombre, buscado) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------------
// The sections read as a stream

/// Follows the path SERVICIO / BLOQUE_DATOS / grupo_datos[@seq] / grupo_datos / dato
/// (no namespaces) and keeps the text of every item; everything else passes by.
class SeccionesDocumento::Lector : public EventosXml {
  public:
    explicit Lector(SeccionesDocumento& s) : s_(s) {}

    void abrir(const char* nombre, const char* prefijo, const char* uri, const Atributo* atributos,
               int cantidad) override {
        ++nivel_;
        if (nivel_ == 1) {
            s_.raiz_ = prefijo != nullptr
                           ? QString::fromUtf8(prefijo) + u':' + QString::fromUtf8(nombre)
                           : QString::fromUtf8(nombre);
            enRuta_ = es(nombre, uri, kServicio);
            return;
        }
        if (nivel_ == 2 && es(nombre, uri, kBloque)) s_.tieneBloque_ = true;
        if (!enRuta_ || nivel_ != hondo_ + 1) return;
        switch (nivel_) {
            case 2:
                if (es(nombre, uri, kBloque)) hondo_ = 2;
                break;
            case 3:
                if (!es(nombre, uri, kGrupo)) break;
                for (int i = 0; i < cantidad; ++i) {
                    if (es(atributos[i].nombre, atributos[i].uri, kSeq)) {
                        destino_ = &s_.almacen_.seccion(
                            QString::fromUtf8(atributos[i].valor, atributos[i].longitud));
                        hondo_ = 3;
                        break;
                    }
                }
                break;
            case 4:
                if (es(nombre, uri, kGrupo)) {
                    hondo_ = 4;
                    primero_ = s_.almacen_.datos();
                    cantidad_ = 0;
                }
                break;
            case 5:
                if (es(nombre, uri, kDato)) hondo_ = 5;
                break;
        }
    }

    void cerrar() override {
        if (nivel_ == hondo_) {
            switch (hondo_) {
                case 5:
                    s_.almacen_.cerrarDato();
                    ++cantidad_;
                    break;
                case 4:
                    destino_->emplace_back(primero_, cantidad_);
                    break;
                case 3:
                    destino_ = nullptr;
                    break;
            }
            --hondo_;
        }
        --nivel_;
    }

    void texto(const char* utf8, int longitud) override {
        // Inside an item, at any depth: the item's string value.
        if (hondo_ == 5) s_.almacen_.anadirTexto(utf8, static_cast<std::size_t>(longitud));
    }

  private:
    SeccionesDocumento& s_;
    int nivel_ = 0;  // the root is at 1
    bool enRuta_ = false;
    /// The depth of the path followed so far: 1 the root, 2 BLOQUE_DATOS, 3 a
    /// section, 4 a record, 5 an item.
    int hondo_ = 1;
    std::vector<std::pair<std::uint32_t, std::uint32_t>>* destino_ = nullptr;
    std::uint32_t primero_ = 0;
    std::uint32_t cantidad_ = 0;
};

ResultadoCarga SeccionesDocumento::tomar(ResultadoCarga r) {
    if (!r) {
        almacen_.vaciar();
        raiz_.clear();
        tieneBloque_ = false;
    }
    return r;
}

ResultadoCarga SeccionesDocumento::leer(const QString& ruta, const AvanceLectura& avance) {
    almacen_.vaciar();
    Lector lector(*this);
    return tomar(varnolo::leerXml(ruta, lector, avance));
}

ResultadoCarga SeccionesDocumento::leerXml(const QByteArray& contenido) {
    almacen_.vaciar();
    Lector lector(*this);
    return tomar(varnolo::leerXml(contenido, lector));
}

QList<Registro> SeccionesDocumento::registros(const QString& seccion) const {
    return almacen_.registros(seccion);
}

// ---------------------------------------------------------------------------------
// The sections of a tree

QList<Registro> registrosDeSeccion(const DocumentoXml& documento, const QString& seccion,
                                   AlmacenRegistros& almacen) {
    auto& destino = almacen.seccion(seccion);
    destino.clear();
    const NodoXml raiz = documento.documentElement();
    if (!raiz.esElemento(q(kServicio))) return almacen.registros(seccion);
    for (const NodoXml& bloque : raiz.hijos(q(kBloque))) {
        for (const NodoXml& s : bloque.hijos(q(kGrupo))) {
            if (s.attribute(q(kSeq)) != seccion) continue;
            for (const NodoXml& r : s.hijos(q(kGrupo))) {
                const std::uint32_t primero = almacen.datos();
                std::uint32_t cantidad = 0;
                for (const NodoXml& d : r.hijos(q(kDato))) {
                    const QByteArray texto = d.text().toUtf8();
                    almacen.anadirTexto(texto.constData(), static_cast<std::size_t>(texto.size()));
                    almacen.cerrarDato();
                    ++cantidad;
                }
                destino.emplace_back(primero, cantidad);
            }
        }
    }
    return almacen.registros(seccion);
}

// ---------------------------------------------------------------------------------
// The envelope check and the result's envelope

QString faltaEnSobre(const QString& raiz, bool tieneBloque) {
    if (raiz != q(kServicio)) {
        return QStringLiteral("falta el elemento raíz %1 (la raíz es %2)").arg(q(kServicio), raiz);
    }
    if (!tieneBloque) return QStringLiteral("falta %1 dentro de %2").arg(q(kBloque), q(kServicio));
    return {};
}

QString faltaEnSobre(const DocumentoXml& documento) {
    const NodoXml raiz = documento.documentElement();
    return faltaEnSobre(raiz.nombre(), !raiz.hijos(q(kBloque)).empty());
}

NodoXml primeraSeccion(const DocumentoXml& documento) {
    return documento.selectSingleNode(QStringLiteral("/%1/%2").arg(q(kServicio), q(kBloque)))
        .firstChild();
}

void abrirServicio(EscritorXml& w) { w.abrir(q(kServicio)); }

void abrirBloque(EscritorXml& w) { w.abrir(q(kBloque)); }

void abrirGrupo(EscritorXml& w, const QString& seq) {
    w.abrir(q(kGrupo));
    w.atributo(q(kSeq), seq);
}

void escribirDato(EscritorXml& w, const QString& nombre, const QString& valor) {
    w.abrir(q(kDato));
    w.atributo(q(kNombreDato), nombre);
    w.texto(valor);
    w.cerrar();
}

}  // namespace varnolo
