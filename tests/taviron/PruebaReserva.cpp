// The work folder held by a conversion, seen from another process (this test program
// run as a child): a table created during the conversion stays out of its reach
// until its step has filled and closed it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "taviron/ReservaCarpeta.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo {
namespace {

using namespace prueba::motor;

class Reserva : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;

    static bool enUso(const Salida& s) { return s.codigo == 2 && s.texto.contains(u"en uso"); }
};

// Two conversions once interleaved in the gap between creating a table and opening
// it to fill it. While a conversion holds its work folder, a table it creates stays
// exclusive from its creation until its step has filled and closed it.
TEST_F(Reserva, TableCreatedDuringAConversionStaysExclusiveUntilItsStepClosesIt) {
    const QString aulat = QDir(carpeta.path()).filePath(QStringLiteral("AULAT.DBF"));
    const QString cursost = QDir(carpeta.path()).filePath(QStringLiteral("CURSOST.DBF"));
    const QList<DefCampo> campos{{QStringLiteral("ABREV"), TipoCampo::Cadena, 10}};
    const auto abrir = [](const QString& r) { return hijo({QStringLiteral("abrir"), r, "0"}); };
    {
        const ReservaCarpeta conversion(carpeta.path());
        crear(carpeta.path(), QStringLiteral("AULAT"), campos);
        crear(carpeta.path(), QStringLiteral("CURSOST"), campos);
        EXPECT_TRUE(enUso(abrir(aulat))) << "entre crearla y llenarla";
        {
            Tabla t(carpeta.path(), QStringLiteral("AULAT"));  // the step opens it shared
            t.open();
            t.append();
            t.setString(QStringLiteral("ABREV"), QStringLiteral("A1"));
            t.post();
            EXPECT_TRUE(enUso(abrir(aulat))) << "mientras se llena";
            t.close();
        }
        const Salida cerrada = abrir(aulat);
        EXPECT_EQ(cerrada.codigo, 0) << cerrada.texto.toStdString();
        EXPECT_TRUE(enUso(abrir(cursost))) << "creada y aún sin llenar";
    }
    const Salida terminada = abrir(cursost);
    EXPECT_EQ(terminada.codigo, 0) << "la conversión terminó: " << terminada.texto.toStdString();

    // Outside a conversion a created table is released at once, as before.
    crear(carpeta.path(), QStringLiteral("AULAT"), campos);
    const Salida libre = abrir(aulat);
    EXPECT_EQ(libre.codigo, 0) << libre.texto.toStdString();
}

}  // namespace
}  // namespace varnolo
