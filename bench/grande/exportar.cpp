// A large export: the district document of the generator at a given scale (26 gives
// about 200 MB) exported once, five time frames chosen; prints the time, the peak
// memory of the process and the time libxml2 alone takes to parse the same file,
// measured in the same run.
//   <build>/bin/bench_grande_exportacion [scale]
#include <libxml/parser.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "bench/GeneradorDocumentos.h"
#include "data/Errores.h"
#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"

using namespace varnolo;

namespace {

/// Chooses the document and the first five time frames it lists.
class Desatendida : public Interaccion {
  public:
    QString documento;
    std::optional<QString> elegirDocumento() override { return documento; }
    void mostrarMensaje(const QString&) override {}
    void cursorOcupado() override {}
    void cursorNormal() override {}
    void deshabilitarBotones() override {}
    void cerrarVentana() override {}
    SeleccionMarcos elegirMarcos(const EstadoPrograma& estado) override {
        const QStringList marcos = listaDeMarcos(*estado.documento);
        QList<bool> elegidos;
        for (qsizetype i = 0; i < marcos.size(); ++i) elegidos.append(i < 5);
        return cerrarSeleccionMarcos(marcos, elegidos).seleccion;
    }
    bool completarProfesores(const EstadoPrograma&) override { return true; }
};

/// The peak resident memory of this process so far, in KB.
long picoKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

}  // namespace

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
    const long picoAntes = picoKb();
    const QString trabajo = QDir(carpeta.path()).filePath(QStringLiteral("QWORK"));
    QDir().mkpath(trabajo);
    Entorno entorno;
    entorno.carpetaTrabajo = trabajo;
    entorno.carpetaPrograma = QCoreApplication::applicationDirPath();

    QElapsedTimer reloj;
    reloj.start();
    EstadoPrograma estado(entorno);
    Desatendida ui;
    ui.documento = ruta;
    try {
        ejecutarExportacion(estado, ui);
    } catch (const ErrorVarnolo& e) {
        std::fprintf(stderr, "La exportación falló: %s\n", qPrintable(e.texto()));
        return 1;
    }
    const qint64 msExportar = reloj.elapsed();
    const long picoExportar = picoKb();

    // The floor: libxml2 alone parsing the same file and freeing the tree.
    reloj.restart();
    xmlFreeDoc(xmlReadFile(QFile::encodeName(ruta).constData(), nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOBLANKS));
    const qint64 msSuelo = reloj.elapsed();
    std::printf(
        "escala=%d documento=%.1f MB exportar=%lld ms transformado=%d\n"
        "pico antes=%ld MB pico exportar=%ld MB (%.2f veces el documento)\n"
        "suelo (libxml2 analiza el documento)=%lld ms exportar/suelo=%.1f\n",
        escala, static_cast<double>(bytes) / 1e6, static_cast<long long>(msExportar),
        estado.transformado, picoAntes / 1024, picoExportar / 1024,
        1024.0 * static_cast<double>(picoExportar) / static_cast<double>(bytes),
        static_cast<long long>(msSuelo),
        static_cast<double>(msExportar) / std::max<qint64>(1, msSuelo));
    return estado.transformado == 1 ? 0 : 1;
}
