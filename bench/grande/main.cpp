// A large import: a work folder whose SOLUC holds many lessons (1,000,000 by
// default) imported once; prints the time, the peak memory of the process and the
// time libxml2 alone takes to read the result, measured in the same run.
//   <build>/bin/bench_grande [lessons] [teachers]
#include <libxml/xmlreader.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>

#include "bench/Medicion.h"
#include "bench/MesaImportacion.h"
#include "bench/grande/PicoMemoria.h"
#include "import/Importacion.h"

using namespace varnolo;
namespace banco = varnolo::banco;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lecciones = argc > 1 ? atoi(argv[1]) : 1000000;
    const int profesores = argc > 2 ? atoi(argv[2]) : 1500;

    const banco::MesaTemporal mesa(profesores, lecciones);
    const Entorno& e = mesa.entorno;
    const QString& doc = mesa.documento;
    const qint64 msGenerar = mesa.msGenerar;
    QElapsedTimer reloj;

    banco::Desatendida ui;
    // What was prepared does not count: the peak starts from the memory in use now.
    banco::reiniciarPico();
    const long picoAntes = banco::picoKb();
    banco::asentarMemoria();
    reloj.restart();
    const Desenlace desenlace = importar(e, doc, ui);
    const qint64 msImportar = reloj.elapsed();
    const long picoImportar = banco::picoKb();
    const QString resultado = rutaResultado(doc);
    const qint64 bytes = QFile(resultado).size();

    // The floor: libxml2 alone reading the result document through, node by node,
    // in the same run.
    banco::asentarMemoria();
    reloj.restart();
    if (xmlTextReaderPtr lector =
            xmlReaderForFile(resultado.toLocal8Bit().constData(), nullptr, XML_PARSE_NOBLANKS)) {
        while (xmlTextReaderRead(lector) == 1) {
        }
        xmlFreeTextReader(lector);
    }
    const qint64 msSuelo = reloj.elapsed();
    std::printf(
        "lecciones=%d profesores=%d generar=%lld ms importar=%lld ms resultado=%lld bytes\n"
        "pico antes=%ld MB pico importar=%ld MB (%.0f bytes por leccion)\n"
        "suelo (libxml2 recorre el resultado)=%lld ms importar/suelo=%.1f transformado=%d\n",
        lecciones, profesores, static_cast<long long>(msGenerar),
        static_cast<long long>(msImportar), static_cast<long long>(bytes), picoAntes / 1024,
        picoImportar / 1024, 1024.0 * static_cast<double>(picoImportar) / std::max(1, lecciones),
        static_cast<long long>(msSuelo),
        static_cast<double>(msImportar) / std::max<qint64>(1, msSuelo),
        desenlace.completada() ? 1 : 0);
    return desenlace.completada() ? 0 : 1;
}
