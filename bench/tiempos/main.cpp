// Times three operations that must stay quick on a school's data, each against a
// floor of comparable work measured in the same run: opening a table of 60,000 rows
// (floor: reading its bytes), selecting 20,000 records of a section (floor: loading
// the document) and refusing a document of nested entities (floor: loading a plain
// document of the same size). Each figure is the median of several runs.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "dbf/Tabla.h"
#include "xml/DocumentoXml.h"

using namespace varnolo;

namespace {

constexpr int kVueltas = 7;

/// The records of the section MATERIAS, as the old query selected them.
const QString kRutaMaterias =
    QStringLiteral("/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"MATERIAS\"]/grupo_datos");

/// Median time of `vueltas` runs of `paso`, in microseconds.
double mediana(const std::function<void()>& paso, int vueltas = kVueltas) {
    std::vector<qint64> t;
    for (int i = 0; i < vueltas; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        paso();
        t.push_back(reloj.nsecsElapsed());
    }
    std::sort(t.begin(), t.end());
    return static_cast<double>(t[t.size() / 2]) / 1000.0;
}

void informar(const char* que, double us, const char* suelo, double usSuelo) {
    std::printf("%-30s %10.3f ms   %-24s %10.3f ms   x%.2f\n", que, us / 1000.0, suelo,
                usSuelo / 1000.0, usSuelo > 0 ? us / usSuelo : 0.0);
}

/// A table of `filas` rows of one 40-character field, the rows written as bytes.
QString tablaGrande(const QString& carpeta, int filas) {
    Tabla nueva(carpeta, QStringLiteral("GRANDE"));
    nueva.fieldDefs() = {{QStringLiteral("A"), TipoCampo::Cadena, 40}};
    nueva.createTable();
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("GRANDE.DBF"));
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    QByteArray b = f.readAll();
    f.close();
    b.chop(1);
    for (int i = 0; i < filas; ++i) b += ' ' + QByteArray::number(i).leftJustified(40, ' ');
    b += '\x1a';
    for (int k = 0; k < 4; ++k) b[4 + k] = char((filas >> (8 * k)) & 0xFF);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(b);
    return ruta;
}

QByteArray seccionGrande(int registros) {
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><BLOQUE_DATOS>\n"
        "<grupo_datos seq=\"ACTIVIDADES\"><grupo_datos><dato>1</dato></grupo_datos>"
        "</grupo_datos>\n<grupo_datos seq=\"MATERIAS\">\n";
    for (int i = 0; i < registros; ++i) {
        xml += "  <grupo_datos seq=\"MATERIA\"><dato nombre_dato=\"X\">" + QByteArray::number(i) +
               "</dato><dato> Materia " + QByteArray::number(i) +
               " </dato><dato>C</dato><dato>D</dato></grupo_datos>\n";
    }
    return xml + "</grupo_datos></BLOQUE_DATOS></SERVICIO>\n";
}

QByteArray entidadesAnidadas() {
    QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE SERVICIO [\n <!ENTITY e0 \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        xml += " <!ENTITY e" + QByteArray::number(i) + " \"" +
               QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    }
    return xml +
           "]>\n<SERVICIO a=\"&e9;\"><BLOQUE_DATOS><dato>&e9;</dato></BLOQUE_DATOS>"
           "</SERVICIO>\n";
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    const int filas = 60000;
    const QString ruta = tablaGrande(dir.path(), filas);
    const double leerBytes = mediana([&] {
        QFile f(ruta);
        f.open(QIODevice::ReadOnly);
        volatile qsizetype n = f.readAll().size();
        (void)n;
    });
    const double abrir = mediana([&] {
        Tabla t(dir.path(), QStringLiteral("GRANDE"), true);
        t.open();
        if (t.recordCount() != filas) std::fprintf(stderr, "filas leídas: %d\n", t.recordCount());
    });
    informar("abrir tabla de 60.000 filas", abrir, "leer sus bytes", leerBytes);

    const QByteArray xml = seccionGrande(20000);
    DocumentoXml doc;
    const double cargar = mediana([&] { doc.loadXml(xml); });
    const double seleccionar = mediana([&] {
        if (doc.selectNodes(kRutaMaterias).size() != 20000) {
            std::fprintf(stderr, "la selección no dio 20.000 registros\n");
        }
    });
    informar("seleccionar 20.000 registros", seleccionar, "cargar el documento", cargar);

    const QByteArray bomba = entidadesAnidadas();
    QByteArray llano = "<SERVICIO><BLOQUE_DATOS><dato>";
    llano += QByteArray(std::max<qsizetype>(0, bomba.size() - 60), 'x');
    llano += "</dato></BLOQUE_DATOS></SERVICIO>";
    DocumentoXml otro;
    const double plano = mediana([&] { otro.loadXml(llano); });
    const double rechazo = mediana([&] {
        if (otro.loadXml(bomba)) std::fprintf(stderr, "¡se cargó el documento de entidades!\n");
    });
    informar("rechazar entidades anidadas", rechazo, "cargar uno llano igual", plano);
    return 0;
}
