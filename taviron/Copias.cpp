#include "taviron/Copias.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "base/Archivos.h"
#include "base/Errores.h"
#include "taviron/Catalogo.h"
#include "taviron/Transaccion.h"

namespace varnolo {

namespace {

const QString kFormato = QStringLiteral("yyyy-MM-dd HH-mm-ss");
const QString kIncompleta = QStringLiteral(".parcial");

QString nativa(const QString& ruta) { return QDir::toNativeSeparators(ruta); }

/// A name the file systems of both platforms take: no separators or characters that
/// Windows refuses, no trailing dots or blanks.
QString nombreSeguro(const QString& texto) {
    QString r;
    for (const QChar c : texto) {
        r += (c < u' ' || QStringView(u"\\/:*?\"<>|").contains(c)) ? QChar(u'_') : c;
    }
    while (r.endsWith(u'.') || r.endsWith(u' ')) r.chop(1);
    return r.left(80);
}

}  // namespace

QList<Copia> listarCopias(const QString& trabajo) {
    QList<Copia> r;
    const QDir copias(QDir(trabajo).filePath(kCarpetaCopias));
    for (const QString& nombre : copias.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (nombre.endsWith(kIncompleta)) continue;
        Copia c;
        c.nombre = nombre;
        c.ruta = copias.filePath(nombre);
        c.momento = QDateTime::fromString(nombre.left(kFormato.size()), kFormato);
        if (!c.momento.isValid()) continue;
        c.origen = nombre.mid(kFormato.size()).trimmed();
        for (const QString& f : QDir(c.ruta).entryList({QStringLiteral("*.DBF")}, QDir::Files,
                                                       QDir::Name | QDir::IgnoreCase)) {
            c.tablas << f.left(f.size() - 4).toUpper();
        }
        r.append(c);
    }
    std::reverse(r.begin(), r.end());
    return r;
}

QString guardarCopia(const QString& trabajo, const QStringList& archivos, const QDateTime& momento,
                     const QString& origen) {
    if (archivos.isEmpty()) return {};
    const QDir t(trabajo);
    const QDir copias(t.filePath(kCarpetaCopias));
    QString nombre = momento.toString(kFormato) + u' ' + nombreSeguro(origen);
    nombre = nombre.trimmed();
    for (int n = 2; QFileInfo::exists(copias.filePath(nombre)); ++n) {
        nombre = momento.toString(kFormato) + u' ' + nombreSeguro(origen) +
                 QStringLiteral(" (%1)").arg(n);
    }
    const QString parcial = copias.filePath(nombre + kIncompleta);
    QDir(parcial).removeRecursively();
    if (!QDir().mkpath(parcial)) {
        throw ErrorVarnolo(QStringLiteral("No se puede crear la carpeta %1 para la copia de las "
                                          "tablas.")
                               .arg(nativa(parcial)));
    }
    for (const QString& archivo : archivos) {
        QString motivo;
        if (!Archivos::actuales().copiar(t.filePath(archivo), QDir(parcial).filePath(archivo),
                                         motivo)) {
            QDir(parcial).removeRecursively();
            throw ErrorVarnolo(QStringLiteral("No se puede hacer la copia de %1: %2")
                                   .arg(nativa(t.filePath(archivo)), motivo));
        }
    }
    if (!QDir().rename(parcial, copias.filePath(nombre))) {
        QDir(parcial).removeRecursively();
        throw ErrorVarnolo(QStringLiteral("No se puede crear la copia %1 de las tablas.")
                               .arg(nativa(copias.filePath(nombre))));
    }
    // The oldest beyond the last ten go.
    const QList<Copia> todas = listarCopias(trabajo);
    for (qsizetype i = kCopiasGuardadas; i < todas.size(); ++i) {
        QDir(todas[i].ruta).removeRecursively();
    }
    return nombre;
}

void limpiarCopiasIncompletas(const QString& trabajo) {
    const QDir copias(QDir(trabajo).filePath(kCarpetaCopias));
    for (const QString& nombre :
         copias.entryList({QStringLiteral("*") + kIncompleta}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        QDir(copias.filePath(nombre)).removeRecursively();
    }
}

void restaurarCopia(const QString& trabajo, const QString& nombre, const QDateTime& momento) {
    const QList<Copia> copias = listarCopias(trabajo);
    const auto hallada = std::find_if(copias.begin(), copias.end(),
                                      [&](const Copia& c) { return c.nombre == nombre; });
    if (hallada == copias.end()) {
        throw ErrorVarnolo(
            QStringLiteral("No hay ninguna copia «%1» en la carpeta de trabajo.").arg(nombre));
    }
    QList<const DefTabla*> tablas;
    for (const DefTabla* def : catalogo::tablasDeExportacion()) {
        if (hallada->tablas.contains(def->nombre)) tablas << def;
    }
    if (tablas.isEmpty()) {
        throw ErrorVarnolo(QStringLiteral("La copia «%1» no tiene tablas.").arg(nombre));
    }
    Preparacion preparacion(trabajo, tablas.first()->nombre);
    const QDir origen(hallada->ruta);
    for (const QString& archivo : origen.entryList(QDir::Files)) {
        const QString base = QFileInfo(archivo).completeBaseName().toUpper();
        const QString ext = QFileInfo(archivo).suffix().toUpper();
        QString motivo;
        if (!Archivos::actuales().copiar(origen.filePath(archivo),
                                         QDir(preparacion.carpeta()).filePath(base + u'.' + ext),
                                         motivo)) {
            throw ErrorVarnolo(QStringLiteral("No se puede leer la copia %1: %2")
                                   .arg(nativa(origen.filePath(archivo)), motivo));
        }
    }
    preparacion.confirmar(
        tablas, momento,
        QStringLiteral("antes de restaurar %1").arg(hallada->momento.toString(kFormato)));
}

}  // namespace varnolo
