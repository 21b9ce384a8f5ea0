#include "dbf/Tabla.h"
#include "base/Archivos.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/BloqueoArchivo.h"
#include "base/Errores.h"
#include "dbf/ArchivoTabla.h"
#include "dbf/EstructuraDbf.h"
#include "dbf/IndiceMdx.h"
#include "dbf/TablasCreadas.h"
#include "dbf/ValorCampo.h"

namespace varnolo {

using motor::ArchivoTabla;
using plataforma::ArchivoBloqueado;

namespace {

bool terminaEnDbf(const QString& nombre) {
    return nombre.endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive);
}

// A file of the folder whose name equals `nombre` with letter case ignored; the
// name itself when there is none.
QString buscarSinMayusculas(const QString& ruta) {
    const QFileInfo info(ruta);
#ifndef Q_OS_WIN
    if (info.exists()) return ruta;
#endif
    // Windows finds the file however it is spelled; the name as stored is looked up
    // all the same, so that paths in messages read the same on every system.
    const QDir carpeta = info.dir();
    const QString buscado = info.fileName();
    const QStringList archivos = carpeta.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& a : archivos) {
        if (a.compare(buscado, Qt::CaseInsensitive) == 0) return carpeta.filePath(a);
    }
    return ruta;
}

QString nativa(const QString& ruta) { return QDir::toNativeSeparators(ruta); }

}  // namespace

struct Tabla::Impl {
    QString carpeta;
    QString nombreTabla;
    bool exclusiva = false;
    std::shared_ptr<const Reloj> reloj = std::make_shared<Reloj>();
    std::function<void()> antesDeGuardar;
    QList<DefCampo> defs;
    QList<DefIndice> indices;

    std::shared_ptr<ArchivoTabla> archivo;
    QList<CampoFisico> campos;
    Estado estado = Estado::Inactiva;

    // What the cursor walks: the visible (live) rows in the
    // chosen order, rebuilt when the shared rows change.
    std::vector<int> vista;
    quint64 versionVista = 0;
    int registrosVista = 0;  ///< rows of the file that the view has looked at
    bool vistaValida = false;
    int pos = 0;
    int actual = -1;  ///< physical record under the cursor, -1 none
    bool eofMarca = true;

    QString campoOrden;

    QByteArray pendiente;  ///< the row being inserted or edited; one buffer for every row

    QString nombre() const {
        if (archivo) return archivo->nombre();
        QString base = QFileInfo(QDir::fromNativeSeparators(nombreTabla)).fileName();
        if (terminaEnDbf(base)) base.chop(4);
        return base.toUpper();
    }

    QString ruta() const {
        const QString nombreArchivo = QDir::fromNativeSeparators(nombreTabla);
        QString r = carpeta.isEmpty()
                        ? nombreArchivo
                        : QDir(QDir::fromNativeSeparators(carpeta)).filePath(nombreArchivo);
        if (!terminaEnDbf(r)) r += QStringLiteral(".DBF");
        return buscarSinMayusculas(r);
    }

    [[noreturn]] void error(const QString& texto) const {
        throw ErrorTabla(QStringLiteral("La tabla %1 %2").arg(nombre(), texto));
    }

    void exigirCerrada() const {
        if (archivo) error(QStringLiteral("está abierta: no se puede cambiar su configuración"));
    }

    void exigirAbierta() const {
        if (!archivo) error(QStringLiteral("no está abierta"));
    }

    int indiceCampo(const QString& campo) const {
        exigirAbierta();
        const int i = archivo->indiceCampo(campo);
        if (i < 0) error(QStringLiteral("no tiene el campo %1").arg(campo));
        return i;
    }

    const motor::CampoDbf& campoDbf(int i) const { return archivo->estructura().campos[i]; }

    // The bytes of the current row: the pending row while editing, the stored row
    // otherwise, a blank row when the cursor stands on none.
    const char* filaActual() {
        if (estado == Estado::Editando || estado == Estado::Insertando)
            return pendiente.constData();
        asegurarVista();
        if (actual >= 0) return archivo->registro(actual);
        return archivo->filaEnBlanco().constData();
    }

    const char* valor(int campo) { return filaActual() + campoDbf(campo).desplazamiento; }

    // The pending row takes a copy of `fila` in the buffer it keeps between rows.
    void cargarPendiente(const char* fila) {
        const int largo = archivo->estructura().largoRegistro;
        pendiente.resize(largo);
        std::memcpy(pendiente.data(), fila, largo);
    }

    QString texto(int fila, int campo) const {
        const motor::CampoDbf& c = campoDbf(campo);
        return motor::textoCampo(archivo->registro(fila) + c.desplazamiento, c.fisico,
                                 archivo->formato());
    }

    void invalidarVista() { vistaValida = false; }

    void asegurarVista() {
        archivo->leer(this);
        if (vistaValida && versionVista == archivo->version()) return;
        if (vistaValida && campoOrden.isEmpty()) {
            // In physical order, rows only ever join at the end
            // (edits never change who is visible), so the view grows instead of being
            // rebuilt: appending many rows stays linear.
            extenderVista();
        } else {
            construirVista();
        }
        if (pos >= 0 && pos < static_cast<int>(vista.size()) && vista[pos] == actual) {
            // The cursor's row kept its place.
        } else if (!vista.empty() && vista.back() == actual) {
            pos = static_cast<int>(vista.size()) - 1;  // the row just appended
        } else if (const auto hallado = std::find(vista.begin(), vista.end(), actual);
                   hallado != vista.end()) {
            pos = static_cast<int>(hallado - vista.begin());
        } else {
            pos = std::clamp(pos, 0, std::max(0, static_cast<int>(vista.size()) - 1));
            actual = vista.empty() ? -1 : vista[pos];
        }
        if (vista.empty()) eofMarca = true;
    }

    void extenderVista() {
        versionVista = archivo->version();
        const int n = archivo->numRegistros();
        for (int i = registrosVista; i < n; ++i) {
            if (!archivo->borrado(i)) vista.push_back(i);
        }
        registrosVista = n;
    }

    void construirVista() {
        vistaValida = true;
        versionVista = archivo->version();
        vista.clear();
        const int n = archivo->numRegistros();
        registrosVista = n;
        vista.reserve(n);
        for (int i = 0; i < n; ++i) {
            if (!archivo->borrado(i)) vista.push_back(i);
        }
        if (!campoOrden.isEmpty()) ordenarVista(indiceCampo(campoOrden));
    }

    // Ascending key, equal keys in append order: numbers by value (blank as 0),
    // other fields by the bytes of their text.
    void ordenarVista(int campo) {
        const motor::CampoDbf& c = campoDbf(campo);
        if (motor::esNumerico(c.fisico)) {
            std::vector<std::pair<double, int>> claves;
            claves.reserve(vista.size());
            for (int fila : vista) {
                const auto v = motor::numeroCampo(archivo->registro(fila) + c.desplazamiento,
                                                  c.fisico, archivo->formato());
                claves.emplace_back(v.value_or(0.0), fila);
            }
            std::stable_sort(claves.begin(), claves.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (size_t i = 0; i < claves.size(); ++i) vista[i] = claves[i].second;
        } else {
            const int ancho = c.fisico.ancho;
            std::stable_sort(vista.begin(), vista.end(), [&](int a, int b) {
                const auto* pa =
                    reinterpret_cast<const unsigned char*>(archivo->registro(a) + c.desplazamiento);
                const auto* pb =
                    reinterpret_cast<const unsigned char*>(archivo->registro(b) + c.desplazamiento);
                return std::lexicographical_compare(pa, pa + ancho, pb, pb + ancho);
            });
        }
    }

    void irA(int posicion) {
        asegurarVista();
        if (vista.empty()) {
            pos = 0;
            actual = -1;
            eofMarca = true;
            return;
        }
        pos = std::clamp(posicion, 0, static_cast<int>(vista.size()) - 1);
        actual = vista[pos];
        eofMarca = false;
    }

    void primero() {
        if (!archivo) return;
        invalidarVista();
        irA(0);
    }

    // Moving the cursor posts a pending insert or edit first, as dBase tools do.
    void exigirNavegando() {
        exigirAbierta();
        guardar();
    }

    void exigirEdicion() const {
        exigirAbierta();
        if (estado != Estado::Editando && estado != Estado::Insertando) {
            error(QStringLiteral("no está en edición"));
        }
    }

    char* campoPendiente(int campo) {
        exigirEdicion();
        return pendiente.data() + campoDbf(campo).desplazamiento;
    }

    // The date for the header of an updated file. Asking the clock means reading the
    // time zone each time, so a run of posts asks it at most once a second.
    QDate hoy() {
        if (!fechaReciente.isValid() || !desdeFecha.isValid() || desdeFecha.hasExpired(1000)) {
            fechaReciente = reloj->ahora().date();
            desdeFecha.start();
        }
        return fechaReciente;
    }
    QDate fechaReciente;
    QElapsedTimer desdeFecha;

    void guardar() {
        if (estado == Estado::Insertando) {
            actual = archivo->anadir(pendiente.constData(), hoy(), this);
        } else if (estado == Estado::Editando) {
            archivo->reescribir(actual, pendiente.constData(), hoy());
        } else {
            return;
        }
        estado = Estado::Navegando;
        eofMarca = false;
        // The file's version moved on: the view catches up at its next use.
    }

    void liberar() {
        if (!archivo) return;
        auto soltado = std::move(archivo);
        archivo.reset();
        campos.clear();
        vista.clear();
        vistaValida = false;
        pendiente.clear();
        actual = -1;
        pos = 0;
        eofMarca = true;
        estado = Estado::Inactiva;
        soltado->soltar();
    }
};

Tabla::Tabla(const QString& carpeta, const QString& nombre, bool exclusiva)
    : d(std::make_unique<Impl>()) {
    d->carpeta = carpeta;
    d->nombreTabla = nombre;
    d->exclusiva = exclusiva;
}

Tabla::Tabla(Tabla&& otra) noexcept = default;

Tabla::~Tabla() {
    if (!d || !d->archivo) return;
    d->estado = Estado::Navegando;  // a pending edit is dropped
    try {
        d->liberar();
    } catch (const ErrorVarnolo&) {
        // Nothing can be reported from a destructor; close() reports it.
    }
}

void Tabla::setExclusive(bool exclusiva) {
    d->exigirCerrada();
    d->exclusiva = exclusiva;
}
void Tabla::setReloj(std::shared_ptr<const Reloj> reloj) {
    if (reloj) d->reloj = std::move(reloj);
    d->fechaReciente = QDate();
}
void Tabla::setBeforePost(std::function<void()> antes) { d->antesDeGuardar = std::move(antes); }
QString Tabla::rutaArchivo() const { return d->ruta(); }
QString Tabla::nombre() const { return d->nombre(); }

QList<DefCampo>& Tabla::fieldDefs() { return d->defs; }
QList<DefIndice>& Tabla::indexDefs() { return d->indices; }

void Tabla::createTable() {
    d->exigirCerrada();
    const QString nombre = d->nombre();
    const QString ruta = d->ruta();
    const QDate fecha = d->hoy();
    const motor::EstructuraDbf estructura =
        motor::estructuraNueva(d->defs, d->indices, fecha, nombre);
    if (ArchivoTabla::abiertoEnProceso(ruta)) {
        throw ErrorTabla(QStringLiteral("No se puede crear la tabla %1: está abierta (%2)")
                             .arg(nombre, nativa(ruta)));
    }
    // The new file is written through an exclusive hold, so that no other process
    // has it open while it is replaced.
    ArchivoBloqueado::Fallo fallo = ArchivoBloqueado::Fallo::Ninguno;
    QString detalle;
    auto archivo = motor::tablasCreadas::retirar(ruta);  // created before in this conversion
    if (!archivo) {
        archivo = ArchivoBloqueado::abrir(ruta, ArchivoBloqueado::Acceso::Exclusivo, true, fallo,
                                          detalle);
    }
    if (!archivo) {
        if (fallo == ArchivoBloqueado::Fallo::EnUso) {
            throw ErrorTabla(
                QStringLiteral("No se puede crear la tabla %1: está en uso por otro programa (%2)")
                    .arg(nombre, nativa(ruta)));
        }
        throw ErrorTabla(QStringLiteral("No se puede crear la tabla %1: %2 (%3)")
                             .arg(nombre, detalle, nativa(ruta)));
    }
    const QByteArray contenido = motor::codificarCabecera(estructura) + char(0x1A);
    QString motivo;
    if (archivo->soloLectura()) {
        motivo = QStringLiteral("el archivo es de solo lectura");
    } else if (!archivo->truncar(0)) {
        motivo = archivo->motivoFallo();
    } else {
        Archivos::actuales().escribir(*archivo, 0, contenido.constData(), contenido.size(), motivo);
    }
    if (!motivo.isEmpty()) {
        throw ErrorTabla(QStringLiteral("No se puede crear la tabla %1: %2 (%3)")
                             .arg(nombre, motivo, nativa(ruta)));
    }
    const QString rutaMdx = ArchivoTabla::rutaIndice(ruta);
    if (d->indices.isEmpty()) {
        if (QFileInfo::exists(rutaMdx)) Archivos::actuales().borrar(rutaMdx, {});
    } else {
        QList<TagMdx> tags;
        for (const DefIndice& indice : d->indices) {
            tags.append(TagMdx{indice.nombre.toUpper(), indice.campo.toUpper(), {}});
        }
        escribirIndiceMdx(rutaMdx, nombre, tags, fecha, fecha);
    }
    // During a conversion the exclusive hold goes on until the table is opened.
    motor::tablasCreadas::guardar(ruta, std::move(archivo));
}

void Tabla::open() {
    if (d->archivo) return;
    d->archivo = ArchivoTabla::tomar(d->ruta(), d->nombre(), d->exclusiva);
    d->estado = Estado::Navegando;
    d->campos.clear();
    for (const motor::CampoDbf& c : d->archivo->estructura().campos) d->campos.append(c.fisico);
    try {
        d->primero();
    } catch (const ErrorVarnolo&) {
        d->liberar();  // an order on a missing field: the open fails
        throw;
    }
}

void Tabla::close() {
    if (!d->archivo) return;
    try {
        d->guardar();
    } catch (const ErrorVarnolo&) {
        d->estado = Estado::Navegando;
        d->liberar();  // closed all the same; the failure is reported
        throw;
    }
    d->liberar();
}

bool Tabla::active() const { return d->archivo != nullptr; }
Tabla::Estado Tabla::estado() const { return d->estado; }

void Tabla::first() {
    d->exigirNavegando();
    d->irA(0);
}

void Tabla::next() {
    d->exigirNavegando();
    d->asegurarVista();
    if (d->vista.empty() || d->pos + 1 >= static_cast<int>(d->vista.size())) {
        d->eofMarca = true;
        return;
    }
    d->irA(d->pos + 1);
}

bool Tabla::eof() const {
    if (!d->archivo) return true;
    d->asegurarVista();
    return d->eofMarca || d->vista.empty();
}

void Tabla::setRecNo(int posicion) {
    d->exigirNavegando();
    d->irA(posicion);
}

void Tabla::setIndexFieldNames(const QString& campo) {
    const QString anterior = d->campoOrden;
    d->campoOrden = campo.trimmed();
    if (!d->archivo) return;
    if (!d->campoOrden.isEmpty() && d->archivo->indiceCampo(d->campoOrden) < 0) {
        d->campoOrden = anterior;
        d->error(QStringLiteral("no tiene el campo %1").arg(campo));
    }
    d->primero();
}

bool Tabla::locate(const QString& campos, const QStringList& valores) {
    d->exigirNavegando();
    const QStringList nombres = campos.split(u';');
    if (nombres.size() != valores.size()) {
        d->error(QStringLiteral("no puede buscar %1 valores en los campos %2")
                     .arg(valores.size())
                     .arg(campos));
    }
    std::vector<int> indices;
    for (const QString& n : nombres) indices.push_back(d->indiceCampo(n));
    d->asegurarVista();
    for (size_t p = 0; p < d->vista.size(); ++p) {
        bool iguales = true;
        for (size_t k = 0; k < indices.size() && iguales; ++k) {
            iguales = d->texto(d->vista[p], indices[k]) == valores[static_cast<qsizetype>(k)];
        }
        if (iguales) {
            d->irA(static_cast<int>(p));
            return true;
        }
    }
    return false;
}

bool Tabla::locate(const QString& campo, int valor) {
    d->exigirNavegando();
    const int i = d->indiceCampo(campo);
    const motor::CampoDbf& c = d->campoDbf(i);
    const bool numerico = motor::esNumerico(c.fisico);
    d->asegurarVista();
    for (size_t p = 0; p < d->vista.size(); ++p) {
        const int fila = d->vista[p];
        bool igual = false;
        if (numerico) {
            const auto v = motor::numeroCampo(d->archivo->registro(fila) + c.desplazamiento,
                                              c.fisico, d->archivo->formato());
            igual = v && *v == valor;
        } else {
            // A text field holding digits: compared by its whole-number value.
            bool ok = false;
            const int v = d->texto(fila, i).trimmed().toInt(&ok, 10);
            igual = ok && v == valor;
        }
        if (igual) {
            d->irA(static_cast<int>(p));
            return true;
        }
    }
    return false;
}

int Tabla::recordCount() const {
    d->exigirAbierta();
    d->asegurarVista();
    return static_cast<int>(d->vista.size());
}

void Tabla::append() {
    d->exigirAbierta();
    d->guardar();
    d->asegurarVista();
    d->cargarPendiente(d->archivo->filaEnBlanco().constData());
    d->estado = Estado::Insertando;
}

void Tabla::edit() {
    d->exigirAbierta();
    if (d->estado == Estado::Editando || d->estado == Estado::Insertando) return;
    d->asegurarVista();
    if (d->actual < 0) d->error(QStringLiteral("no tiene una fila que editar"));
    d->cargarPendiente(d->archivo->registro(d->actual));
    d->estado = Estado::Editando;
}

void Tabla::post() {
    d->exigirAbierta();
    if (d->antesDeGuardar) d->antesDeGuardar();
    d->guardar();
}

const QList<CampoFisico>& Tabla::campos() const { return d->campos; }

const CampoFisico& Tabla::fieldByName(const QString& campo) const {
    return d->campos[d->indiceCampo(campo)];
}

bool Tabla::tieneCampo(const QString& campo) const {
    return d->archivo && d->archivo->indiceCampo(campo) >= 0;
}

QString Tabla::asString(const QString& campo) const {
    const int i = d->indiceCampo(campo);
    return motor::textoCampo(d->valor(i), d->campoDbf(i).fisico, d->archivo->formato());
}

int Tabla::asInteger(const QString& campo) const {
    const int i = d->indiceCampo(campo);
    const motor::CampoDbf& c = d->campoDbf(i);
    const char* bytes = d->valor(i);
    const auto& formato = d->archivo->formato();
    if (motor::esNumerico(c.fisico)) {
        if (motor::campoEnBlanco(bytes, c.fisico, formato)) return 0;
        const auto v = motor::numeroCampo(bytes, c.fisico, formato);
        if (!v || std::fabs(*v) > 2147483647.0) {
            throw ErrorConversion(motor::textoCampo(bytes, c.fisico, formato));
        }
        return static_cast<int>(std::lround(*v));
    }
    if (c.fisico.tipo == 'L') return motor::textoCampo(bytes, c.fisico, formato) == u"T" ? 1 : 0;
    const QString texto = motor::textoCampo(bytes, c.fisico, formato);
    if (texto.trimmed().isEmpty()) return 0;
    return aEntero(texto.trimmed());
}

double Tabla::asFloat(const QString& campo) const {
    const int i = d->indiceCampo(campo);
    const motor::CampoDbf& c = d->campoDbf(i);
    const char* bytes = d->valor(i);
    const auto& formato = d->archivo->formato();
    const QString texto = motor::textoCampo(bytes, c.fisico, formato);
    if (c.fisico.tipo == 'L') return texto == u"T" ? 1.0 : 0.0;
    if (motor::campoEnBlanco(bytes, c.fisico, formato) || texto.trimmed().isEmpty()) return 0.0;
    if (motor::esNumerico(c.fisico)) {
        if (const auto v = motor::numeroCampo(bytes, c.fisico, formato)) return *v;
        throw ErrorConversion(texto);
    }
    bool ok = false;
    const double v = texto.trimmed().toDouble(&ok);
    if (!ok) throw ErrorConversion(texto);
    return v;
}

bool Tabla::asBoolean(const QString& campo) const {
    const int i = d->indiceCampo(campo);
    const motor::CampoDbf& c = d->campoDbf(i);
    if (c.fisico.tipo == 'L' || c.fisico.tipo == 'C') {
        return motor::textoCampo(d->valor(i), c.fisico, d->archivo->formato()) == u"T";
    }
    return asFloat(campo) != 0.0;
}

bool Tabla::isNull(const QString& campo) const {
    const int i = d->indiceCampo(campo);
    return motor::campoEnBlanco(d->valor(i), d->campoDbf(i).fisico, d->archivo->formato());
}

void Tabla::setString(const QString& campo, const QString& valor) {
    const int i = d->indiceCampo(campo);
    motor::guardarTexto(d->campoPendiente(i), d->campoDbf(i).fisico, d->archivo->formato(), valor,
                        d->archivo->nombre());
}

void Tabla::setInteger(const QString& campo, int valor) {
    const int i = d->indiceCampo(campo);
    motor::guardarNumero(d->campoPendiente(i), d->campoDbf(i).fisico, d->archivo->formato(), valor,
                         d->archivo->nombre());
}

void Tabla::setFloat(const QString& campo, double valor) {
    const int i = d->indiceCampo(campo);
    motor::guardarNumero(d->campoPendiente(i), d->campoDbf(i).fisico, d->archivo->formato(), valor,
                         d->archivo->nombre());
}

void Tabla::setBoolean(const QString& campo, bool valor) {
    const int i = d->indiceCampo(campo);
    motor::guardarLogico(d->campoPendiente(i), d->campoDbf(i).fisico, d->archivo->formato(), valor,
                         d->archivo->nombre());
}

qint64 filasSegunCabecera(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray cabeza = f.read(8);
    if (cabeza.size() != 8) return -1;
    const auto byte = [&](int i) { return static_cast<quint32>(static_cast<quint8>(cabeza[i])); };
    return byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24;
}

void borrarSiExiste(const QString& ruta) {
    if (!QFileInfo::exists(ruta)) return;
    // An index file goes with its table: it stays while the table is held.
    QString guardian = ruta;
    if (ruta.endsWith(QStringLiteral(".mdx"), Qt::CaseInsensitive)) {
        guardian = buscarSinMayusculas(ruta.left(ruta.size() - 4) + QStringLiteral(".DBF"));
    }
    if (ArchivoTabla::abiertoEnProceso(guardian) || ArchivoTabla::abiertoEnProceso(ruta)) return;
    Archivos::actuales().borrar(ruta, guardian);
}

}  // namespace varnolo
