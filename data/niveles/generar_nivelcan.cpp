// Builds the level table NIVELCAN.DBF from its CSV source (see NIVELCAN.csv for
// the format), so that a school can edit its levels with any text editor.
//
//   generar_nivelcan NIVELCAN.csv NIVELCAN.DBF
//
// The table is written beside its final name and moved into place only when it is
// complete; a bad line stops the tool with a message that names it.

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTextStream>
#include <cstdio>

#include "data/Errores.h"
#include "data/TablaNiveles.h"

using namespace varnolo;

namespace {

const QString kCabecera = QStringLiteral("X_OFERTAMATRIG;NIVEL_ABREV;NIVEL");

QList<FilaNivel> leerCsv(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw ErrorVarnolo(QStringLiteral("No se puede leer %1").arg(ruta));
    }
    QList<FilaNivel> niveles;
    QSet<int> vistas;
    bool cabeceraLeida = false;
    int numero = 0;
    QTextStream entrada(&f);
    entrada.setEncoding(QStringConverter::Utf8);
    while (!entrada.atEnd()) {
        const QString linea = entrada.readLine();
        ++numero;
        const QString limpia = linea.trimmed();
        if (limpia.isEmpty() || limpia.startsWith(u'#')) continue;
        const auto fallo = [&](const QString& que) {
            return ErrorVarnolo(QStringLiteral("%1:%2: %3").arg(ruta).arg(numero).arg(que));
        };
        if (!cabeceraLeida) {
            if (limpia != kCabecera) throw fallo(QStringLiteral("se esperaba %1").arg(kCabecera));
            cabeceraLeida = true;
            continue;
        }
        const QStringList campos = linea.split(u';');
        if (campos.size() != 3) throw fallo(QStringLiteral("se esperaban 3 campos"));
        FilaNivel n;
        n.oferta = aEntero(campos[0].trimmed());
        n.abrev = campos[1].trimmed();
        n.nivel = campos[2].trimmed();
        if (n.abrev.size() > kAnchoNivelAbrev) {
            throw fallo(
                QStringLiteral("NIVEL_ABREV de más de %1 caracteres").arg(kAnchoNivelAbrev));
        }
        if (n.nivel.size() > kAnchoNivel) {
            throw fallo(QStringLiteral("NIVEL de más de %1 caracteres").arg(kAnchoNivel));
        }
        if (vistas.contains(n.oferta)) {
            throw fallo(QStringLiteral("X_OFERTAMATRIG %1 repetido").arg(n.oferta));
        }
        vistas.insert(n.oferta);
        niveles.append(n);
    }
    if (!cabeceraLeida) throw ErrorVarnolo(QStringLiteral("%1: falta la cabecera").arg(ruta));
    return niveles;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "uso: generar_nivelcan NIVELCAN.csv NIVELCAN.DBF\n");
        return 2;
    }
    const QString destino = args[2];
    const QString temporal = destino + QStringLiteral(".tmp.DBF");
    try {
        // A fixed header date keeps the generated file identical from build to build.
        escribirTablaNiveles(
            temporal, leerCsv(args[1]),
            std::make_shared<RelojFijo>(QDateTime(QDate(2026, 1, 1), QTime(0, 0))));
        QFile::remove(destino);
        if (!QFile::rename(temporal, destino)) {
            throw ErrorVarnolo(QStringLiteral("No se puede escribir %1").arg(destino));
        }
    } catch (const ErrorVarnolo& e) {
        QFile::remove(temporal);
        std::fprintf(stderr, "generar_nivelcan: %s\n", qPrintable(e.texto()));
        return 1;
    }
    return 0;
}
