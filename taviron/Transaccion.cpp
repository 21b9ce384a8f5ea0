#include "taviron/Transaccion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

#include "base/Archivos.h"
#include "base/BloqueoArchivo.h"
#include "base/Errores.h"
#include "base/ReemplazoArchivo.h"
#include "taviron/Copias.h"
#include "taviron/ReservaCarpeta.h"

namespace varnolo {

namespace {

const QByteArray kCabecera = "VARNOLO-DIARIO 1";
const QByteArray kFin = "FIN";

/// One step of a replacement: a file of the staging folder moved in place of one of
/// the work folder, or a file of the work folder removed.
struct Paso {
    enum class Tipo { Borrar, Mover } tipo;
    QString origen;   ///< in the staging folder (Mover)
    QString destino;  ///< in the work folder
};

QString nativa(const QString& ruta) { return QDir::toNativeSeparators(ruta); }

/// The name of the file of the work folder that `nombre` names with the letter case
/// ignored, as the engine finds it; `nombre` itself when there is none.
QString nombreEnCarpeta(const QString& trabajo, const QString& nombre) {
    const QStringList hallados =
        QDir(trabajo).entryList({nombre}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& h : hallados) {
        if (h == nombre) return h;
    }
    return hallados.isEmpty() ? nombre : hallados.first();
}

QByteArray escribirDiario(const QList<Paso>& pasos) {
    QByteArray texto = kCabecera + '\n';
    for (const Paso& p : pasos) {
        if (p.tipo == Paso::Tipo::Borrar) {
            texto += "BORRAR\t" + p.destino.toUtf8() + '\n';
        } else {
            texto += "MOVER\t" + p.origen.toUtf8() + '\t' + p.destino.toUtf8() + '\n';
        }
    }
    return texto + kFin + '\n';
}

/// The steps of a complete journal; nothing when it is not one (cut while written,
/// which its atomic save makes unlikely, or not ours).
std::optional<QList<Paso>> leerDiario(const QByteArray& texto) {
    QList<QByteArray> lineas = texto.split('\n');
    if (lineas.size() < 3 || lineas.first() != kCabecera || !lineas.last().isEmpty() ||
        lineas[lineas.size() - 2] != kFin) {
        return std::nullopt;
    }
    QList<Paso> pasos;
    for (qsizetype i = 1; i < lineas.size() - 2; ++i) {
        const QList<QByteArray> partes = lineas[i].split('\t');
        const auto seguro = [](const QByteArray& n) {
            const QString s = QString::fromUtf8(n);
            return !s.isEmpty() && !s.contains(u'/') && !s.contains(u'\\') && s != u".."
                       ? s
                       : QString();
        };
        if (partes.size() == 2 && partes[0] == "BORRAR" && !seguro(partes[1]).isEmpty()) {
            pasos.append({Paso::Tipo::Borrar, {}, seguro(partes[1])});
        } else if (partes.size() == 3 && partes[0] == "MOVER" && !seguro(partes[1]).isEmpty() &&
                   !seguro(partes[2]).isEmpty()) {
            pasos.append({Paso::Tipo::Mover, seguro(partes[1]), seguro(partes[2])});
        } else {
            return std::nullopt;
        }
    }
    return pasos;
}

/// Runs the steps; a step already done (its file moved or gone) is passed over, so
/// that the same journal can be run again after a cut.
void aplicar(const QString& trabajo, const QString& preparacion, const QList<Paso>& pasos) {
    const QDir t(trabajo), p(preparacion);
    for (const Paso& paso : pasos) {
        if (paso.tipo == Paso::Tipo::Borrar) {
            const QString ruta = t.filePath(paso.destino);
            if (QFileInfo::exists(ruta) && !QFile::remove(ruta)) {
                throw ErrorVarnolo(
                    QStringLiteral("No se puede borrar %1: %2")
                        .arg(nativa(ruta), QStringLiteral("el archivo está en uso")));
            }
            continue;
        }
        const QString origen = p.filePath(paso.origen);
        if (!QFileInfo::exists(origen)) continue;
        QString motivo;
        if (!Archivos::actuales().reemplazar(origen, t.filePath(paso.destino), motivo)) {
            throw ErrorVarnolo(QStringLiteral("No se puede poner la tabla %1 en su lugar: %2")
                                   .arg(nativa(t.filePath(paso.destino)), motivo));
        }
    }
}

void borrarCarpeta(const QString& ruta) {
    QDir d(ruta);
    if (d.exists()) d.removeRecursively();
}

}  // namespace

void recuperarCarpeta(const QString& trabajo) {
    const QDir t(trabajo);
    const QString diario = t.filePath(kArchivoDiario);
    const QString preparacion = t.filePath(kCarpetaPreparacion);
    if (QFileInfo::exists(diario)) {
        QFile f(diario);
        std::optional<QList<Paso>> pasos;
        if (f.open(QIODevice::ReadOnly)) pasos = leerDiario(f.readAll());
        f.close();
        if (pasos) aplicar(trabajo, preparacion, *pasos);
        QFile::remove(diario);
    }
    borrarCarpeta(preparacion);
    limpiarCopiasIncompletas(trabajo);
}

void recuperarCarpetaSiLibre(const QString& trabajo) {
    if (trabajo.isEmpty() || !QFileInfo(trabajo).isDir()) return;
    try {
        const ReservaCarpeta reserva(trabajo);
        recuperarCarpeta(trabajo);
    } catch (const ErrorVarnolo&) {
        // Held by another conversion, which recovers it; or a move failed, and the
        // conversion that takes the folder next reports it.
    }
}

RetencionTablas::RetencionTablas(const QString& trabajo, const QList<const DefTabla*>& tablas) {
    for (const DefTabla* def : tablas) {
        const QString ruta =
            QDir(trabajo).filePath(nombreEnCarpeta(trabajo, def->nombre + QStringLiteral(".DBF")));
        if (!QFileInfo(ruta).isFile()) continue;
        plataforma::ArchivoBloqueado::Fallo fallo = plataforma::ArchivoBloqueado::Fallo::Ninguno;
        QString detalle;
        auto archivo = plataforma::ArchivoBloqueado::abrir(
            ruta, plataforma::ArchivoBloqueado::Acceso::Exclusivo, false, fallo, detalle);
        if (!archivo) {
            if (fallo == plataforma::ArchivoBloqueado::Fallo::EnUso) {
                throw ErrorTabla(QStringLiteral("La tabla %1 está en uso por otro programa (%2)")
                                     .arg(def->nombre, nativa(ruta)));
            }
            throw ErrorTabla(QStringLiteral("No se puede abrir la tabla %1: %2 (%3)")
                                 .arg(def->nombre, detalle, nativa(ruta)));
        }
        archivos_.push_back(std::move(archivo));
    }
}

RetencionTablas::~RetencionTablas() = default;

void RetencionTablas::soltar() { archivos_.clear(); }

Preparacion::Preparacion(const QString& trabajo, const QString& primeraTabla)
    : trabajo_(trabajo), carpeta_(QDir(trabajo).filePath(kCarpetaPreparacion)) {
    borrarCarpeta(carpeta_);
    if (!QDir(trabajo).mkdir(kCarpetaPreparacion)) {
        // The same message as the first table's creation in the folder would give.
        const QString motivo = QFileInfo(trabajo).isDir()
                                   ? QStringLiteral("no tiene permiso")
                                   : QStringLiteral("el archivo o la carpeta no existe");
        throw ErrorTabla(
            QStringLiteral("No se puede crear la tabla %1: %2 (%3)")
                .arg(primeraTabla, motivo,
                     nativa(QDir(trabajo).filePath(primeraTabla + QStringLiteral(".DBF")))));
    }
}

Preparacion::~Preparacion() {
    if (!confirmada_) borrarCarpeta(carpeta_);
}

QString Preparacion::comoEnTrabajo(const QString& texto) const {
    QString r = texto;
    r.replace(nativa(carpeta_) + QDir::separator(), nativa(trabajo_) + QDir::separator());
    return r;
}

void Preparacion::confirmar(const QList<const DefTabla*>& tablas, const QDateTime& momento,
                            const QString& origen) {
    const QDir t(trabajo_), p(carpeta_);
    QList<Paso> pasos;
    QStringList reemplazados;
    for (const DefTabla* def : tablas) {
        const QString dbf = def->nombre + QStringLiteral(".DBF");
        const QString mdx = def->nombre + QStringLiteral(".MDX");
        if (!QFileInfo::exists(p.filePath(dbf))) {
            throw ErrorVarnolo(QStringLiteral("No se preparó la tabla %1.").arg(def->nombre));
        }
        const QString destino = nombreEnCarpeta(trabajo_, dbf);
        if (QFileInfo::exists(t.filePath(destino))) reemplazados << destino;
        pasos.append({Paso::Tipo::Mover, dbf, destino});
        if (!def->borraMdx) continue;
        const QString destinoMdx = nombreEnCarpeta(trabajo_, mdx);
        const bool hayMdx = QFileInfo::exists(t.filePath(destinoMdx));
        if (hayMdx) reemplazados << destinoMdx;
        if (QFileInfo::exists(p.filePath(mdx))) {
            pasos.append({Paso::Tipo::Mover, mdx, destinoMdx});
        } else if (hayMdx) {
            pasos.prepend({Paso::Tipo::Borrar, {}, destinoMdx});
        }
    }

    // What is replaced is kept first: until the journal is in place nothing changes.
    const QString copia = guardarCopia(trabajo_, reemplazados, momento, origen);
    const auto deshacerCopia = [&] {
        if (!copia.isEmpty()) borrarCarpeta(QDir(t.filePath(kCarpetaCopias)).filePath(copia));
    };

    // Every staged file is on disk before the journal says to move it.
    QString motivo;
    for (const Paso& paso : pasos) {
        if (paso.tipo == Paso::Tipo::Mover &&
            !plataforma::sincronizarArchivo(p.filePath(paso.origen), motivo)) {
            deshacerCopia();
            throw ErrorVarnolo(QStringLiteral("No se puede escribir la tabla %1: %2")
                                   .arg(nativa(t.filePath(paso.destino)), motivo));
        }
    }
    const QString diario = t.filePath(kArchivoDiario);
    QSaveFile f(diario);
    const QByteArray texto = escribirDiario(pasos);
    if (!f.open(QIODevice::WriteOnly) ||
        !Archivos::actuales().escribir(f, texto.constData(), texto.size(), motivo) ||
        !Archivos::actuales().confirmar(f, motivo)) {
        if (motivo.isEmpty()) motivo = f.errorString();
        deshacerCopia();
        throw ErrorVarnolo(
            QStringLiteral("No se puede escribir %1: %2").arg(nativa(diario), motivo));
    }
    confirmada_ = true;
    aplicar(trabajo_, carpeta_, pasos);
    QFile::remove(diario);
    borrarCarpeta(carpeta_);
}

}  // namespace varnolo
