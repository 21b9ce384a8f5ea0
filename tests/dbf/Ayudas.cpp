#include "tests/dbf/Ayudas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "tests/comun/Base.h"

namespace varnolo::prueba::motor {

QString& rutaPrograma() {
    static QString ruta;
    return ruta;
}

QByteArray leerBytes(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) ADD_FAILURE() << "No se puede leer " << ruta.toStdString();
    return f.readAll();
}

void cambiarByte(const QString& ruta, qint64 posicion, char valor) {
    QByteArray b = leerBytes(ruta);
    b[posicion] = valor;
    escribirBytes(ruta, b);
}

void cortar(const QString& ruta, qint64 largo) { escribirBytes(ruta, leerBytes(ruta).left(largo)); }

std::shared_ptr<const Reloj> relojFijo() {
    return std::make_shared<RelojFijo>(QDateTime(QDate(2026, 3, 15), QTime(10, 30)));
}

void crear(const QString& carpeta, const QString& nombre, const QList<DefCampo>& campos,
           const QList<DefIndice>& indices) {
    Tabla t(carpeta, nombre);
    t.setReloj(relojFijo());
    t.fieldDefs() = campos;
    t.indexDefs() = indices;
    t.createTable();
}

namespace {

Salida ejecutar(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    Salida s;
    if (!p.waitForStarted(10000) || !p.waitForFinished(30000)) {
        s.texto = QStringLiteral("no terminó: ") + p.errorString();
        return s;
    }
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.texto = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return s;
}

}  // namespace

Salida python(const QString& script, const QStringList& args) {
    return ejecutar(QStringLiteral(VARNOLO_PYTHON),
                    QStringList{QStringLiteral("-c"), script} + args);
}

Salida hijo(const QStringList& args) {
    return ejecutar(rutaPrograma(), QStringList{QStringLiteral("--hijo")} + args);
}

}  // namespace varnolo::prueba::motor
