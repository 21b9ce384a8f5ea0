// Fuzz target: any bytes as a dBase table. Opening either fails with the engine's
// error or gives a table that can be walked in both orders, every field read in
// every way, located and closed, without a crash or a sanitizer finding.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/Errores.h"
#include "dbf/Tabla.h"

namespace {

using namespace varnolo;

/// Every read of every field of the current row; a conversion error is an answer.
void leerFila(const Tabla& t) {
    for (const CampoFisico& c : t.campos()) {
        (void)t.asString(c.nombre);
        (void)t.isNull(c.nombre);
        try {
            (void)t.asInteger(c.nombre);
        } catch (const ErrorConversion&) {
        }
        try {
            (void)t.asFloat(c.nombre);
            (void)t.asBoolean(c.nombre);
        } catch (const ErrorConversion&) {
        }
    }
}

void recorrer(Tabla& t) {
    int vistas = 0;
    for (t.first(); !t.eof(); t.next()) {
        leerFila(t);
        if (++vistas > t.recordCount()) std::abort();  // a walk never loops
    }
    if (vistas != t.recordCount()) std::abort();
}

void probar(Tabla& t) {
    t.open();
    recorrer(t);
    if (t.campos().isEmpty()) return;
    const QString primero = t.campos().front().nombre;
    t.setRecNo(t.recordCount());
    t.setRecNo(-3);
    t.setRecNo(1);
    const QString valor = t.eof() ? QString() : t.asString(primero);
    if (!valor.isNull() && t.locate(primero, QStringList{valor}) && t.asString(primero) != valor) {
        std::abort();  // locate stands on a row that matches
    }
    (void)t.locate(primero, 1);
    t.setIndexFieldNames(primero);
    recorrer(t);
    t.setIndexFieldNames(QString());
    t.close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano) {
    static QTemporaryDir carpeta;
    const QString ruta = QDir(carpeta.path()).filePath(QStringLiteral("FUZZ.DBF"));
    {
        QFile f(ruta);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(datos), static_cast<qint64>(tamano));
    }
    Tabla t(carpeta.path(), QStringLiteral("FUZZ"));
    try {
        probar(t);
    } catch (const ErrorVarnolo&) {
        // damaged or foreign beyond reading: refused with the engine's error
    }
    return 0;
}
