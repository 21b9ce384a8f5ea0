// The production index writer: packed-decimal keys byte for byte, and whole files
// read back with the tests' own reader.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "base/Errores.h"
#include "dbf/IndiceMdx.h"
#include "tests/dias/LectorMdx.h"

using namespace varnolo;

namespace {

QByteArray hex(const char* texto) { return QByteArray::fromHex(texto); }

struct CasoClave {
    double valor;
    const char* bytes;
};

TEST(ClaveNumericaMdx, EjemplosDelFormato) {
    const CasoClave casos[] = {
        {42, "360942000000000000000000"},
        {5, "350550000000000000000000"},
        {100, "370D10000000000000000000"},
        {0, "340100000000000000000000"},
        {-7, "358570000000000000000000"},
        {3.25, "350D32500000000000000000"},
        {1234567890, "3E2912345678900000000000"},
        // Further cases of the same rules: zeros inside and at the end of the
        // integer part, a fraction below 1, the start minutes the program stores.
        {10, "360910000000000000000000"},
        {1005, "381110050000000000000000"},
        {3.5, "350935000000000000000000"} /* 3.50 has two digits */,
        {0.05, "330550000000000000000000"},
        {485, "370D48500000000000000000"},
        {1500, "381115000000000000000000"},
    };
    for (const CasoClave& c : casos) {
        EXPECT_EQ(claveNumericaMdx(c.valor).toHex().toUpper().toStdString(), c.bytes)
            << "valor " << c.valor;
        EXPECT_EQ(prueba::decodificarClave(hex(c.bytes)), c.valor) << "valor " << c.valor;
    }
}

class IndiceMdxTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString ruta() const { return dir.filePath(QStringLiteral("DIASHORAST2.MDX")); }

    prueba::MdxLeido escribirYLeer(const std::vector<std::pair<double, quint32>>& claves) {
        TagMdx tag{QStringLiteral("ORDEN"), QStringLiteral("ORDEN"), claves};
        escribirIndiceMdx(ruta(), QStringLiteral("DIASHORAST2"), {tag}, QDate(2026, 3, 15),
                          QDate(2026, 3, 16));
        QFile f(ruta());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
        QStringList errores;
        prueba::MdxLeido m = prueba::leerMdx(bytes, errores);
        EXPECT_TRUE(errores.isEmpty()) << errores.join(u'\n').toStdString();
        return m;
    }
    QByteArray bytes;
};

TEST_F(IndiceMdxTest, CabeceraYTag) {
    const prueba::MdxLeido m = escribirYLeer({{540, 2}, {480, 1}});
    EXPECT_EQ(m.version, 2);
    EXPECT_EQ(m.tabla, QStringLiteral("DIASHORAST2"));
    EXPECT_EQ(m.anioCreacion, 2026);
    EXPECT_EQ(m.mesCreacion, 3);
    EXPECT_EQ(m.diaCreacion, 15);
    EXPECT_EQ(static_cast<quint8>(bytes[44]), 126);  // update date 2026-03-16
    EXPECT_EQ(static_cast<quint8>(bytes[46]), 16);
    EXPECT_EQ(m.paginasPorBloque, 2);
    EXPECT_EQ(m.tamanoBloque, 1024);
    EXPECT_EQ(m.produccion, 1);
    EXPECT_EQ(m.entradasTags, 48);
    EXPECT_EQ(m.largoEntradaTag, 32);
    EXPECT_EQ(m.tagsEnUso, 1);
    EXPECT_EQ(static_cast<quint8>(bytes[31]), 0x1B);
    EXPECT_EQ(static_cast<quint8>(bytes[529]), 0x01);
    ASSERT_EQ(m.tags.size(), 1);
    const prueba::TagLeido& t = m.tags[0];
    EXPECT_EQ(t.nombre, QStringLiteral("ORDEN"));
    EXPECT_EQ(static_cast<quint8>(bytes[544 + 15]), 0x10);
    EXPECT_EQ(static_cast<quint8>(bytes[544 + 19]), 0x02);
    EXPECT_EQ(bytes[544 + 20], 'N');
    EXPECT_EQ(t.expresion, QStringLiteral("ORDEN"));
    EXPECT_EQ(t.banderas, 0x10);
    EXPECT_EQ(t.tipoClave, 'N');
    EXPECT_EQ(t.largoClave, 12);
    EXPECT_EQ(t.maxClaves, 63);
    EXPECT_EQ(t.largoElemento, 16);
    EXPECT_TRUE(t.tieneClaves);
    EXPECT_EQ(t.profundidad, 1);
    EXPECT_EQ(t.primeraHoja, t.raiz);
    EXPECT_EQ(t.ultimaHoja, t.raiz);
    const qint64 th = qint64(t.paginaCabecera) * 512;
    EXPECT_EQ(static_cast<quint8>(bytes[th + 11]), 0x1B);
    EXPECT_EQ(static_cast<quint8>(bytes[th + 480]), 0x01);
    ASSERT_EQ(t.claves.size(), 2u);
    EXPECT_EQ(t.claves[0].clave, 480);
    EXPECT_EQ(t.claves[0].registro, 1u);
    EXPECT_EQ(t.claves[1].clave, 540);
    EXPECT_EQ(t.claves[1].registro, 2u);
}

TEST_F(IndiceMdxTest, SinClavesUnaHojaVacia) {
    const prueba::MdxLeido m = escribirYLeer({});
    ASSERT_EQ(m.tags.size(), 1);
    EXPECT_FALSE(m.tags[0].tieneClaves);
    EXPECT_TRUE(m.tags[0].claves.empty());
    EXPECT_EQ(m.tags[0].hojas.size(), 1u);
}

// Enough keys for one, two and three levels of nodes, with many equal keys: the
// keys come back in order, equal keys by record number, each record once, and the
// first and last leaves of the header are the ends of the walk.
TEST_F(IndiceMdxTest, ArbolesDeVariosNiveles) {
    struct Caso {
        int claves;
        int profundidad;
    };
    const Caso casos[] = {{63, 1}, {64, 2}, {200, 2}, {63 * 64, 2}, {63 * 64 + 1, 3}, {9000, 3}};
    std::mt19937 azar(7);
    for (const Caso& c : casos) {
        std::vector<std::pair<double, quint32>> claves;
        for (int i = 0; i < c.claves; ++i) {
            claves.push_back({double(480 + 5 * (azar() % 40)), quint32(i + 1)});
        }
        std::vector<std::pair<double, quint32>> desordenadas = claves;
        std::shuffle(desordenadas.begin(), desordenadas.end(), azar);
        const prueba::MdxLeido m = escribirYLeer(desordenadas);
        ASSERT_EQ(m.tags.size(), 1);
        const prueba::TagLeido& t = m.tags[0];
        EXPECT_EQ(t.profundidad, c.profundidad) << c.claves << " claves";
        std::sort(claves.begin(), claves.end());
        ASSERT_EQ(t.claves.size(), claves.size());
        for (std::size_t i = 0; i < claves.size(); ++i) {
            ASSERT_EQ(t.claves[i].clave, claves[i].first) << "posición " << i;
            ASSERT_EQ(t.claves[i].registro, claves[i].second) << "posición " << i;
        }
        EXPECT_EQ(t.primeraHoja, t.hojas.front());
        EXPECT_EQ(t.ultimaHoja, t.hojas.back());
    }
}

TEST_F(IndiceMdxTest, ReescribirSubeElNumeroDeSerie) {
    escribirYLeer({{1, 1}});
    const prueba::MdxLeido m = escribirYLeer({{1, 1}, {2, 2}});
    const qint64 th = qint64(m.tags[0].paginaCabecera) * 512;
    EXPECT_EQ(static_cast<quint8>(bytes[th + 20]), 2);
}

TEST_F(IndiceMdxTest, CarpetaInexistenteEsErrorQueNombraElArchivo) {
    const QString r = dir.filePath(QStringLiteral("no/existe/X.MDX"));
    try {
        escribirIndiceMdx(r, QStringLiteral("X"), {}, QDate(2026, 1, 1), QDate(2026, 1, 1));
        FAIL() << "se esperaba ErrorTabla";
    } catch (const ErrorTabla& e) {
        EXPECT_TRUE(e.texto().contains(r)) << e.texto().toStdString();
    }
}

}  // namespace
