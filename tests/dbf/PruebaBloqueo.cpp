// Exclusive and shared opens seen from another process (this test program run as
// a child): a table we hold exclusively can be neither opened, recreated nor
// deleted by it, and a table it holds keeps us out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo::prueba::motor {
namespace {

class Bloqueo : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;
    QString ruta;
    QString rutaMdx;

    void SetUp() override {
        crear(carpeta.path(), QStringLiteral("PROFT"),
              {{QStringLiteral("ABREV"), TipoCampo::Cadena, 10},
               {QStringLiteral("ORDEN"), TipoCampo::Entero, 0}},
              {{QStringLiteral("ORDEN"), QStringLiteral("ORDEN")}});
        ruta = QDir(carpeta.path()).filePath(QStringLiteral("PROFT.DBF"));
        rutaMdx = QDir(carpeta.path()).filePath(QStringLiteral("PROFT.MDX"));
    }

    static bool enUso(const Salida& s) { return s.codigo == 2 && s.texto.contains(u"en uso"); }
};

TEST_F(Bloqueo, ExclusiveHoldKeepsOtherProcessesOut) {
    Tabla t(carpeta.path(), QStringLiteral("PROFT"), true);
    t.open();
    Tabla segunda(carpeta.path(), QStringLiteral("PROFT"), true);
    segunda.open();  // this process may open it again

    for (const QStringList& args : {QStringList{QStringLiteral("abrir"), ruta, QStringLiteral("0")},
                                    QStringList{QStringLiteral("abrir"), ruta, QStringLiteral("1")},
                                    QStringList{QStringLiteral("crear"), ruta}}) {
        const Salida s = hijo(args);
        EXPECT_TRUE(enUso(s)) << args.join(u' ').toStdString() << " -> " << s.codigo << " "
                              << s.texto.toStdString();
    }
    EXPECT_EQ(hijo({QStringLiteral("borrar"), ruta}).texto.trimmed(), QStringLiteral("sigue"));
    EXPECT_EQ(hijo({QStringLiteral("borrar"), rutaMdx}).texto.trimmed(), QStringLiteral("sigue"));
    segunda.close();
    EXPECT_TRUE(enUso(hijo({QStringLiteral("abrir"), ruta, QStringLiteral("0")})))
        << "sigue exclusiva mientras quede un objeto";

    t.close();
    const Salida libre = hijo({QStringLiteral("abrir"), ruta, QStringLiteral("1")});
    EXPECT_EQ(libre.codigo, 0) << libre.texto.toStdString();
    EXPECT_EQ(hijo({QStringLiteral("borrar"), ruta}).texto.trimmed(), QStringLiteral("borrada"));
}

TEST_F(Bloqueo, SharedHoldAdmitsReadersButNoExclusiveOpen) {
    Tabla t(carpeta.path(), QStringLiteral("PROFT"), false);
    t.open();
    const Salida compartida = hijo({QStringLiteral("abrir"), ruta, QStringLiteral("0")});
    EXPECT_EQ(compartida.codigo, 0) << compartida.texto.toStdString();
    EXPECT_TRUE(enUso(hijo({QStringLiteral("abrir"), ruta, QStringLiteral("1")})));
    EXPECT_TRUE(enUso(hijo({QStringLiteral("crear"), ruta})));
}

TEST_F(Bloqueo, TableHeldByAnotherProcessIsNotOursToOpenRecreateOrDelete) {
    QProcess otro;
    otro.start(rutaPrograma(),
               {QStringLiteral("--hijo"), QStringLiteral("sostener"), ruta, QStringLiteral("1")});
    ASSERT_TRUE(otro.waitForStarted(10000));
    ASSERT_TRUE(otro.waitForReadyRead(10000));
    ASSERT_TRUE(otro.readLine().startsWith("listo"));

    Tabla t(carpeta.path(), QStringLiteral("PROFT"), false);
    try {
        t.open();
        ADD_FAILURE() << "se abrió";
    } catch (const ErrorTabla& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("La tabla PROFT está en uso por otro programa (%1)")
                                 .arg(QDir::toNativeSeparators(ruta)));
    }
    EXPECT_THROW(crear(carpeta.path(), QStringLiteral("PROFT"),
                       {{QStringLiteral("A"), TipoCampo::Cadena, 1}}),
                 ErrorTabla);
    borrarSiExiste(rutaMdx);
    borrarSiExiste(ruta);
    EXPECT_TRUE(QFile::exists(ruta));
    EXPECT_TRUE(QFile::exists(rutaMdx));

    otro.closeWriteChannel();
    ASSERT_TRUE(otro.waitForFinished(10000));
    EXPECT_EQ(otro.exitCode(), 0);
    t.open();
    EXPECT_EQ(t.campos().size(), 2) << "la tabla no se recreó";
    t.close();
    borrarSiExiste(rutaMdx);
    borrarSiExiste(ruta);
    EXPECT_FALSE(QFile::exists(ruta));
    EXPECT_FALSE(QFile::exists(rutaMdx));
}

TEST_F(Bloqueo, OwnOpenTableIsNotRecreatedNorDeleted) {
    Tabla t(carpeta.path(), QStringLiteral("PROFT"), false);
    t.open();
    EXPECT_THROW(crear(carpeta.path(), QStringLiteral("PROFT"),
                       {{QStringLiteral("A"), TipoCampo::Cadena, 1}}),
                 ErrorTabla);
    borrarSiExiste(ruta);
    EXPECT_TRUE(QFile::exists(ruta));
    EXPECT_EQ(t.campos().size(), 2);
}

}  // namespace
}  // namespace varnolo::prueba::motor
