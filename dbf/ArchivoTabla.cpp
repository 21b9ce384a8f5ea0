#include "dbf/ArchivoTabla.h"
#include "base/Archivos.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <limits>

#include "base/Errores.h"
#include "dbf/IndiceMdx.h"
#include "dbf/TablasCreadas.h"

namespace varnolo::motor {

namespace {

using plataforma::ArchivoBloqueado;

// The open files of this process, by canonical path.
QHash<QString, std::shared_ptr<ArchivoTabla>>& abiertos() {
    static QHash<QString, std::shared_ptr<ArchivoTabla>> mapa;
    return mapa;
}

QString claveDe(const QString& ruta) {
    QString clave = QFileInfo(ruta).canonicalFilePath();
    if (clave.isEmpty()) clave = QFileInfo(ruta).absoluteFilePath();
#ifdef Q_OS_WIN
    clave = clave.toLower();
#endif
    return clave;
}

QString nativa(const QString& ruta) { return QDir::toNativeSeparators(ruta); }

constexpr char kFinArchivo = 0x1A;

// Rows appended under an exclusive hold go to disk once this many bytes wait.
constexpr qsizetype kBufferEscritura = 256 * 1024;

}  // namespace

bool ArchivoTabla::abiertoEnProceso(const QString& ruta) {
    return abiertos().contains(claveDe(ruta));
}

QString ArchivoTabla::rutaIndice(const QString& rutaDbf) {
    const QFileInfo info(rutaDbf);
    QString base = info.fileName();
    const bool minusculas = base.endsWith(QStringLiteral(".dbf"));
    if (base.endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive)) base.chop(4);
    const QString nombre = base + (minusculas ? QStringLiteral(".mdx") : QStringLiteral(".MDX"));
    const QDir carpeta = info.dir();
    const QStringList existentes = carpeta.entryList({base + QStringLiteral(".*")}, QDir::Files);
    for (const QString& e : existentes) {
        if (e.compare(nombre, Qt::CaseInsensitive) == 0) return carpeta.filePath(e);
    }
    return carpeta.filePath(nombre);
}

std::shared_ptr<ArchivoTabla> ArchivoTabla::tomar(const QString& ruta, const QString& nombre,
                                                  bool exclusiva) {
    const QString clave = claveDe(ruta);
    const auto acceso =
        exclusiva ? ArchivoBloqueado::Acceso::Exclusivo : ArchivoBloqueado::Acceso::Compartido;
    if (auto hallado = abiertos().value(clave)) {
        if (exclusiva) {
            QString detalle;
            if (hallado->archivo_->hacerExclusivo(detalle) != ArchivoBloqueado::Fallo::Ninguno) {
                throw ErrorTabla(QStringLiteral("La tabla %1 está en uso por otro programa (%2)")
                                     .arg(nombre, nativa(ruta)));
            }
        }
        ++hallado->holders_;
        return hallado;
    }

    ArchivoBloqueado::Fallo fallo = ArchivoBloqueado::Fallo::Ninguno;
    QString detalle;
    // A table this conversion has just created is still held exclusively: that hold
    // goes on, so nobody gets in between creating it and filling it.
    auto archivo = tablasCreadas::retirar(ruta);
    if (!archivo) archivo = ArchivoBloqueado::abrir(ruta, acceso, false, fallo, detalle);
    if (!archivo) {
        switch (fallo) {
            case ArchivoBloqueado::Fallo::NoExiste:
                throw ErrorTabla(
                    QStringLiteral("No se puede abrir la tabla %1: el archivo no existe (%2)")
                        .arg(nombre, nativa(ruta)));
            case ArchivoBloqueado::Fallo::EnUso:
                throw ErrorTabla(QStringLiteral("La tabla %1 está en uso por otro programa (%2)")
                                     .arg(nombre, nativa(ruta)));
            default:
                throw ErrorTabla(QStringLiteral("No se puede abrir la tabla %1: %2 (%3)")
                                     .arg(nombre, detalle, nativa(ruta)));
        }
    }

    std::shared_ptr<ArchivoTabla> t(new ArchivoTabla);
    t->ruta_ = ruta;
    t->clave_ = clave;
    t->nombre_ = nombre;
    const qint64 tamano = archivo->tamano();
    if (tamano < 0 || tamano > std::numeric_limits<int>::max()) {
        throw ErrorTabla(
            QStringLiteral("No se puede leer la tabla %1 (%2)").arg(nombre, nativa(ruta)));
    }
    t->datos_.resize(static_cast<qsizetype>(tamano));
    if (tamano > 0 && !archivo->leer(0, t->datos_.data(), tamano)) {
        throw ErrorTabla(
            QStringLiteral("No se puede leer la tabla %1 (%2)").arg(nombre, nativa(ruta)));
    }
    t->estructura_ = leerEstructura(t->datos_, nombre, ruta);
    t->formato_ = FormatoValores::de(t->estructura_);

    // The file must hold every record its header counts: a record cut short (other
    // than by the end marker), or a file that ends records early, is damage. Bytes
    // after the last record are left alone.
    const qint64 cuerpo = tamano - t->estructura_.largoCabecera;
    const qint64 completos = cuerpo / t->estructura_.largoRegistro;
    const qint64 resto = cuerpo % t->estructura_.largoRegistro;
    const qint64 registros = t->estructura_.registrosCabecera;
    if (registros > completos) {
        const bool soloMarca = resto == 1 && t->datos_.back() == kFinArchivo;
        if (resto != 0 && !soloMarca) {
            throw ErrorTabla(
                QStringLiteral("La tabla %1 está dañada: el registro %2 está cortado (%3)")
                    .arg(nombre)
                    .arg(completos + 1)
                    .arg(nativa(ruta)));
        }
        throw ErrorTabla(QStringLiteral("La tabla %1 está dañada: su cabecera cuenta %2 "
                                        "registros y el archivo solo tiene %3 (%4)")
                             .arg(nombre)
                             .arg(registros)
                             .arg(completos)
                             .arg(nativa(ruta)));
    }
    t->numRegistros_ = static_cast<int>(registros);
    t->enDisco_ = t->numRegistros_;
    t->datos_.truncate(t->estructura_.largoCabecera +
                       static_cast<qsizetype>(registros) * t->estructura_.largoRegistro);
    for (int i = 0; i < t->estructura_.campos.size(); ++i) {
        t->campos_.insert(t->estructura_.campos[i].fisico.nombre, i);
    }
    t->filaEnBlanco_ = QByteArray(t->estructura_.largoRegistro, ' ');
    for (const CampoDbf& c : t->estructura_.campos) {
        ponerEnBlanco(t->filaEnBlanco_.data() + c.desplazamiento, c.fisico);
    }
    t->archivo_ = std::move(archivo);
    t->holders_ = 1;
    abiertos().insert(clave, t);
    return t;
}

ArchivoTabla::~ArchivoTabla() {
    try {
        volcar();
    } catch (const ErrorVarnolo&) {
        // Nothing can be reported from here; soltar() has reported it already.
    }
}

void ArchivoTabla::soltar() {
    // Released whatever happens to the rows or the index: the registry lets go of
    // the file when this function returns after the last holder.
    struct Liberar {
        ArchivoTabla* t;
        ~Liberar() {
            if (--t->holders_ == 0) abiertos().remove(t->clave_);
        }
    } liberar{this};
    escritor_ = nullptr;
    volcar();
    if (holders_ == 1 && cambiado_) escribirIndice();
}

int ArchivoTabla::indiceCampo(const QString& campo) const {
    // The steps name the same few fields for every row, by literals (the catalogue's
    // field names): characters that stay at one address, unchanged, for the whole run.
    // Those are remembered by that address; any other name is looked up each time.
    if (!campo.data_ptr().isMutable()) {  // static characters, as a literal's
        CampoRecordado& r =
            recordados_[(reinterpret_cast<quintptr>(campo.constData()) >> 3) % kRecordados];
        if (r.nombre != campo.constData() || r.largo != campo.size()) {
            r = {campo.constData(), campo.size(), buscarCampo(campo)};
        }
        return r.indice;
    }
    return buscarCampo(campo);
}

int ArchivoTabla::buscarCampo(const QString& campo) const {
    // Callers name fields as stored; only other spellings pay for the conversion.
    if (const auto hallado = campos_.constFind(campo); hallado != campos_.constEnd()) {
        return *hallado;
    }
    return campos_.value(campo.trimmed().toUpper(), -1);
}

QByteArray ArchivoTabla::bytesEnDisco(const QString& ruta) {
    const std::shared_ptr<ArchivoTabla> t = abiertos().value(claveDe(ruta));
    if (!t) return {};
    const qint64 tamano = t->archivo_->tamano();
    QByteArray bytes(static_cast<qsizetype>(qMax<qint64>(0, tamano)), Qt::Uninitialized);
    if (tamano <= 0 || !t->archivo_->leer(0, bytes.data(), tamano)) return {};
    return bytes;
}

void ArchivoTabla::comprobarEscritura() const {
    if (archivo_->soloLectura()) {
        throw ErrorTabla(
            QStringLiteral("La tabla %1 es de solo lectura (%2)").arg(nombre_, nativa(ruta_)));
    }
}

void ArchivoTabla::escribir(qint64 posicion, const char* bytes, qint64 largo) {
    QString motivo;
    if (!Archivos::actuales().escribir(*archivo_, posicion, bytes, largo, motivo)) {
        throw ErrorTabla(QStringLiteral("No se puede escribir en la tabla %1: %2 (%3)")
                             .arg(nombre_, motivo, nativa(ruta_)));
    }
}

void ArchivoTabla::escribirCabecera(QDate fecha) {
    estructura_.fecha = fecha;
    estructura_.registrosCabecera = static_cast<quint32>(numRegistros_);
    ponerFechaYCuenta(datos_.data() + 1, fecha, estructura_.registrosCabecera);
    escribir(1, datos_.constData() + 1, 7);
}

void ArchivoTabla::volcar() {
    if (enDisco_ == numRegistros_) return;
    // The records and the end marker first, then the count that admits them: a file
    // cut short at any moment never counts a row it does not hold.
    const qsizetype desde = enMemoria(enDisco_);
    datos_.append(kFinArchivo);
    QString motivo;
    const bool escrito =
        Archivos::actuales().escribir(*archivo_, posicionRegistro(enDisco_),
                                      datos_.constData() + desde, datos_.size() - desde, motivo);
    datos_.chop(1);
    if (!escrito) {
        throw ErrorTabla(QStringLiteral("No se puede escribir en la tabla %1: %2 (%3)")
                             .arg(nombre_, motivo, nativa(ruta_)));
    }
    escribirCabecera(fechaPendiente_);
    enDisco_ = numRegistros_;
    descartarEscritos();
}

void ArchivoTabla::descartarEscritos() {
    // Under a shared hold another process may change the file, and a row read back
    // may be held by a pointer: in either case the rows stay.
    if (conservar_ || anterioresLeidos_ ||
        archivo_->acceso() != ArchivoBloqueado::Acceso::Exclusivo) {
        return;
    }
    if (enDisco_ != numRegistros_ || base_ == numRegistros_) return;
    // borrado() answers for rows out of memory without reading them: none may be deleted.
    for (int i = base_; i < numRegistros_; ++i) {
        if (registro(i)[0] == '*') {
            conservar_ = true;
            return;
        }
    }
    base_ = numRegistros_;
    datos_.truncate(estructura_.largoCabecera);
    // The buffer is kept for the rows to come, unless the file was large when opened.
    if (datos_.capacity() > 2 * kBufferEscritura) datos_.squeeze();
}

const char* ArchivoTabla::anteriores(int i) const {
    if (!anterioresLeidos_) {
        const qint64 largo = static_cast<qint64>(base_) * estructura_.largoRegistro;
        QByteArray leidos(static_cast<qsizetype>(largo), Qt::Uninitialized);
        if (!archivo_->leer(estructura_.largoCabecera, leidos.data(), largo)) {
            throw ErrorTabla(
                QStringLiteral("No se puede leer la tabla %1 (%2)").arg(nombre_, nativa(ruta_)));
        }
        anteriores_ = std::move(leidos);
        anterioresLeidos_ = true;
    }
    return anteriores_.constData() + static_cast<qsizetype>(i) * estructura_.largoRegistro;
}

int ArchivoTabla::anadir(const char* registro, QDate fecha, const void* escritor) {
    comprobarEscritura();
    if (escritor != escritor_) volcar();  // rows of another object go first
    datos_.append(registro, estructura_.largoRegistro);
    ++numRegistros_;
    ++version_;
    cambiado_ = true;
    fechaPendiente_ = fecha;
    escritor_ = escritor;
    // Under a shared hold another process may be reading the file: the row goes to
    // disk with its post.
    const bool enEspera = archivo_->acceso() == ArchivoBloqueado::Acceso::Exclusivo &&
                          datos_.size() - enMemoria(enDisco_) < kBufferEscritura;
    if (!enEspera) {
        try {
            volcar();
        } catch (const ErrorVarnolo&) {
            // This post failed: its row is not kept (rows before it wait for the next
            // try), so posting it again does not store it twice.
            datos_.chop(estructura_.largoRegistro);
            --numRegistros_;
            ++version_;
            throw;
        }
    }
    return numRegistros_ - 1;
}

void ArchivoTabla::reescribir(int i, const char* registro, QDate fecha) {
    comprobarEscritura();
    volcar();
    if (i < base_) anteriores(i);  // a row out of memory comes back before it changes
    escribir(posicionRegistro(i), registro, estructura_.largoRegistro);
    char* enLaCopia =
        i < base_ ? anteriores_.data() + static_cast<qsizetype>(i) * estructura_.largoRegistro
                  : datos_.data() + enMemoria(i);
    std::memcpy(enLaCopia, registro, estructura_.largoRegistro);
    ++version_;
    cambiado_ = true;
    escribirCabecera(fecha);
}

void ArchivoTabla::escribirIndice() {
    if (!estructura_.indiceProduccion) return;
    QList<TagMdx> tags;
    for (const CampoDbf& c : estructura_.campos) {
        if (!c.indexado) continue;
        // Only numeric tags can be written; an index over text stays as it is.
        if (!esNumerico(c.fisico)) return;
        TagMdx tag;
        tag.nombre = c.fisico.nombre;
        tag.expresion = c.fisico.nombre;
        for (int i = 0; i < numRegistros_; ++i) {
            if (borrado(i)) continue;
            const auto v = numeroCampo(registro(i) + c.desplazamiento, c.fisico, formato_);
            tag.claves.emplace_back(v.value_or(0.0), static_cast<quint32>(i + 1));
        }
        tags.append(tag);
    }
    if (tags.isEmpty()) return;
    escribirIndiceMdx(rutaIndice(ruta_), nombre_, tags, estructura_.fecha, estructura_.fecha);
    cambiado_ = false;
}

}  // namespace varnolo::motor
