#include "bench/MesaImportacion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <functional>

#include "dbf/Tabla.h"
#include "taviron/CarpetaTrabajo.h"

namespace varnolo::banco {

namespace {

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

}  // namespace

QString prepararMesaImportacion(const Entorno& e, const QString& carpeta, int profesores,
                                int lecciones) {
    const int materias = 400, grupos = 120, dias = 5, horas = 12;
    for (const DefTabla* def : catalogo::tablasDeExportacion()) CarpetaTrabajo(e).recrear({def});
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

    const QString doc = QDir(carpeta).filePath(QStringLiteral("centro.xml"));
    QFile f(doc);
    f.open(QIODevice::WriteOnly);
    f.write(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO><BLOQUE_DATOS>"
        "<grupo_datos seq=\"ANNO\"><dato>2025/2026</dato></grupo_datos>"
        "</BLOQUE_DATOS></SERVICIO>\n");
    f.close();
    return doc;
}

MesaTemporal::MesaTemporal(int profesores, int lecciones) {
    entorno.carpetaTrabajo = carpeta.path();
    entorno.carpetaPrograma = carpeta.path();
    QElapsedTimer reloj;
    reloj.start();
    documento = prepararMesaImportacion(entorno, carpeta.path(), profesores, lecciones);
    msGenerar = reloj.elapsed();
}

}  // namespace varnolo::banco
