// Steps 1 to 6 over the bundled sample document: every table they write, read back
// with an independent dBase reader (dbfread), equals the expected rows kept in
// tests/data/exportacion/centro.txt.

#include <QFile>
#include <QProcess>

#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

const QStringList kTablas = {"ASIGNOMT", "ASIGNOMT2", "PROFT", "AULAT",
                             "CURSOST",  "GRUPOST",   "ASIGT"};

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
    return f.readAll();
}

QString volcarConDbfread(const QString& carpeta) {
    QProcess p;
    p.start(
        QStringLiteral(VARNOLO_PYTHON),
        QStringList{QStringLiteral(VARNOLO_FUENTE_PRUEBAS "/volcar_tablas.py"), carpeta} + kTablas);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(CadenaExportacion, EjemploDelCentro) {
    VARNOLO_EXIGE_PYTHON();
    Exportador e(leer(ejemplo("centro.xml")));
    e.exportarHastaAsignaciones();
    EXPECT_EQ(e.estado().actividadPorDefecto, 1);

    const QString esperado = QString::fromUtf8(leer(datoPrueba("exportacion/centro.txt")));
    const QString obtenido = volcarConDbfread(e.carpetas().trabajo());
    EXPECT_EQ(obtenido.toStdString(), esperado.toStdString());
}

}  // namespace
}  // namespace varnolo::prueba
