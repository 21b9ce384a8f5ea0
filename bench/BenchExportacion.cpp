// Times the whole export (loading the document, steps 1 to 7, five time frames
// chosen where the document has them) beside its floor, libxml2 alone parsing the
// same file, in the same process and the same minute:
//
//   bench_exportacion [case ...]      cases: centro, distrito, distrito2 (default: all)
//   bench_exportacion --documento CASE FILE   writes the case's document and ends (to
//                                             time other programs on the same file)
//
// centro is the compact document of a large school (20,000 MATERIAS records, 600
// groups); distrito the 7.6 MB district document; distrito2 the district at twice
// its size, to show how the time grows. Each case runs three times, floor and
// export alternating; the medians and their ratio are printed. Beside them, the same
// export run as a dry run (the seven steps into a scratch folder, without the copy of
// the old tables and the replacement): what the all-or-nothing export adds is the
// ratio of the two.

#include <libxml/parser.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

#include "base/Errores.h"
#include "bench/GeneradorDocumentos.h"
#include "bench/Medicion.h"
#include "bench/MesaImportacion.h"
#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"

using namespace varnolo;

namespace {

constexpr int kRondas = 3;

QByteArray documentoDe(const QString& caso) {
    if (caso == u"centro") return banco::documentoCentro(20000, 600);
    if (caso == u"distrito") return banco::documentoDistrito(1);
    if (caso == u"distrito2") return banco::documentoDistrito(2);
    return {};
}

// The floor: libxml2 reads and parses the file and frees the tree, nothing else.
void analizarSolo(const QByteArray& ruta) {
    xmlDocPtr doc = xmlReadFile(ruta.constData(), nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    if (doc == nullptr) {
        std::fprintf(stderr, "libxml2 no pudo analizar %s\n", ruta.constData());
        std::exit(1);
    }
    xmlFreeDoc(doc);
}

void exportarDocumento(const Entorno& entorno, const QString& ruta, bool enSeco = false) {
    banco::Desatendida ui;
    const Desenlace d =
        enSeco ? comprobarExportacion(entorno, ruta, {}, ui) : exportar(entorno, ruta, {}, ui);
    if (!d.completada()) {
        std::fprintf(stderr, "La exportación no terminó: %s\n", qPrintable(d.texto));
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList casos = app.arguments().mid(1);
    if (casos.size() == 3 && casos[0] == u"--documento") {
        const QByteArray contenido = documentoDe(casos[1]);
        QFile archivo(casos[2]);
        if (contenido.isEmpty() || !archivo.open(QIODevice::WriteOnly) ||
            archivo.write(contenido) != contenido.size()) {
            std::fprintf(stderr, "No se pudo escribir %s\n", qPrintable(casos[2]));
            return 1;
        }
        return 0;
    }
    if (casos.isEmpty()) casos = {"centro", "distrito", "distrito2"};

    QTemporaryDir carpeta;
    std::map<QString, banco::Tiempo> medianas;
    for (const QString& caso : casos) {
        const QByteArray contenido = documentoDe(caso);
        if (contenido.isEmpty()) {
            std::fprintf(stderr, "Caso desconocido: %s\n", qPrintable(caso));
            return 2;
        }
        const QString ruta = QDir(carpeta.path()).filePath(caso + QStringLiteral(".xml"));
        QFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size()) {
            std::fprintf(stderr, "No se pudo escribir %s\n", qPrintable(ruta));
            return 1;
        }
        archivo.close();
        const QString trabajo = QDir(carpeta.path()).filePath(caso);
        QDir().mkpath(trabajo);
        Entorno entorno;
        entorno.carpetaTrabajo = trabajo;
        entorno.carpetaPrograma = QCoreApplication::applicationDirPath();
        std::printf("%s: %.2f MB\n", qPrintable(caso), contenido.size() / 1e6);

        const QByteArray rutaLocal = QFile::encodeName(ruta);
        std::vector<banco::Tiempo> suelo, exportacion, sueloSeco, enSeco;
        for (int r = 0; r < kRondas; ++r) {
            suelo.push_back(banco::medir([&] { analizarSolo(rutaLocal); }));
            exportacion.push_back(banco::medir([&] { exportarDocumento(entorno, ruta); }));
            sueloSeco.push_back(banco::medir([&] { analizarSolo(rutaLocal); }));
            enSeco.push_back(banco::medir([&] { exportarDocumento(entorno, ruta, true); }));
        }
        medianas[caso] = banco::informar(qPrintable(caso), "exportación", suelo, exportacion);
        const banco::Tiempo seco = banco::informar(qPrintable(caso), "en seco", sueloSeco, enSeco);
        std::printf("%s: exportación / en seco: reloj %.2f  cpu %.2f\n", qPrintable(caso),
                    medianas[caso].paredMs / seco.paredMs, medianas[caso].cpuMs / seco.cpuMs);
    }
    if (medianas.count(QStringLiteral("distrito")) && medianas.count(QStringLiteral("distrito2"))) {
        const banco::Tiempo& uno = medianas[QStringLiteral("distrito")];
        const banco::Tiempo& dos = medianas[QStringLiteral("distrito2")];
        std::printf("crecimiento distrito2 / distrito: reloj %.2f  cpu %.2f\n",
                    dos.paredMs / uno.paredMs, dos.cpuMs / uno.cpuMs);
    }
    return 0;
}
