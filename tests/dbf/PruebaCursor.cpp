// Walking, locating and ordering the rows of an open table, the rows
// shared by two objects of this process, and writes that reach the file at post
// under a shared hold.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo::prueba::motor {
namespace {

class Cursor : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;

    // SOLUC-like rows: PROF, DIA (text of digits), HORA, ORDEN.
    void SetUp() override {
        crear(carpeta.path(), QStringLiteral("SOLUC"),
              {{QStringLiteral("PROF"), TipoCampo::Cadena, 10},
               {QStringLiteral("DIA"), TipoCampo::Cadena, 3},
               {QStringLiteral("HORA"), TipoCampo::Entero, 0},
               {QStringLiteral("ORDEN"), TipoCampo::Entero, 0}});
        Tabla t = abrir();
        const struct {
            const char* prof;
            const char* dia;
            int hora;
            int orden;
        } filas[] = {{"O'Neil", "1", 3, 20}, {"ANA", "2", 1, 10}, {"ana", "3", 2, 20},
                     {"O'Neil", "4", 5, 5},  {"ANA", "5", 1, 20}, {"O'NEIL", "12", 4, 10}};
        for (const auto& f : filas) {
            t.append();
            t.setString(QStringLiteral("PROF"), QString::fromUtf8(f.prof));
            t.setString(QStringLiteral("DIA"), QString::fromUtf8(f.dia));
            t.setInteger(QStringLiteral("HORA"), f.hora);
            t.setInteger(QStringLiteral("ORDEN"), f.orden);
            t.post();
        }
    }

    Tabla abrir(bool exclusiva = true) {
        Tabla t(carpeta.path(), QStringLiteral("SOLUC"), exclusiva);
        t.setReloj(relojFijo());
        t.open();
        return t;
    }

    static QStringList columna(Tabla& t, const QString& campo) {
        QStringList valores;
        for (t.first(); !t.eof(); t.next()) valores << t.asString(campo);
        return valores;
    }
};

TEST_F(Cursor, WalksInAppendOrderAndSetRecNoStaysInsideTheRows) {
    Tabla t = abrir();
    EXPECT_EQ(t.asString(QStringLiteral("DIA")), QStringLiteral("1")) << "abre en la primera";
    EXPECT_EQ(columna(t, QStringLiteral("DIA")).join(u','), QStringLiteral("1,2,3,4,5,12"));
    EXPECT_TRUE(t.eof());
    const struct {
        int posicion;
        const char* dia;
    } casos[] = {{3, "4"}, {0, "1"}, {5, "12"}, {99, "12"}, {-10, "1"}};
    for (const auto& c : casos) {
        t.setRecNo(c.posicion);
        EXPECT_FALSE(t.eof()) << c.posicion;
        EXPECT_EQ(t.asString(QStringLiteral("DIA")), QString::fromUtf8(c.dia)) << c.posicion;
    }
    t.setRecNo(5);
    t.next();
    EXPECT_TRUE(t.eof());
    t.setIndexFieldNames(QStringLiteral("ORDEN"));
    t.setRecNo(2);
    EXPECT_EQ(t.asString(QStringLiteral("DIA")), QStringLiteral("12")) << "en el orden del índice";
}

TEST_F(Cursor, LocateComparesWholeValuesCaseSensitively) {
    Tabla t = abrir();
    struct Caso {
        QString campos;
        QStringList valores;
        const char* dia;  // the row found, told by its DIA; nullptr: not found
    };
    const Caso casos[] = {
        {QStringLiteral("PROF"), {QStringLiteral("ana")}, "3"},
        {QStringLiteral("PROF"), {QStringLiteral("ANA")}, "2"},
        {QStringLiteral("PROF"), {QStringLiteral("AN")}, nullptr},
        {QStringLiteral("PROF"), {QStringLiteral("ANA ")}, nullptr},
        {QStringLiteral("PROF;HORA"), {QStringLiteral("ANA"), QStringLiteral("1")}, "2"},
        {QStringLiteral("prof;dia"), {QStringLiteral("ANA"), QStringLiteral("5")}, "5"},
        {QStringLiteral("PROF;DIA"), {QStringLiteral("ANA"), QStringLiteral("3")}, nullptr},
        {QStringLiteral("DIA"), {QStringLiteral("12")}, "12"},
    };
    for (const Caso& c : casos) {
        t.setRecNo(3);  // DIA 4
        EXPECT_EQ(t.locate(c.campos, c.valores), c.dia != nullptr) << c.campos.toStdString();
        EXPECT_EQ(t.asString(QStringLiteral("DIA")), QString::fromUtf8(c.dia ? c.dia : "4"))
            << c.campos.toStdString();
    }
    EXPECT_THROW(t.locate(QStringLiteral("PROF;DIA"), {QStringLiteral("ANA")}), ErrorTabla);
    EXPECT_THROW(t.locate(QStringLiteral("NADA"), {QStringLiteral("x")}), ErrorTabla);
}

TEST_F(Cursor, LocateByIntegerOnNumericAndOnTextOfDigits) {
    Tabla t = abrir();
    ASSERT_TRUE(t.locate(QStringLiteral("HORA"), 4));
    EXPECT_EQ(t.asString(QStringLiteral("DIA")), QStringLiteral("12"));
    ASSERT_TRUE(t.locate(QStringLiteral("DIA"), 4));
    EXPECT_EQ(t.asInteger(QStringLiteral("HORA")), 5);
    EXPECT_FALSE(t.locate(QStringLiteral("HORA"), 9));
    EXPECT_EQ(t.asString(QStringLiteral("DIA")), QStringLiteral("4")) << "no se mueve";
}

TEST_F(Cursor, DeletedRowsAreNeitherCountedNorVisited) {
    // Mark the first row deleted, as another dBase program would.
    const QString ruta = QDir(carpeta.path()).filePath(QStringLiteral("SOLUC.DBF"));
    cambiarByte(ruta, 32 + 4 * 32 + 1, '*');
    Tabla t = abrir();
    EXPECT_EQ(t.recordCount(), 5);
    EXPECT_EQ(t.asString(QStringLiteral("DIA")), QStringLiteral("2")) << "abre en la primera viva";
    EXPECT_EQ(columna(t, QStringLiteral("DIA")).join(u','), QStringLiteral("2,3,4,5,12"));
    EXPECT_FALSE(t.locate(QStringLiteral("DIA"), {QStringLiteral("1")}));
    t.setIndexFieldNames(QStringLiteral("ORDEN"));
    EXPECT_EQ(columna(t, QStringLiteral("DIA")).join(u','), QStringLiteral("4,2,12,3,5"));
}

TEST_F(Cursor, IndexOrderKeepsEqualKeysInAppendOrder) {
    Tabla t = abrir();
    t.setIndexFieldNames(QStringLiteral("ORDEN"));
    EXPECT_EQ(columna(t, QStringLiteral("DIA")).join(u','), QStringLiteral("4,2,12,1,3,5"));
    t.setIndexFieldNames(QStringLiteral("PROF"));
    EXPECT_EQ(columna(t, QStringLiteral("DIA")).join(u','), QStringLiteral("2,5,12,1,4,3"));
    t.setIndexFieldNames(QString());
    EXPECT_EQ(columna(t, QStringLiteral("DIA")).join(u','), QStringLiteral("1,2,3,4,5,12"));
    EXPECT_THROW(t.setIndexFieldNames(QStringLiteral("NADA")), ErrorTabla);
}

TEST_F(Cursor, TwoObjectsOfThisProcessShareTheRows) {
    Tabla ventana = abrir(true);
    Tabla dialogo(QString(), QDir(carpeta.path()).filePath(QStringLiteral("soluc.dbf")), false);
    dialogo.open();
    ventana.setRecNo(5);
    dialogo.append();
    dialogo.setString(QStringLiteral("PROF"), QStringLiteral("NUEVO"));
    dialogo.post();
    EXPECT_EQ(ventana.recordCount(), 7);
    EXPECT_EQ(ventana.asString(QStringLiteral("DIA")), QStringLiteral("12"))
        << "el cursor sigue en su fila";
    ventana.next();
    EXPECT_EQ(ventana.asString(QStringLiteral("PROF")), QStringLiteral("NUEVO"));

    ASSERT_TRUE(dialogo.locate(QStringLiteral("PROF"), {QStringLiteral("ana")}));
    dialogo.edit();
    dialogo.setString(QStringLiteral("PROF"), QStringLiteral("Ana"));
    EXPECT_TRUE(ventana.locate(QStringLiteral("PROF"), {QStringLiteral("ana")}))
        << "lo no guardado no se ve";
    dialogo.post();
    EXPECT_FALSE(ventana.locate(QStringLiteral("PROF"), {QStringLiteral("ana")}));
    dialogo.close();
    EXPECT_EQ(ventana.recordCount(), 7);
}

TEST_F(Cursor, PostWritesTheRowCountAndDateToDiskAtOnce) {
    // Under a shared hold another process may be reading the file, so each post
    // reaches it at once (rows appended under an exclusive hold: PruebaVolcado).
    const QString ruta = QDir(carpeta.path()).filePath(QStringLiteral("SOLUC.DBF"));
    Tabla t = abrir(false);
    t.setReloj(std::make_shared<RelojFijo>(QDateTime(QDate(2027, 1, 2), QTime(9, 0))));
    t.append();
    t.setString(QStringLiteral("PROF"), QStringLiteral("DISCO"));
    t.post();
    const QByteArray b = leerBytes(ruta);
    ASSERT_FALSE(b.isEmpty());
    EXPECT_EQ(b.mid(1, 7), QByteArray::fromHex("7f010207000000"));
    EXPECT_EQ(b.back(), '\x1a');
    EXPECT_TRUE(b.contains(" DISCO     "));

    t.first();
    t.edit();
    t.setString(QStringLiteral("PROF"), QStringLiteral("EDITADO"));
    t.post();
    EXPECT_TRUE(leerBytes(ruta).contains(" EDITADO   "));
    EXPECT_EQ(t.recordCount(), 7);
    t.first();
    t.edit();
    t.setString(QStringLiteral("PROF"), QStringLiteral("MOVIDO"));
    t.next();
    EXPECT_EQ(t.estado(), Tabla::Estado::Navegando);
    EXPECT_TRUE(leerBytes(ruta).contains(" MOVIDO    ")) << "moverse guarda la edición";
    t.append();
    t.setString(QStringLiteral("PROF"), QStringLiteral("AL_CERRAR"));
    t.close();
    Tabla otra = abrir();
    EXPECT_TRUE(otra.locate(QStringLiteral("PROF"), {QStringLiteral("AL_CERRAR")}));
    EXPECT_EQ(otra.recordCount(), 8);
}

TEST_F(Cursor, NamesPathsAndMessages) {
    Tabla porRuta(QString(), QDir(carpeta.path()).filePath(QStringLiteral("Soluc")));
    EXPECT_EQ(porRuta.nombre(), QStringLiteral("SOLUC"));
    EXPECT_EQ(porRuta.rutaArchivo(), QDir(carpeta.path()).filePath(QStringLiteral("SOLUC.DBF")));
    porRuta.open();
    try {
        (void)porRuta.asString(QStringLiteral("X"));
        ADD_FAILURE();
    } catch (const ErrorTabla& e) {
        EXPECT_EQ(e.texto(), QStringLiteral("La tabla SOLUC no tiene el campo X"));
    }
    Tabla falta(carpeta.path(), QStringLiteral("PROFT"));
    try {
        falta.open();
        ADD_FAILURE();
    } catch (const ErrorTabla& e) {
        EXPECT_EQ(e.texto(),
                  QStringLiteral("No se puede abrir la tabla PROFT: el archivo no existe (%1)")
                      .arg(QDir::toNativeSeparators(falta.rutaArchivo())));
    }
    EXPECT_FALSE(falta.active());
}

// How long the opening takes is measured by bench_tiempos.
TEST_F(Cursor, SixtyThousandRowsOpenWhole) {
    const QString ruta = QDir(carpeta.path()).filePath(QStringLiteral("GRANDE.DBF"));
    crear(carpeta.path(), QStringLiteral("GRANDE"), {{QStringLiteral("A"), TipoCampo::Cadena, 40}});
    // Rows added by bytes: the test is about opening, not posting.
    QByteArray b = leerBytes(ruta);
    b.chop(1);
    const int n = 60000;
    for (int i = 0; i < n; ++i) b += ' ' + QByteArray::number(i).leftJustified(40, ' ');
    b += '\x1a';
    b[4] = char(n & 0xFF);
    b[5] = char((n >> 8) & 0xFF);
    escribirBytes(ruta, b);
    Tabla t(carpeta.path(), QStringLiteral("GRANDE"), true);
    t.open();
    EXPECT_EQ(t.recordCount(), n);
    EXPECT_TRUE(t.locate(QStringLiteral("A"), {QStringLiteral("59999")}));
}

}  // namespace
}  // namespace varnolo::prueba::motor
