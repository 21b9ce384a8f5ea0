// A large export: the district document of the generator at a given scale (26 gives
// about 200 MB) exported once, five time frames chosen; prints the time, the peak
// memory of the process and the time libxml2 alone takes to parse the same file,
// measured in the same run.
//   <build>/bin/bench_grande_exportacion [scale]
#include <libxml/parser.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "base/Errores.h"
#include "bench/GeneradorDocumentos.h"
#include "bench/Medicion.h"
#include "bench/MesaImportacion.h"
#include "bench/grande/PicoMemoria.h"
#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"

using namespace varnolo;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int escala = argc > 1 ? std::max(1, atoi(argv[1])) : 26;
    QTemporaryDir carpeta;
    const QString ruta = QDir(carpeta.path()).filePath(QStringLiteral("distrito.xml"));
    qint64 bytes = 0;
    {
        const QByteArray contenido = banco::documentoDistrito(escala);
        bytes = contenido.size();
        QFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != bytes) {
            std::fprintf(stderr, "No se pudo escribir %s\n", qPrintable(ruta));
            return 1;
        }
    }
    // What was prepared does not count: the peak starts from the memory in use now.
    banco::reiniciarPico();
    const long picoAntes = banco::picoKb();
    const QString trabajo = QDir(carpeta.path()).filePath(QStringLiteral("QWORK"));
    QDir().mkpath(trabajo);
    Entorno entorno;
    entorno.carpetaTrabajo = trabajo;
    entorno.carpetaPrograma = QCoreApplication::applicationDirPath();

    banco::asentarMemoria();
    QElapsedTimer reloj;
    reloj.start();
    banco::Desatendida ui;
    const Desenlace desenlace = exportar(entorno, ruta, {}, ui);
    if (!desenlace.completada()) {
        std::fprintf(stderr, "La exportación falló: %s\n", qPrintable(desenlace.texto));
        return 1;
    }
    const qint64 msExportar = reloj.elapsed();
    const long picoExportar = banco::picoKb();

    // The floor: libxml2 alone parsing the same file and freeing the tree, from a
    // settled heap as the export started.
    banco::asentarMemoria();
    reloj.restart();
    xmlFreeDoc(xmlReadFile(QFile::encodeName(ruta).constData(), nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOBLANKS));
    const qint64 msSuelo = reloj.elapsed();
    std::printf(
        "escala=%d documento=%.1f MB exportar=%lld ms transformado=%d\n"
        "pico antes=%ld MB pico exportar=%ld MB (%.2f veces el documento)\n"
        "suelo (libxml2 analiza el documento)=%lld ms exportar/suelo=%.1f\n",
        escala, static_cast<double>(bytes) / 1e6, static_cast<long long>(msExportar),
        desenlace.completada() ? 1 : 0, picoAntes / 1024, picoExportar / 1024,
        1024.0 * static_cast<double>(picoExportar) / static_cast<double>(bytes),
        static_cast<long long>(msSuelo),
        static_cast<double>(msExportar) / std::max<qint64>(1, msSuelo));
    return 0;
}
