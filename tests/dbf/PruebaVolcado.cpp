// Rows appended under an exclusive hold wait in memory and reach the disk together:
// a closed table is byte for byte what posting each row at once writes; another
// object of this process that reads the table, an error that ends the step and a
// process that dies find every row that reached the disk counted, and no other.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <optional>

#include "base/Errores.h"
#include "dbf/ArchivoTabla.h"
#include "dbf/Tabla.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo::prueba::motor {
namespace {

using varnolo::motor::ArchivoTabla;

// About 140 bytes a row: a few thousand rows fill the write buffer more than once.
const QList<DefCampo> kCampos = {
    {QStringLiteral("CLAVE"), TipoCampo::Cadena, 10},
    {QStringLiteral("NOMBRE"), TipoCampo::Cadena, 80},
    {QStringLiteral("HORAS"), TipoCampo::Flotante, 0},
    {QStringLiteral("ORDEN"), TipoCampo::Entero, 0},
    {QStringLiteral("ACTIVO"), TipoCampo::Logico, 0},
    {QStringLiteral("CURSO"), TipoCampo::Cadena, 15},
};

void llenarFila(Tabla& t, int i) {
    t.setString(QStringLiteral("CLAVE"), QStringLiteral("K%1").arg(i));
    t.setString(QStringLiteral("NOMBRE"), QStringLiteral("Educación Física %1").arg(i));
    t.setFloat(QStringLiteral("HORAS"), i % 7 + 0.5);
    t.setInteger(QStringLiteral("ORDEN"), i);
    t.setBoolean(QStringLiteral("ACTIVO"), i % 2 == 0);
    t.setString(QStringLiteral("CURSO"), QStringLiteral("1º ESO"));
}

void anadirFilas(Tabla& t, int desde, int hasta) {
    for (int i = desde; i < hasta; ++i) {
        t.append();
        llenarFila(t, i);
        t.post();
    }
}

// What the header of a table file states, and whether the file is whole: the
// counted records and the end marker, nothing more.
struct EstadoDisco {
    int cuenta = -1;
    bool completo = false;
};

EstadoDisco estadoDisco(const QByteArray& b) {
    EstadoDisco e;
    if (b.size() < 32) return e;
    const auto byte = [&](int i) { return static_cast<quint32>(static_cast<unsigned char>(b[i])); };
    e.cuenta = static_cast<int>(byte(4) | byte(5) << 8 | byte(6) << 16 | byte(7) << 24);
    const int cabecera = static_cast<int>(byte(8) | byte(9) << 8);
    const int registro = static_cast<int>(byte(10) | byte(11) << 8);
    e.completo = b.size() == cabecera + qint64(e.cuenta) * registro + 1 && b.back() == '\x1a';
    return e;
}

class Volcado : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;
    QString ruta(const QString& nombre) const {
        return QDir(carpeta.path()).filePath(nombre + QStringLiteral(".DBF"));
    }
    Tabla abrir(const QString& nombre, bool exclusiva) {
        Tabla t(carpeta.path(), nombre, exclusiva);
        t.setReloj(relojFijo());
        t.open();
        return t;
    }
    // The same work on a table held exclusively and on one held shared (where each
    // post goes to disk at once); returns the two files after closing.
    std::pair<QByteArray, QByteArray> ambasFormas(const std::function<void(Tabla&)>& trabajo) {
        for (const char* nombre : {"EXCLUSIVA", "COMPARTIDA"}) {
            crear(carpeta.path(), QString::fromLatin1(nombre), kCampos);
        }
        {
            Tabla exclusiva = abrir(QStringLiteral("EXCLUSIVA"), true);
            trabajo(exclusiva);
            exclusiva.close();
        }
        {
            Tabla compartida = abrir(QStringLiteral("COMPARTIDA"), false);
            trabajo(compartida);
            compartida.close();
        }
        return {leerBytes(ruta(QStringLiteral("EXCLUSIVA"))),
                leerBytes(ruta(QStringLiteral("COMPARTIDA")))};
    }
};

TEST_F(Volcado, ClosedTableIsByteForByteWhatPostingAtOnceWrites) {
    const auto [exclusiva, compartida] = ambasFormas([](Tabla& t) {
        anadirFilas(t, 0, 5000);
        // An edit among waiting rows, then more rows, then a pending insert that
        // closing posts.
        t.first();
        t.edit();
        t.setString(QStringLiteral("NOMBRE"), QStringLiteral("Editada"));
        t.post();
        anadirFilas(t, 5000, 5010);
        t.append();
        llenarFila(t, 5010);
    });
    EXPECT_EQ(estadoDisco(exclusiva).cuenta, 5011);
    EXPECT_TRUE(estadoDisco(exclusiva).completo);
    EXPECT_TRUE(exclusiva == compartida) << "los archivos difieren";
}

TEST_F(Volcado, WaitingRowsNeverCountedBeforeTheyAreOnDisk) {
    crear(carpeta.path(), QStringLiteral("ASIGT"), kCampos);
    Tabla t = abrir(QStringLiteral("ASIGT"), true);
    int anteriores = 0;
    for (int tanda = 1; tanda <= 10; ++tanda) {
        anadirFilas(t, (tanda - 1) * 500, tanda * 500);
        const EstadoDisco e =
            estadoDisco(ArchivoTabla::bytesEnDisco(ruta(QStringLiteral("ASIGT"))));
        EXPECT_TRUE(e.completo) << "tanda " << tanda << ": " << e.cuenta << " filas contadas";
        EXPECT_GE(e.cuenta, anteriores);
        EXPECT_LE(e.cuenta, tanda * 500);
        anteriores = e.cuenta;
    }
    EXPECT_GT(anteriores, 0) << "5000 filas llenan el búfer de escritura";
}

TEST_F(Volcado, AnotherObjectReadingFindsEveryPostedRowOnDisk) {
    crear(carpeta.path(), QStringLiteral("ASIGNOMT"), kCampos);
    const QString archivo = ruta(QStringLiteral("ASIGNOMT"));
    Tabla escritor = abrir(QStringLiteral("ASIGNOMT"), true);
    anadirFilas(escritor, 0, 3);

    // Opening is reading: the second object (shared, like a step's own object over
    // a component's table) gets the rows, and so does the disk.
    Tabla lector = abrir(QStringLiteral("ASIGNOMT"), false);
    EXPECT_EQ(lector.recordCount(), 3);
    EXPECT_EQ(estadoDisco(ArchivoTabla::bytesEnDisco(archivo)).cuenta, 3);

    anadirFilas(escritor, 3, 5);
    EXPECT_TRUE(lector.locate(QStringLiteral("CLAVE"), {QStringLiteral("K4")}));
    const QByteArray disco = ArchivoTabla::bytesEnDisco(archivo);
    EXPECT_EQ(estadoDisco(disco).cuenta, 5);
    EXPECT_TRUE(estadoDisco(disco).completo);
    EXPECT_TRUE(disco.contains("K4        "));
}

TEST_F(Volcado, RowsPostedBeforeAnErrorStayOnDisk) {
    // The step's own object holds the table alone, or a component holds it open
    // beyond the step (as the main window's tables do).
    for (const bool componenteAbierto : {false, true}) {
        SCOPED_TRACE(componenteAbierto ? "con componente abierto" : "solo el paso");
        const QString nombre =
            componenteAbierto ? QStringLiteral("GRUPOST") : QStringLiteral("AULAT");
        crear(carpeta.path(), nombre, kCampos);
        std::optional<Tabla> componente;
        if (componenteAbierto) componente.emplace(abrir(nombre, true));

        const auto paso = [&] {
            Tabla t = abrir(nombre, true);
            anadirFilas(t, 0, 3);
            t.append();
            llenarFila(t, 3);
            aEntero(QStringLiteral("3a"));  // a bad number in the document ends the step
            t.post();
        };
        EXPECT_THROW(paso(), ErrorConversion);

        const QByteArray disco =
            componente ? ArchivoTabla::bytesEnDisco(ruta(nombre)) : leerBytes(ruta(nombre));
        EXPECT_EQ(estadoDisco(disco).cuenta, 3);
        EXPECT_TRUE(estadoDisco(disco).completo);
        EXPECT_TRUE(disco.contains("K2        "));
        EXPECT_FALSE(disco.contains("K3        ")) << "la fila sin grabar no se guarda";
    }
}

// Rows on disk leave memory while a table is only being filled; reading them again,
// through the filling object or another one, finds them as they were posted, and a
// row that was deleted before the table was opened stays hidden.
TEST_F(Volcado, RowsThatLeftMemoryReadBackAsPosted) {
    for (const bool conBorrada : {false, true}) {
        SCOPED_TRACE(conBorrada ? "con una fila borrada" : "sin filas borradas");
        const QString nombre = conBorrada ? QStringLiteral("CONBORRADA") : QStringLiteral("ASIGT");
        crear(carpeta.path(), nombre, kCampos);
        {
            Tabla t = abrir(nombre, true);
            anadirFilas(t, 0, 3);
            t.close();
        }
        if (conBorrada) {
            QByteArray bytes = leerBytes(ruta(nombre));
            const int cabecera =
                static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
            bytes[cabecera] = '*';  // K0, deleted by another program
            escribirBytes(ruta(nombre), bytes);
        }
        Tabla t = abrir(nombre, true);
        anadirFilas(t, 3, 5000);
        // A new view over the rows, before any row is read back.
        Tabla otro = abrir(nombre, false);
        EXPECT_EQ(otro.recordCount(), conBorrada ? 4999 : 5000);
        EXPECT_EQ(otro.locate(QStringLiteral("CLAVE"), {QStringLiteral("K0")}), !conBorrada);
        EXPECT_TRUE(otro.locate(QStringLiteral("CLAVE"), {QStringLiteral("K17")}));
        EXPECT_EQ(otro.asInteger(QStringLiteral("ORDEN")), 17);

        QStringList claves;
        for (t.first(); !t.eof(); t.next()) claves << t.asString(QStringLiteral("CLAVE"));
        ASSERT_EQ(claves.size(), conBorrada ? 4999 : 5000);
        EXPECT_EQ(claves.first(), conBorrada ? QStringLiteral("K1") : QStringLiteral("K0"));
        EXPECT_EQ(claves[1234], QStringLiteral("K%1").arg(conBorrada ? 1235 : 1234));
        EXPECT_EQ(claves.last(), QStringLiteral("K4999"));

        // Rows appended after the others were read back.
        anadirFilas(t, 5000, 5002);
        EXPECT_TRUE(otro.locate(QStringLiteral("CLAVE"), {QStringLiteral("K5001")}));
        otro.close();
        t.close();
        const QByteArray disco = leerBytes(ruta(nombre));
        EXPECT_EQ(estadoDisco(disco).cuenta, 5002);
        EXPECT_TRUE(estadoDisco(disco).completo);
    }
}

TEST_F(Volcado, ProcessThatDiesLeavesATableThatOpensAndCanBeRebuilt) {
    crear(carpeta.path(), QStringLiteral("ASIGT"), kCampos);
    const QString archivo = ruta(QStringLiteral("ASIGT"));
    const Salida s = hijo({QStringLiteral("llenar-y-morir"), archivo, QStringLiteral("5000")});
    ASSERT_EQ(s.codigo, 9) << s.texto.toStdString();

    const EstadoDisco e = estadoDisco(leerBytes(archivo));
    EXPECT_TRUE(e.completo) << e.cuenta << " filas contadas";
    {
        Tabla t = abrir(QStringLiteral("ASIGT"), true);
        EXPECT_EQ(t.recordCount(), e.cuenta);
        EXPECT_GT(e.cuenta, 0);
        int i = 0;
        for (t.first(); !t.eof(); t.next(), ++i) {
            ASSERT_EQ(t.asString(QStringLiteral("CLAVE")), QStringLiteral("K%1").arg(i));
            ASSERT_EQ(t.asInteger(QStringLiteral("ORDEN")), i);
        }
    }
    // A rerun recreates the table and fills it whole.
    crear(carpeta.path(), QStringLiteral("ASIGT"), kCampos);
    Tabla t = abrir(QStringLiteral("ASIGT"), true);
    anadirFilas(t, 0, 5000);
    t.close();
    EXPECT_EQ(estadoDisco(leerBytes(archivo)).cuenta, 5000);
}

}  // namespace

void llenarYMorir(const QString& ruta, int filas) {
    Tabla t(QString(), ruta, true);
    t.setReloj(relojFijo());
    t.open();
    anadirFilas(t, 0, filas);
    std::_Exit(9);
}

}  // namespace varnolo::prueba::motor
