// Times the import over a generated work folder (many teachers, many lessons, and
// the lookup tables of a large school) beside its floor measured in the same run:
// libxml2 alone parsing the chosen document, reading every work table's bytes, and
// libxml2 parsing the result document that the import wrote.
//
//   bench_importacion [teachers] [lessons]      (default 1,500 and 60,000)
//
// Three runs, import and floor alternating; the medians and their ratio are printed.
#include <libxml/parser.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "bench/Medicion.h"
#include "bench/MesaImportacion.h"
#include "import/Importacion.h"

using namespace varnolo;
namespace banco = varnolo::banco;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int profesores = argc > 1 ? atoi(argv[1]) : 1500;
    const int lecciones = argc > 2 ? atoi(argv[2]) : 60000;

    const banco::MesaTemporal mesa(profesores, lecciones);
    const Entorno& e = mesa.entorno;
    const QString& doc = mesa.documento;
    const qint64 msGenerar = mesa.msGenerar;

    const auto importar = [&] {
        banco::Desatendida ui;
        const Desenlace d = varnolo::importar(e, doc, ui);
        if (!d.completada()) {
            std::fprintf(stderr, "La importación no terminó: %s\n", qPrintable(d.texto));
            std::exit(1);
        }
    };
    const QByteArray rutaDocumento = QFile::encodeName(doc);
    const QByteArray rutaResultadoLocal = QFile::encodeName(rutaResultado(doc));
    const auto analizar = [](const QByteArray& ruta) {
        xmlDocPtr d = xmlReadFile(ruta.constData(), nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS);
        if (d == nullptr) {
            std::fprintf(stderr, "libxml2 no pudo analizar %s\n", ruta.constData());
            std::exit(1);
        }
        xmlFreeDoc(d);
    };
    const auto suelo = [&] {
        analizar(rutaDocumento);
        qint64 bytes = 0;
        const QDir carpeta(e.carpetaTrabajo);
        for (const QString& tabla : carpeta.entryList({QStringLiteral("*.DBF")}, QDir::Files)) {
            QFile f(carpeta.filePath(tabla));
            if (f.open(QIODevice::ReadOnly)) bytes += f.readAll().size();
        }
        if (bytes == 0) std::exit(1);
        analizar(rutaResultadoLocal);
    };

    std::vector<banco::Tiempo> suelos, importaciones;
    for (int r = 0; r < 3; ++r) {
        importaciones.push_back(banco::medir(importar));  // first: the floor parses its result
        suelos.push_back(banco::medir(suelo));
    }
    const qint64 bytes = QFile(rutaResultado(doc)).size();
    std::printf("profesores=%d lecciones=%d generar=%lld ms resultado=%lld bytes\n", profesores,
                lecciones, static_cast<long long>(msGenerar), static_cast<long long>(bytes));
    banco::informar("importación", "importación", suelos, importaciones);
    return 0;
}
