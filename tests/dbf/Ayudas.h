#pragma once
// Small helpers of the engine tests: whole files as bytes, a byte flipped or a file
// cut short, tables built in one call, and the other processes (Python readers and
// this program run as a child).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "dbf/Tabla.h"
#include "tests/comun/Base.h"

namespace varnolo::prueba::motor {

QString& rutaPrograma();

QByteArray leerBytes(const QString& ruta);
void cambiarByte(const QString& ruta, qint64 posicion, char valor);
void cortar(const QString& ruta, qint64 largo);

/// The date every test table is stamped with: 2026-03-15.
std::shared_ptr<const Reloj> relojFijo();

/// Creates an empty table in CARPETA from its fields (and indexes).
void crear(const QString& carpeta, const QString& nombre, const QList<DefCampo>& campos,
           const QList<DefIndice>& indices = {});

struct Salida {
    int codigo = -1;
    QString texto;  ///< standard output, then standard error
};
/// Runs a Python script with /usr/bin/python3; arguments reach it as sys.argv[1:].
Salida python(const QString& script, const QStringList& args = {});
/// Runs this test program as the other process: "--hijo" followed by ARGS.
Salida hijo(const QStringList& args);

/// In the other process: appends FILAS rows to the table at RUTA under an exclusive
/// hold and ends the process at once with code 9, closing nothing.
[[noreturn]] void llenarYMorir(const QString& ruta, int filas);

}  // namespace varnolo::prueba::motor
