// Files exchanged with other dBase readers and writers: tables we write read by
// Python's dbfread (no encoding given) and dbf, and tables that dbf writes (dBase
// III and Visual FoxPro, with an integer field) read by us.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "dbf/Tabla.h"
#include "taviron/Catalogo.h"
#include "tests/comun/Base.h"
#include "tests/dbf/Ayudas.h"

namespace varnolo::prueba::motor {
namespace {

// Prints {"campos": [...], "filas": [{...}, ...]} for the table in sys.argv[1].
const char* kLeerConDbfread = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1])
print(json.dumps({'campos': t.field_names, 'filas': [dict(r) for r in t]}))
)";

const char* kLeerConDbf = R"(
import json, sys, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
filas = []
for r in t:
    fila = {}
    for n in t.field_names:
        v = r[n]
        fila[n.upper()] = v.rstrip() if isinstance(v, str) else (None if v is None else bool(v) if isinstance(v, bool) else v)
    filas.append(fila)
print(json.dumps({'campos': [n.upper() for n in t.field_names], 'filas': filas}, default=str))
)";

QJsonObject leerJson(const Salida& s) {
    EXPECT_EQ(s.codigo, 0) << s.texto.toStdString();
    return QJsonDocument::fromJson(s.texto.toUtf8()).object();
}

class Interop : public ::testing::Test {
  protected:
    QTemporaryDir carpeta;
    QString ruta(const QString& archivo) const { return QDir(carpeta.path()).filePath(archivo); }

    void escribirAsignomt2() {
        const DefTabla& def = catalogo::ASIGNOMT2();
        crear(carpeta.path(), def.nombre, def.campos);
        Tabla t(carpeta.path(), def.nombre, true);
        t.open();
        t.append();
        t.setString(QStringLiteral("COD"), QStringLiteral("MAT"));
        t.setString(QStringLiteral("NOMBRE"), QStringLiteral("Matemáticas € Ñandú"));
        t.setString(QStringLiteral("MATERIA"), QStringLiteral("12345"));
        t.setString(QStringLiteral("OFERTAMATRI"), QStringLiteral("OF-ñ-1"));
        t.setBoolean(QStringLiteral("ESTAREA"), false);
        t.post();
        t.append();
        t.post();
    }
};

TEST_F(Interop, Asignomt2ReadByDbfreadWithoutEncoding) {
    VARNOLO_EXIGE_PYTHON();
    escribirAsignomt2();
    const QJsonObject r =
        leerJson(python(QString::fromUtf8(kLeerConDbfread), {ruta("ASIGNOMT2.DBF")}));
    EXPECT_EQ(r[u"campos"].toArray().toVariantList(),
              (QVariantList{"COD", "CODLARGO", "NOMBRE", "MATERIA", "OFERTAMATRI", "CODTAREA",
                            "ESTAREA"}));
    const QJsonArray filas = r[u"filas"].toArray();
    ASSERT_EQ(filas.size(), 2);
    const QJsonObject llena = filas[0].toObject();
    EXPECT_EQ(llena[u"NOMBRE"].toString(), QStringLiteral("Matemáticas € Ñandú"));
    EXPECT_EQ(llena[u"OFERTAMATRI"].toString(), QStringLiteral("OF-ñ-1"));
    EXPECT_EQ(llena[u"CODTAREA"].toString(), QString());
    EXPECT_EQ(llena[u"ESTAREA"], QJsonValue(false));
    EXPECT_TRUE(filas[1].toObject()[u"ESTAREA"].isNull()) << "un lógico sin escribir es None";
}

TEST_F(Interop, Asignomt2ReadByPythonDbf) {
    VARNOLO_EXIGE_PYTHON();
    escribirAsignomt2();
    const QJsonObject r = leerJson(python(QString::fromUtf8(kLeerConDbf), {ruta("ASIGNOMT2.DBF")}));
    EXPECT_TRUE(r[u"campos"].toArray().contains(QStringLiteral("OFERTAMATRI")));
    const QJsonArray filas = r[u"filas"].toArray();
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0].toObject()[u"NOMBRE"].toString(), QStringLiteral("Matemáticas € Ñandú"));
    EXPECT_EQ(filas[0].toObject()[u"OFERTAMATRI"].toString(), QStringLiteral("OF-ñ-1"));
}

TEST_F(Interop, BlankNumbersAndBooleansAreNoneForDbfread) {
    VARNOLO_EXIGE_PYTHON();
    crear(carpeta.path(), QStringLiteral("NUMEROS"),
          {{QStringLiteral("E"), TipoCampo::Entero, 0},
           {QStringLiteral("F"), TipoCampo::Flotante, 0},
           {QStringLiteral("L"), TipoCampo::Logico, 0}});
    {
        Tabla t(carpeta.path(), QStringLiteral("NUMEROS"), true);
        t.open();
        t.append();
        t.setInteger(QStringLiteral("E"), -7);
        t.setFloat(QStringLiteral("F"), 2.25);
        t.setBoolean(QStringLiteral("L"), true);
        t.post();
        t.append();
        t.post();
    }
    const QJsonArray filas =
        leerJson(python(QString::fromUtf8(kLeerConDbfread), {ruta("NUMEROS.DBF")}))[u"filas"]
            .toArray();
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0].toObject()[u"E"].toInt(), -7);
    EXPECT_DOUBLE_EQ(filas[0].toObject()[u"F"].toDouble(), 2.25);
    EXPECT_EQ(filas[0].toObject()[u"L"], QJsonValue(true));
    for (const char* campo : {"E", "F", "L"}) {
        EXPECT_TRUE(filas[1].toObject()[QString::fromLatin1(campo)].isNull()) << campo;
    }
}

TEST_F(Interop, TablesWrittenByPythonDbfAreReadByUs) {
    VARNOLO_EXIGE_PYTHON();
    struct Caso {
        const char* tipo;
        const char* campos;
        const char* fila;
    };
    const Caso casos[] = {
        {"db3", "NOMBRE C(10); CANT N(5,0); ACTIVO L", "('Peña €', -5, True)"},
        {"vfp", "NOMBRE C(10); CANT I; PRECIO N(8,2); MEDIDA F(10,3); ACTIVO L",
         "('Peña €', -5, 3.25, 1.5, True)"},
    };
    for (const Caso& c : casos) {
        const QString script =
            QStringLiteral(
                "import sys, dbf\n"
                "t = dbf.Table(sys.argv[1], '%1', dbf_type='%2', codepage='cp1252')\n"
                "t.open(dbf.READ_WRITE)\n"
                "t.append(%3)\n"
                "t.append(('Otra',))\n"
                "t.close()\n")
                .arg(QString::fromUtf8(c.campos), QString::fromUtf8(c.tipo),
                     QString::fromUtf8(c.fila));
        const QString archivo = ruta(QStringLiteral("PY_%1.DBF").arg(QString::fromUtf8(c.tipo)));
        const Salida s = python(script, {archivo});
        ASSERT_EQ(s.codigo, 0) << s.texto.toStdString();
        Tabla t(QString(), archivo);
        t.open();
        ASSERT_EQ(t.recordCount(), 2) << c.tipo;
        EXPECT_EQ(t.asString(QStringLiteral("NOMBRE")), QStringLiteral("Peña €")) << c.tipo;
        EXPECT_EQ(t.asInteger(QStringLiteral("CANT")), -5) << c.tipo;
        EXPECT_TRUE(t.asBoolean(QStringLiteral("ACTIVO"))) << c.tipo;
        if (t.tieneCampo(QStringLiteral("PRECIO"))) {
            EXPECT_DOUBLE_EQ(t.asFloat(QStringLiteral("PRECIO")), 3.25);
            EXPECT_DOUBLE_EQ(t.asFloat(QStringLiteral("MEDIDA")), 1.5);
        }
        ASSERT_TRUE(t.locate(QStringLiteral("NOMBRE"), {QStringLiteral("Otra")})) << c.tipo;
        EXPECT_FALSE(t.asBoolean(QStringLiteral("ACTIVO")));
    }
}

}  // namespace
}  // namespace varnolo::prueba::motor
