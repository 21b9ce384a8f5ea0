// A large import: a work folder whose SOLUC holds many lessons (1,000,000 by
// default) imported once; prints the time, the peak memory of the process and the
// time libxml2 alone takes to read the result, measured in the same run.
//   <build>/bin/bench_grande [lessons] [teachers]
#include <libxml/xmlreader.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "data/Catalogo.h"
#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"
#include "data/Tabla.h"
#include "import/Importacion.h"

using namespace varnolo;

namespace {

/// Answers like a user who chose the document and confirms every message.
class Desatendida : public Interaccion {
  public:
    QString documento;
    QStringList mensajes;
    std::optional<QString> elegirDocumento() override { return documento; }
    void mostrarMensaje(const QString& t) override { mensajes << t; }
    void cursorOcupado() override {}
    void cursorNormal() override {}
    void deshabilitarBotones() override {}
    void cerrarVentana() override {}
    SeleccionMarcos elegirMarcos(const EstadoPrograma&) override { return {}; }
    bool completarProfesores(const EstadoPrograma&) override { return false; }
};

void llenar(const Entorno& e, const char* nombre, int filas,
            const std::function<void(Tabla&, int)>& fila) {
    Tabla t(e.carpetaTrabajo, QString::fromLatin1(nombre));
    t.open();
    for (int i = 0; i < filas; ++i) {
        t.append();
        fila(t, i);
        t.post();
    }
}

/// The peak resident memory of this process so far, in KB.
long picoKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lecciones = argc > 1 ? atoi(argv[1]) : 1000000;
    const int profesores = argc > 2 ? atoi(argv[2]) : 1500;
    const int materias = 400, grupos = 120, dias = 5, horas = 12;

    QTemporaryDir dir;
    Entorno e;
    e.carpetaTrabajo = dir.path();
    e.carpetaPrograma = dir.path();
    QElapsedTimer reloj;
    reloj.start();
    for (const DefTabla* def : catalogo::tablasDeExportacion()) crearTabla(e, *def);
    {
        Tabla s(e.carpetaTrabajo, QStringLiteral("SOLUC"));
        s.fieldDefs() = {{"PROF", TipoCampo::Cadena, 10},  {"DIA", TipoCampo::Entero, 0},
                         {"HORA", TipoCampo::Entero, 0},   {"MARCO", TipoCampo::Cadena, 1},
                         {"ASIG", TipoCampo::Cadena, 10},  {"CODGRUPO", TipoCampo::Cadena, 10},
                         {"TAREA", TipoCampo::Cadena, 10}, {"AULA", TipoCampo::Cadena, 10}};
        s.createTable();
    }
    const auto s = [](const char* p, int n) { return QString::fromLatin1(p) + QString::number(n); };
    llenar(e, "PERIODOS", 1, [](Tabla& t, int) {
        t.setString("FECINI", "01/09/2025");
        t.setString("FECFIN", "30/06/2026");
    });
    llenar(e, "PROFT", profesores, [&](Tabla& t, int i) {
        t.setString("ABREV", s("P", i));
        t.setString("NOMBRE", s("Profesor ", i));
        t.setString("X_EMPLEADO", QString::number(10000 + i));
        t.setString("F_TOMAPOS", "01/09/2018");
    });
    llenar(e, "ASIGNOMT", materias, [&](Tabla& t, int i) {
        t.setString("COD", s("M", i));
        t.setString("CODTAREA", i % 3 ? QString() : QString::number(i));
    });
    llenar(e, "ASIGNOMT2", materias * 4, [&](Tabla& t, int i) {
        t.setString("COD", s("M", i % materias));
        t.setString("MATERIA", s("MAT", i));
        t.setString("OFERTAMATRI", QString::number(i / materias));
    });
    llenar(e, "GRUPOST", grupos, [&](Tabla& t, int i) {
        t.setString("ABREV", s("G", i));
        t.setString("CLAVE", s("U", i));
        t.setString("CLAVECURSO", QString::number(i % 4));
    });
    llenar(e, "ASIGT", materias * 6, [&](Tabla& t, int i) {
        t.setString("CASIG", s("M", i % materias));
        t.setString("CGRUP", s("G", (i * 7) % grupos));
        t.setString("CLAVE", s("K", i));
        t.setString("CLAVECURSO", QString::number(i % 4));
        t.setFloat("HORAS", 3);
    });
    llenar(e, "DIASHORAST", dias * horas, [&](Tabla& t, int i) {
        const int d = i / horas + 1, h = i % horas + 1;
        t.setString("DIHO", QString::number(d) + QString::number(h));
        t.setString("CODDIHO", s("T", i));
        t.setString("DIA", QString::number(d));
        t.setString("HORA", QString::number(h));
        t.setString("HORADESDE", QStringLiteral("%1:00").arg(7 + h, 2, 10, QLatin1Char('0')));
        t.setString("HORAHASTA", QStringLiteral("%1:55").arg(7 + h, 2, 10, QLatin1Char('0')));
        t.setString("MARCO", "0");
    });
    llenar(e, "SOLUC", lecciones, [&](Tabla& t, int i) {
        t.setString("PROF", s("P", i % profesores));
        t.setInteger("DIA", i % 50 == 0 ? 0 : i % dias + 1);
        t.setInteger("HORA", (i / dias) % horas + 1);
        t.setString("MARCO", "0");
        t.setString("ASIG", s("M", (i * 13) % (materias + 20)));
        t.setString("CODGRUPO", s("G", i % grupos));
        t.setString("AULA", s("A", i % 90));
    });
    const qint64 msGenerar = reloj.restart();

    const QString doc = dir.filePath("centro.xml");
    QFile f(doc);
    f.open(QIODevice::WriteOnly);
    f.write(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO><BLOQUE_DATOS>"
        "<grupo_datos seq=\"ANNO\"><dato>2025/2026</dato></grupo_datos>"
        "</BLOQUE_DATOS></SERVICIO>\n");
    f.close();

    EstadoPrograma estado(e);
    Desatendida ui;
    ui.documento = doc;
    const long picoAntes = picoKb();
    reloj.restart();
    ejecutarImportacion(estado, ui);
    const qint64 msImportar = reloj.elapsed();
    const long picoImportar = picoKb();
    const QString resultado = rutaResultado(doc);
    const qint64 bytes = QFile(resultado).size();

    // The floor: libxml2 alone reading the result document through, node by node,
    // in the same run.
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
        static_cast<double>(msImportar) / std::max<qint64>(1, msSuelo), estado.transformado);
    return estado.transformado == 1 ? 0 : 1;
}
