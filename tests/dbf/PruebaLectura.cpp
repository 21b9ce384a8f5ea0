// Tables that other programs wrote: dBase III/IV with DOS code pages, level 7 with
// its binary types, deleted rows; and damaged files, which must be errors naming
// the table, never a crash or a read past the data.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo::prueba::motor {
namespace {

struct CampoCrudo {
    QByteArray nombre;
    char tipo;
    int ancho;
    int decimales = 0;
};

void poner16(QByteArray& b, int pos, int v) {
    b[pos] = char(v & 0xFF);
    b[pos + 1] = char((v >> 8) & 0xFF);
}

void poner32(QByteArray& b, int pos, quint32 v) {
    for (int i = 0; i < 4; ++i) b[pos + i] = char((v >> (8 * i)) & 0xFF);
}

// A table as another program lays it out: dBase III/IV (32-byte descriptors), or
// level 7 when `controlador7` names a language driver (48-byte descriptors).
QByteArray tablaAjena(unsigned char version, unsigned char controlador,
                      const QList<CampoCrudo>& campos, const QList<QByteArray>& registros,
                      const QByteArray& controlador7 = {}) {
    const bool nivel7 = !controlador7.isEmpty();
    const int inicio = nivel7 ? 68 : 32, paso = nivel7 ? 48 : 32;
    QByteArray b(inicio + paso * campos.size() + 1, '\0');
    b[0] = char(version);
    b[1] = char(124);
    b[2] = 1;
    b[3] = 2;
    b[4] = char(registros.size());
    int largo = 1;
    for (const auto& c : campos) largo += c.ancho;
    poner16(b, 8, b.size());
    poner16(b, 10, largo);
    b[29] = char(controlador);
    if (nivel7) b.replace(32, controlador7.size(), controlador7);
    int pos = inicio;
    for (const auto& c : campos) {
        b.replace(pos, c.nombre.size(), c.nombre);
        const int t = nivel7 ? 32 : 11, a = nivel7 ? 33 : 16;
        b[pos + t] = c.tipo;
        b[pos + a] = char(c.ancho);
        b[pos + a + 1] = char(c.decimales);
        pos += paso;
    }
    b[pos] = 0x0d;
    for (const auto& r : registros) b += r;
    return b + '\x1a';
}

class Lectura : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;
    QString ruta(const QString& archivo = QStringLiteral("AJENA.DBF")) const {
        return carpeta.filePath(archivo);
    }
    Tabla tabla() const { return Tabla(carpeta.path(), QStringLiteral("AJENA")); }
};

TEST_F(Lectura, DbaseThreeWithDosCodePagesMemoDateAndDeletedRow) {
    const QList<CampoCrudo> campos = {
        {"NOMBRE", 'C', 6}, {"FECHA", 'D', 8}, {"NOTAS", 'M', 10}, {"CANT", 'N', 4, 1}};
    struct Caso {
        unsigned char controlador;
        QByteArray nombre;
        const char* leido;
    };
    const Caso casos[] = {{0x01,
                           "\xa4"
                           "and\xa3 ",
                           "ñandú"},
                          {0x02,
                           "\xb5"
                           "ngel ",
                           "Ángel"},
                          {0x03,
                           "\xd1"
                           "u    ",
                           "Ñu"},
                          {0x00, "\xe9t\xe9   ", "été"}};
    for (const Caso& c : casos) {
        escribirBytes(
            ruta(), tablaAjena(0x83, c.controlador, campos,
                               {" " + c.nombre + "20260315         1 2.5",
                                "*BORRAD20000101          -1.0", " fin   19991231           7.0"}));
        Tabla t = tabla();
        t.open();
        EXPECT_EQ(t.recordCount(), 2) << "la fila borrada no cuenta";
        EXPECT_EQ(t.asString(QStringLiteral("NOMBRE")), QString::fromUtf8(c.leido));
        EXPECT_EQ(t.asString(QStringLiteral("FECHA")), QStringLiteral("20260315"));
        EXPECT_EQ(t.asString(QStringLiteral("NOTAS")), QString());
        EXPECT_DOUBLE_EQ(t.asFloat(QStringLiteral("CANT")), 2.5);
        EXPECT_EQ(t.asInteger(QStringLiteral("CANT")), 3);
        t.next();
        EXPECT_EQ(t.asString(QStringLiteral("NOMBRE")), QStringLiteral("fin"));
        t.next();
        EXPECT_TRUE(t.eof());
        EXPECT_FALSE(
            t.locate(QStringList{QStringLiteral("NOMBRE")}.join(u';'), {QStringLiteral("BORRAD")}));
    }
}

// GDAL and other writers store a null number as asterisks filling the field: it
// reads as a blank number in every numeric field, never as a conversion error.
TEST_F(Lectura, NumbersOfAsterisksReadAsBlank) {
    const QList<CampoCrudo> campos = {{"DIA", 'N', 2}, {"HORA", 'N', 4}, {"PESO", 'F', 6, 2}};
    // Each row: the deletion flag, then DIA (2), HORA (4) and PESO (6).
    const QList<QByteArray> filasCrudas = {
        QByteArray(" ") + "**" + "****" + "  1.50", QByteArray(" ") + " *" + " ** " + "  3.25",
        QByteArray(" ") + "12" + "  10" + "  0.25", QByteArray(" ") + "  " + "    " + "      "};
    escribirBytes(ruta(), tablaAjena(0x03, 0x00, campos, filasCrudas));
    Tabla t = tabla();
    t.open();
    struct Fila {
        const char* dia;
        const char* hora;
        const char* peso;
        int diaEntero;
        double peso_;
    };
    const Fila filas[] = {{"", "", "1.50", 0, 1.5},
                          {"", "", "3.25", 0, 3.25},
                          {"12", "10", "0.25", 12, 0.25},
                          {"", "", "", 0, 0.0}};
    for (const Fila& f : filas) {
        ASSERT_FALSE(t.eof());
        EXPECT_EQ(t.asString(QStringLiteral("DIA")), QString::fromLatin1(f.dia));
        EXPECT_EQ(t.asString(QStringLiteral("HORA")), QString::fromLatin1(f.hora));
        EXPECT_EQ(t.asString(QStringLiteral("PESO")), QString::fromLatin1(f.peso));
        EXPECT_EQ(t.asInteger(QStringLiteral("DIA")), f.diaEntero);
        EXPECT_EQ(t.asInteger(QStringLiteral("HORA")), QString::fromLatin1(f.hora).toInt());
        EXPECT_DOUBLE_EQ(t.asFloat(QStringLiteral("PESO")), f.peso_);
        EXPECT_EQ(t.isNull(QStringLiteral("DIA")), f.diaEntero == 0);
        t.next();
    }
    EXPECT_TRUE(t.eof());
}

TEST_F(Lectura, LevelSevenBinaryIntegersAndDoubles) {
    const QList<CampoCrudo> campos = {
        {"IDENTIFICADOR_LARGO", 'I', 4}, {"CONTADOR", '+', 4}, {"MEDIDA", 'O', 8}};
    const QList<QByteArray> registros = {
        " " + QByteArray::fromHex("7fffffff 80000001 c004000000000000"),
        " " + QByteArray::fromHex("8000007b 80000002 3ffbffffffffffff"),
        " " + QByteArray::fromHex("00000000 80000003 0000000000000000")};
    escribirBytes(ruta(), tablaAjena(0x04, 0x00, campos, registros, "DB437US0"));
    Tabla t = tabla();
    t.open();
    struct Esperado {
        const char* id;
        int contador;
        double medida;
        bool blancos;
    };
    const Esperado filas[] = {{"-1", 1, 2.5, false}, {"123", 2, -2.5, false}, {"", 3, 0, true}};
    for (const Esperado& e : filas) {
        EXPECT_EQ(t.asString(QStringLiteral("identificador_largo")), QString::fromLatin1(e.id));
        EXPECT_EQ(t.asInteger(QStringLiteral("CONTADOR")), e.contador);
        EXPECT_DOUBLE_EQ(t.asFloat(QStringLiteral("MEDIDA")), e.medida);
        EXPECT_EQ(t.isNull(QStringLiteral("IDENTIFICADOR_LARGO")), e.blancos);
        EXPECT_EQ(t.isNull(QStringLiteral("MEDIDA")), e.blancos);
        t.next();
    }
    ASSERT_TRUE(t.locate(QStringLiteral("IDENTIFICADOR_LARGO"), 123));
    EXPECT_EQ(t.asInteger(QStringLiteral("CONTADOR")), 2);

    // Written back in the same binary form.
    t.edit();
    t.setInteger(QStringLiteral("IDENTIFICADOR_LARGO"), -2);
    t.setFloat(QStringLiteral("MEDIDA"), 2.5);
    t.post();
    t.close();
    const QByteArray b = leerBytes(ruta());
    EXPECT_EQ(b.mid(68 + 3 * 48 + 1 + 17 + 1, 16).toHex(),
              QByteArray("7ffffffe80000002c004000000000000"));
}

// What other programs write and can still be read row for row is accepted: a header
// padded beyond the end of its field list, bytes after the last record, no end marker.
TEST_F(Lectura, HeaderAndFileMayDisagreeWhereRowsStillReadRight) {
    const QList<CampoCrudo> campos = {{"A", 'C', 2}};
    const int cabecera = 32 + 32 + 1;
    struct Caso {
        const char* que;
        std::function<QByteArray()> bytes;
    };
    const Caso casos[] = {
        {"cabecera con relleno tras la lista de campos",
         [&] {
             QByteArray b = tablaAjena(0x03, 0x03, campos, {" a1", " a2"});
             b.insert(cabecera, QByteArray(263, '\0'));
             poner16(b, 8, cabecera + 263);
             return b;
         }},
        {"bytes tras el último registro",
         [&] {
             return tablaAjena(0x03, 0x03, campos, {" a1", " a2"}) + "basura";
         }},
        {"sin marca de fin de archivo",
         [&] {
             return tablaAjena(0x03, 0x03, campos, {" a1", " a2"}).chopped(1);
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        escribirBytes(ruta(), c.bytes());
        Tabla t = tabla();
        t.open();
        EXPECT_EQ(t.recordCount(), 2);
        t.setRecNo(1);
        EXPECT_EQ(t.asString(QStringLiteral("A")), QStringLiteral("a2"));
    }
}

TEST_F(Lectura, DamagedFilesAreErrorsThatNameTheTable) {
    const QList<CampoCrudo> campos = {{"A", 'C', 2}, {"N", 'N', 3}};
    const QByteArray buena = tablaAjena(0x03, 0x03, campos, {" ab  1", " cd  2"});
    const int cabecera = 32 + 64 + 1;
    struct Caso {
        const char* que;
        std::function<void(QByteArray&)> danar;
        const char* motivo = "";
    };
    const Caso casos[] = {
        {"registro cortado", [&](QByteArray& b) { b.truncate(cabecera + 6 + 3); }},
        {"archivo de 10 bytes", [](QByteArray& b) { b.truncate(10); }},
        {"cabecera más larga que el archivo", [](QByteArray& b) { poner16(b, 8, 4000); }},
        {"cabecera más corta que los campos", [](QByteArray& b) { poner16(b, 8, 50); }},
        {"largo de registro que no cuadra", [](QByteArray& b) { poner16(b, 10, 9); }},
        {"campo que pasa del registro", [](QByteArray& b) { b[32 + 32 + 16] = char(200); }},
        {"campo de ancho 0", [](QByteArray& b) { b[32 + 16] = 0; }},
        {"versión desconocida", [](QByteArray& b) { b[0] = 0x02; }},
        {"sin campos", [](QByteArray& b) { b[32] = 0x0d; }},
        // A header one byte short puts every row one byte early: nothing reads right.
        {"cabecera un byte más corta", [](QByteArray& b) { poner16(b, 8, 32 + 64); },
         "la cabecera mide 96 bytes y no le caben los campos que describe"},
        {"tipo que no es de dBase", [](QByteArray& b) { b[32 + 32 + 11] = 'Z'; },
         "el campo N es de un tipo desconocido (Z)"},
        {"tipo en blanco", [](QByteArray& b) { b[32 + 11] = 0; },
         "el campo A es de un tipo desconocido (código 0)"},
        // The header counts more records than the file holds, with or without the end
        // marker after the whole ones.
        {"un registro menos en el archivo", [&](QByteArray& b) { b.truncate(cabecera + 6); },
         "su cabecera cuenta 2 registros y el archivo solo tiene 1"},
        {"un registro menos y la marca",
         [&](QByteArray& b) {
             b.truncate(cabecera + 6);
             b += '\x1a';
         },
         "su cabecera cuenta 2 registros y el archivo solo tiene 1"},
        {"cuenta 100000", [](QByteArray& b) { poner32(b, 4, 100000); },
         "su cabecera cuenta 100000 registros y el archivo solo tiene 2"},
        {"cuenta 0xFFFFFFFF", [](QByteArray& b) { poner32(b, 4, 0xFFFFFFFFu); },
         "su cabecera cuenta 4294967295 registros y el archivo solo tiene 2"},
    };
    for (const Caso& c : casos) {
        QByteArray b = buena;
        c.danar(b);
        escribirBytes(ruta(), b);
        Tabla t = tabla();
        try {
            t.open();
            ADD_FAILURE() << c.que << ": se abrió";
        } catch (const ErrorTabla& e) {
            EXPECT_TRUE(e.texto().startsWith(QStringLiteral("La tabla AJENA está dañada: ")))
                << c.que << ": " << e.what();
            EXPECT_TRUE(e.texto().contains(QString::fromUtf8(c.motivo)))
                << c.que << ": " << e.what();
        }
        EXPECT_FALSE(t.active()) << c.que;
    }
    escribirBytes(ruta(), buena);
    Tabla t = tabla();
    t.open();
    EXPECT_EQ(t.recordCount(), 2);
}

TEST_F(Lectura, EveryByteOfTheHeaderFlippedNeverCrashes) {
    crear(
        carpeta.path(), QStringLiteral("AJENA"),
        {{QStringLiteral("A"), TipoCampo::Cadena, 3}, {QStringLiteral("B"), TipoCampo::Entero, 0}});
    {
        Tabla t = tabla();
        t.open();
        t.append();
        t.setString(QStringLiteral("A"), QStringLiteral("xyz"));
        t.post();
    }
    const QByteArray original = leerBytes(ruta());
    for (int pos = 0; pos < original.size(); ++pos) {
        for (char valor : {char(0x00), char(0xff), char(0x0d), char(0x41)}) {
            QByteArray b = original;
            b[pos] = valor;
            escribirBytes(ruta(), b);
            Tabla t = tabla();
            try {
                t.open();
                for (t.first(); !t.eof(); t.next()) {
                    for (const CampoFisico& c : t.campos()) (void)t.asString(c.nombre);
                }
            } catch (const ErrorVarnolo&) {
            }
        }
    }
}

}  // namespace
}  // namespace varnolo::prueba::motor
