// Builds the level table NIVELCAN.DBF from its CSV source (see NIVELCAN.csv for
// the format), so that a school can edit its levels with any text editor.
//
//   generar_nivelcan NIVELCAN.csv NIVELCAN.DBF
//
// The table is written beside its final name and moved into place only when it is
// complete; a bad line stops the tool with a message that names it.

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "base/Errores.h"
#include "taviron/CsvNiveles.h"
#include "taviron/TablaNiveles.h"

using namespace varnolo;

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
            temporal, leerCsvNiveles(args[1]),
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
