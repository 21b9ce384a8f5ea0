// Tables the engine writes: the exact bytes of header and records, every declared
// type read back, texts converted to Windows-1252 and cut in bytes, blank fields,
// the level 7 layout for long field names, and the production index.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo::prueba::motor {
namespace {

const QList<DefCampo> kCuatroTipos = {
    {QStringLiteral("NOMBRE"), TipoCampo::Cadena, 5},
    {QStringLiteral("CANT"), TipoCampo::Entero, 0},
    {QStringLiteral("PRECIO"), TipoCampo::Flotante, 0},
    {QStringLiteral("ACTIVO"), TipoCampo::Logico, 0},
};

QByteArray hex(const char* texto) { return QByteArray::fromHex(QByteArray(texto)); }

class Escritura : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;
    QString ruta(const QString& archivo) const { return carpeta.filePath(archivo); }
    Tabla abrir(const QString& nombre) {
        Tabla t(carpeta.path(), nombre, true);
        t.setReloj(relojFijo());
        t.open();
        return t;
    }
};

TEST_F(Escritura, HeaderDescriptorsAndOneRecordByteForByte) {
    crear(carpeta.path(), QStringLiteral("EXACTA"), kCuatroTipos);
    {
        Tabla t(carpeta.path(), QStringLiteral("EXACTA"), true);
        t.setReloj(relojFijo());
        t.open();
        t.append();
        t.setString(QStringLiteral("NOMBRE"), QStringLiteral("Peña"));
        t.setInteger(QStringLiteral("CANT"), -42);
        t.setFloat(QStringLiteral("PRECIO"), 3.5);
        t.setBoolean(QStringLiteral("ACTIVO"), true);
        t.post();
    }
    const QByteArray esperado =
        hex("037e030f01000000a1002600000000000000000000000000000000000003 0000") +
        hex("4e4f4d4252450000000000 43 00000000 0500 0000000000000000000000000000") +
        hex("43414e54000000000000 00 4e 00000000 0b00 0000000000000000000000000000") +
        hex("50524543494f0000000000 4e 00000000 1404 0000000000000000000000000000") +
        hex("41435449564f0000000000 4c 00000000 0100 0000000000000000000000000000") + hex("0d") +
        QByteArray(
            " Pe\xf1"
            "a         -42              3.5000T\x1a");
    EXPECT_EQ(leerBytes(ruta(QStringLiteral("EXACTA.DBF"))).toHex(' '), esperado.toHex(' '));
}

// Field names given as literals are remembered by where their characters are; a
// literal and a name built at run time, in any letter case, find the same field, asked
// again and again, and a name one letter away from a field finds none.
TEST_F(Escritura, LiteralsAndBuiltNamesFindTheSameFields) {
    crear(carpeta.path(), QStringLiteral("NOMBRES"), kCuatroTipos);
    Tabla t = abrir(QStringLiteral("NOMBRES"));
    const QString literales[] = {
        QStringLiteral("NOMBRE"),  QStringLiteral("CANT"),   QStringLiteral("PRECIO"),
        QStringLiteral("ACTIVO"),  QStringLiteral("nombre"), QStringLiteral("Cant"),
        QStringLiteral("NOMBRF"),  QStringLiteral("CANX"),   QStringLiteral(""),
        QStringLiteral("ACTIVOS"),
    };
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
        for (const QString& literal : literales) {
            const QString construido =
                QString(literal.size(), u' ').replace(0, literal.size(), literal);
            EXPECT_EQ(t.tieneCampo(literal), t.tieneCampo(construido)) << literal.toStdString();
        }
    }
    EXPECT_TRUE(t.tieneCampo(QStringLiteral("cant")));
    EXPECT_FALSE(t.tieneCampo(QStringLiteral("CANX")));
    t.append();
    t.setString(QStringLiteral("nombre"), QStringLiteral("Ana"));
    t.setInteger(QStringLiteral("CANT"), 7);
    t.post();
    EXPECT_EQ(t.asString(QString::fromLatin1("NOMBRE")), QStringLiteral("Ana"));
    EXPECT_EQ(t.asInteger(QString::fromLatin1("cant")), 7);
    EXPECT_THROW(t.setString(QStringLiteral("NOMBRF"), QStringLiteral("x")), ErrorTabla);
}

TEST_F(Escritura, EmptyTableIsHeaderAndEndMarker) {
    crear(carpeta.path(), QStringLiteral("VACIA"), kCuatroTipos);
    const QByteArray b = leerBytes(ruta(QStringLiteral("VACIA.DBF")));
    ASSERT_EQ(b.size(), 161 + 1);
    EXPECT_EQ(b.mid(4, 4), hex("00000000"));
    EXPECT_EQ(b.at(28), 0x00) << "sin índice no hay bandera de índice de producción";
    EXPECT_EQ(b.back(), '\x1a');
    EXPECT_FALSE(QFile::exists(ruta(QStringLiteral("VACIA.MDX"))));
}

TEST_F(Escritura, EveryTypeReadsBackAfterReopen) {
    crear(carpeta.path(), QStringLiteral("TIPOS"), kCuatroTipos);
    struct Fila {
        const char* nombre;
        int cant;
        double precio;
        bool activo;
    };
    const Fila filas[] = {{"Ana", 0, 0.0, false},
                          {"Zoë", -2147483647, -12345.6789, true},
                          {"x", 2147483647, 999999999999.25, false}};
    {
        Tabla t = abrir(QStringLiteral("tipos"));
        for (const Fila& f : filas) {
            t.append();
            t.setString(QStringLiteral("nombre"), QString::fromUtf8(f.nombre));
            t.setInteger(QStringLiteral("CANT"), f.cant);
            t.setFloat(QStringLiteral("PRECIO"), f.precio);
            t.setBoolean(QStringLiteral("ACTIVO"), f.activo);
            t.post();
        }
    }
    Tabla t = abrir(QStringLiteral("TIPOS.dbf"));
    ASSERT_EQ(t.recordCount(), 3);
    for (const Fila& f : filas) {
        ASSERT_FALSE(t.eof());
        EXPECT_EQ(t.asString(QStringLiteral("NOMBRE")), QString::fromUtf8(f.nombre));
        EXPECT_EQ(t.asInteger(QStringLiteral("CANT")), f.cant);
        EXPECT_EQ(t.asString(QStringLiteral("CANT")), QString::number(f.cant));
        EXPECT_DOUBLE_EQ(t.asFloat(QStringLiteral("PRECIO")), f.precio);
        EXPECT_EQ(t.asBoolean(QStringLiteral("ACTIVO")), f.activo);
        EXPECT_EQ(t.asString(QStringLiteral("ACTIVO")), f.activo ? u"T" : u"F");
        EXPECT_FALSE(t.isNull(QStringLiteral("ACTIVO")));
        t.next();
    }
    EXPECT_TRUE(t.eof());
    const QList<CampoFisico>& campos = t.campos();
    ASSERT_EQ(campos.size(), 4);
    EXPECT_EQ(campos[2].tipo, 'N');
    EXPECT_EQ(campos[2].ancho, 20);
    EXPECT_EQ(campos[2].decimales, 4);
}

TEST_F(Escritura, TextIsConvertedToWindows1252AndCutToTheWidthInBytes) {
    struct Caso {
        const char* entrada;  // UTF-8
        int ancho;
        QByteArray bytes;     // stored
        const char* lectura;  // UTF-8, as read back
    };
    const Caso casos[] = {
        {"€uro", 3, "\x80ur", "€ur"},
        {"ñandú", 4,
         "\xf1"
         "and",
         "ñand"},
        {"Ñu", 4, "\xd1u  ", "Ñu"},
        {"日本", 3, "?? ", "??"},
        {"😀x", 2, "?x", "?x"},
        {"‘a’", 3,
         "\x91"
         "a\x92",
         "‘a’"},
    };
    for (const Caso& c : casos) {
        const QString nombre = QStringLiteral("T%1").arg(c.ancho);
        crear(carpeta.path(), nombre, {{QStringLiteral("C"), TipoCampo::Cadena, c.ancho}});
        {
            Tabla t = abrir(nombre);
            t.append();
            t.setString(QStringLiteral("C"), QString::fromUtf8(c.entrada));
            t.post();
            EXPECT_EQ(t.asString(QStringLiteral("C")), QString::fromUtf8(c.lectura)) << c.entrada;
        }
        const QByteArray b = leerBytes(ruta(nombre + QStringLiteral(".DBF")));
        EXPECT_EQ(b.mid(32 + 32 + 1 + 1, c.ancho), c.bytes) << c.entrada;
    }
}

TEST_F(Escritura, FieldsNeverWrittenAreBlank) {
    crear(carpeta.path(), QStringLiteral("BLANCO"), kCuatroTipos);
    Tabla t = abrir(QStringLiteral("BLANCO"));
    t.append();
    t.post();
    for (const CampoFisico& c : t.campos()) {
        EXPECT_TRUE(t.isNull(c.nombre)) << c.nombre.toStdString();
        EXPECT_EQ(t.asString(c.nombre), QString()) << c.nombre.toStdString();
        EXPECT_EQ(t.asInteger(c.nombre), 0) << c.nombre.toStdString();
    }
    t.close();
    const QByteArray b = leerBytes(ruta(QStringLiteral("BLANCO.DBF")));
    EXPECT_EQ(b.mid(161), QByteArray(38, ' ') + '\x1a');
}

TEST_F(Escritura, ValuesThatDoNotFitAreErrorsNotSilentDamage) {
    crear(carpeta.path(), QStringLiteral("ANCHO"), kCuatroTipos);
    {
        Tabla t = abrir(QStringLiteral("ANCHO"));
        t.append();
        EXPECT_THROW(t.setFloat(QStringLiteral("PRECIO"), 1e16), ErrorTabla);
        EXPECT_THROW(t.setFloat(QStringLiteral("PRECIO"), std::nan("")), ErrorTabla);
        EXPECT_THROW(t.setString(QStringLiteral("CANT"), QStringLiteral("doce")), ErrorTabla);
        EXPECT_THROW(t.setString(QStringLiteral("NADA"), QStringLiteral("x")), ErrorTabla);
        t.setString(QStringLiteral("CANT"), QStringLiteral(" 12 "));
        EXPECT_EQ(t.asInteger(QStringLiteral("CANT")), 12);
    }  // an error unwinding past the table drops the row it was writing
    Tabla t = abrir(QStringLiteral("ANCHO"));
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_THROW(t.setString(QStringLiteral("NOMBRE"), QStringLiteral("x")), ErrorTabla)
        << "escribir fuera de edición";
}

TEST_F(Escritura, BadLayoutsAreRefused) {
    const QList<QList<DefCampo>> malos = {
        {},
        {{QStringLiteral("A"), TipoCampo::Cadena, 0}},
        {{QStringLiteral("A"), TipoCampo::Cadena, 255}},
        {{QStringLiteral("A"), TipoCampo::Cadena, 3}, {QStringLiteral("a"), TipoCampo::Entero, 0}},
        {{QStringLiteral("AÑO"), TipoCampo::Entero, 0}},
        {{QString(33, u'X'), TipoCampo::Entero, 0}},
    };
    for (const auto& campos : malos) {
        EXPECT_THROW(crear(carpeta.path(), QStringLiteral("MALA"), campos), ErrorTabla);
    }
    EXPECT_THROW(
        crear(carpeta.path(), QStringLiteral("MALA"), {{QStringLiteral("A"), TipoCampo::Entero, 0}},
              {{QStringLiteral("B"), QStringLiteral("B")}}),
        ErrorTabla);
}

TEST_F(Escritura, ElevenCharacterNameFillsTheDescriptorAtLevelFour) {
    crear(carpeta.path(), QStringLiteral("ONCE"),
          {{QStringLiteral("OFERTAMATRI"), TipoCampo::Cadena, 20}});
    const QByteArray b = leerBytes(ruta(QStringLiteral("ONCE.DBF")));
    EXPECT_EQ(b.at(0), 0x03);
    EXPECT_EQ(b.mid(32, 12), QByteArray("OFERTAMATRIC"));
    Tabla t = abrir(QStringLiteral("ONCE"));
    EXPECT_TRUE(t.tieneCampo(QStringLiteral("OFERTAMATRI")));
}

TEST_F(Escritura, LongFieldNameGivesLevelSevenTable) {
    crear(carpeta.path(), QStringLiteral("NIVELES"),
          {{QStringLiteral("X_OFERTAMATRIG"), TipoCampo::Entero, 0},
           {QStringLiteral("NIVEL"), TipoCampo::Cadena, 6}});
    const QByteArray b = leerBytes(ruta(QStringLiteral("NIVELES.DBF")));
    ASSERT_EQ(b.size(), 68 + 2 * 48 + 1 + 1);
    EXPECT_EQ(b.at(0), 0x04);
    EXPECT_EQ(b.at(29), 0x03);
    EXPECT_EQ(b.mid(8, 4), hex("a5001200"));  // header 165, record 18
    EXPECT_EQ(b.mid(32, 9), QByteArray("DBWINWE0\0", 9));
    EXPECT_EQ(b.mid(68, 15), QByteArray("X_OFERTAMATRIG\0", 15));
    EXPECT_EQ(b.mid(68 + 32, 3), hex("4e0b00"));
    EXPECT_EQ(b.mid(68 + 48 + 32, 3), hex("430600"));
    EXPECT_EQ(b.at(68 + 96), 0x0d);
    {
        Tabla t = abrir(QStringLiteral("NIVELES"));
        t.append();
        t.setInteger(QStringLiteral("X_OFERTAMATRIG"), 4071);
        t.setString(QStringLiteral("NIVEL"), QStringLiteral("Bachillerato"));
        t.post();
    }
    Tabla t = abrir(QStringLiteral("NIVELES"));
    ASSERT_TRUE(t.locate(QStringLiteral("X_OFERTAMATRIG"), 4071));
    EXPECT_EQ(t.asString(QStringLiteral("NIVEL")), QStringLiteral("Bachil"));
}

TEST_F(Escritura, IndexedTableFlagsHeaderAndFieldAndWritesItsIndex) {
    const QList<DefCampo> campos = {{QStringLiteral("DIHO"), TipoCampo::Cadena, 4},
                                    {QStringLiteral("ORDEN"), TipoCampo::Entero, 0}};
    crear(carpeta.path(), QStringLiteral("ORDENADA"), campos,
          {{QStringLiteral("ORDEN"), QStringLiteral("ORDEN")}});
    const QByteArray b = leerBytes(ruta(QStringLiteral("ORDENADA.DBF")));
    EXPECT_EQ(b.at(28), 0x01);
    EXPECT_EQ(b.at(32 + 31), 0x00) << "DIHO no tiene índice";
    EXPECT_EQ(b.at(64 + 31), 0x01) << "ORDEN sí";
    const QString mdx = ruta(QStringLiteral("ORDENADA.MDX"));
    ASSERT_TRUE(QFile::exists(mdx));
    const QByteArray vacio = leerBytes(mdx);
    {
        Tabla t = abrir(QStringLiteral("ORDENADA"));
        for (int orden : {540, 480, 510}) {
            t.append();
            t.setInteger(QStringLiteral("ORDEN"), orden);
            t.post();
        }
        EXPECT_EQ(leerBytes(mdx), vacio) << "el índice se escribe al cerrar, no en cada fila";
    }
    const QByteArray lleno = leerBytes(mdx);
    EXPECT_NE(lleno, vacio);
    EXPECT_TRUE(lleno.contains(QByteArray::fromHex("370d48"))) << "la clave 480 está en el índice";

    // Recreated without an index, the old index file goes.
    crear(carpeta.path(), QStringLiteral("ORDENADA"), campos);
    EXPECT_FALSE(QFile::exists(mdx));
}

}  // namespace
}  // namespace varnolo::prueba::motor
