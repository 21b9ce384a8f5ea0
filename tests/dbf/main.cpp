// The engine's test program. Run with "--hijo ACCION ..." it plays the other
// process of the lock tests: it acts on a table (or, with "sondear", reports how each
// table given is held), prints the outcome and exits with 0 on success, 2 on a table
// error.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <iostream>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "tests/dbf/Ayudas.h"

namespace {

using varnolo::Tabla;

int hijo(const QStringList& args) {
    QTextStream salida(stdout);
    try {
        const QString accion = args.value(0);
        const QString ruta = args.value(1);
        if (accion == u"abrir" || accion == u"sostener") {
            Tabla t(QString(), ruta, args.value(2) == u"1");
            t.open();
            if (accion == u"sostener") {
                salida << "listo" << Qt::endl;
                std::string linea;
                std::getline(std::cin, linea);  // held until the parent closes our input
            }
            salida << "abierta " << t.recordCount() << Qt::endl;
        } else if (accion == u"crear") {
            Tabla t(QString(), ruta);
            t.fieldDefs() = {{QStringLiteral("A"), varnolo::TipoCampo::Cadena, 3}};
            t.createTable();
            salida << "creada" << Qt::endl;
#ifdef VARNOLO_PRUEBA_VOLCADO  // the engine's crash test only
        } else if (accion == u"llenar-y-morir") {
            varnolo::prueba::motor::llenarYMorir(ruta, args.value(2).toInt());
#endif
        } else if (accion == u"sondear") {
            // How each table is held by others: "libre" when it opens exclusively,
            // "compartida" when it opens only shared, "exclusiva" when not at all.
            for (const QString& r : args.mid(1)) {
                const auto abre = [&r](bool exclusiva) {
                    try {
                        Tabla t(QString(), r, exclusiva);
                        t.open();
                        return true;
                    } catch (const varnolo::ErrorVarnolo&) {
                        return false;
                    }
                };
                const char* estado = !QFileInfo::exists(r) ? "no-existe"
                                     : abre(true)          ? "libre"
                                     : abre(false)         ? "compartida"
                                                           : "exclusiva";
                salida << QFileInfo(r).baseName().toUpper() << ' ' << estado << Qt::endl;
            }
        } else if (accion == u"borrar") {
            varnolo::borrarSiExiste(ruta);
            salida << (QFileInfo::exists(ruta) ? "sigue" : "borrada") << Qt::endl;
        } else {
            return 3;
        }
    } catch (const varnolo::ErrorVarnolo& e) {
        salida << e.texto() << Qt::endl;
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    varnolo::prueba::motor::rutaPrograma() =
        QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    const QStringList args = app.arguments();
    if (args.size() >= 2 && args[1] == u"--hijo") return hijo(args.mid(2));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
