// Times export steps 1 to 6 over a generated document of a large school:
//
//   bench_exportacion [MATERIAS records] [groups]     (default 20000 and 600)
//
// Subjects repeat over courses and many share the code MAT, so the short-code
// suffixes, the offering lookups and the group match all see long runs.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "data/Errores.h"
#include "export/CadenaExportacion.h"

using namespace varnolo;

namespace {

class SinVentanas : public Interaccion {
  public:
    std::optional<QString> elegirDocumento() override { return std::nullopt; }
    void mostrarMensaje(const QString&) override {}
    void cursorOcupado() override {}
    void cursorNormal() override {}
    void deshabilitarBotones() override {}
    void cerrarVentana() override {}
    SeleccionMarcos elegirMarcos(const EstadoPrograma&) override { return {}; }
    bool completarProfesores(const EstadoPrograma&) override { return true; }
};

void registro(QString& x, std::initializer_list<QString> datos) {
    x += QStringLiteral("<grupo_datos>");
    for (const QString& d : datos) x += QStringLiteral("<dato>") + d + QStringLiteral("</dato>");
    x += QStringLiteral("</grupo_datos>\n");
}

QByteArray documento(int materias, int grupos) {
    const int cursos = qMax(1, grupos / 3);
    QString x =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><BLOQUE_DATOS>\n");
    x += QStringLiteral("<grupo_datos seq=\"MATERIAS\">\n");
    for (int i = 0; i < materias; ++i) {
        const int materia = i % (materias / 10 + 1);
        const QString codigo =
            materia % 4 == 0 ? QStringLiteral("MAT") : QStringLiteral("M%1").arg(materia);
        registro(x,
                 {QString::number(1000 + i % cursos), QString::number(i),
                  QStringLiteral("Materia número %1").arg(materia), codigo, QStringLiteral("180")});
    }
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"ACTIVIDADES\">\n");
    registro(x, {QStringLiteral("1"), QStringLiteral("513"), QStringLiteral("Docencia")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"EMPLEADOS\">\n");
    for (int i = 0; i < 400; ++i) {
        registro(x, {QString::number(100000 + i), QStringLiteral("01/09/2015"),
                     QStringLiteral("Ciencias"), QStringLiteral("García"), QStringLiteral("López"),
                     QStringLiteral("Ana"), QString()});
    }
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"DEPENDENCIAS\">\n");
    for (int i = 0; i < 200; ++i)
        registro(x, {QStringLiteral("AULA-INFORMATICA"), QStringLiteral("Aula")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"CURSOS_DEL_CENTRO\">\n");
    for (int i = 0; i < cursos; ++i)
        registro(x, {QString::number(1000 + i), QStringLiteral("1º Curso")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"UNIDADES\">\n");
    for (int i = 0; i < grupos; ++i) {
        registro(x, {QString::number(i), QStringLiteral("1º Grupo A"),
                     QString::number(1000 + i % cursos)});
    }
    x += QStringLiteral("</grupo_datos>\n</BLOQUE_DATOS></SERVICIO>\n");
    return x.toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int materias = args.size() > 1 ? args[1].toInt() : 20000;
    const int grupos = args.size() > 2 ? args[2].toInt() : 600;

    QTemporaryDir trabajo;
    Entorno entorno;
    entorno.carpetaTrabajo = trabajo.path();
    entorno.carpetaPrograma = QCoreApplication::applicationDirPath();
    EstadoPrograma estado(entorno);
    estado.documento = std::make_unique<DocumentoXml>();
    if (!estado.documento->loadXml(documento(materias, grupos))) {
        std::fprintf(stderr, "El documento generado no se pudo cargar\n");
        return 1;
    }
    SinVentanas ui;
    CadenaExportacion cadena(estado, ui);

    const std::pair<const char*, void (CadenaExportacion::*)()> pasos[] = {
        {"ExportarMaterias", &CadenaExportacion::ExportarMaterias},
        {"ExportarActividades", &CadenaExportacion::ExportarActividades},
        {"ExportarProfesores", &CadenaExportacion::ExportarProfesores},
        {"ExportarAulas", &CadenaExportacion::ExportarAulas},
        {"ExportarCursosGrupos", &CadenaExportacion::ExportarCursosGrupos},
        {"ExportarAsignaciones", &CadenaExportacion::ExportarAsignaciones},
    };
    std::printf("%d registros de MATERIAS, %d grupos\n", materias, grupos);
    qint64 total = 0;
    for (const auto& [nombre, paso] : pasos) {
        QElapsedTimer reloj;
        reloj.start();
        try {
            (cadena.*paso)();
        } catch (const ErrorVarnolo& e) {
            std::fprintf(stderr, "%s: %s\n", nombre, qPrintable(e.texto()));
            return 1;
        }
        const qint64 ms = reloj.elapsed();
        total += ms;
        std::printf("%-22s %6lld ms\n", nombre, static_cast<long long>(ms));
    }
    std::printf("%-22s %6lld ms\n", "total", static_cast<long long>(total));
    return 0;
}
