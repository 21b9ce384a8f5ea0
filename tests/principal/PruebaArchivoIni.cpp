// Taviron.ini after the outcome flag was written: only the one value changes, every
// other byte stays as Taviron or the user left it.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "base/Errores.h"
#include "taviron/ArchivoIni.h"

namespace varnolo {
namespace {

struct CasoIni {
    const char* nombre;
    std::optional<QByteArray> antes;  // nothing: the file does not exist
    int transformado;
    QByteArray despues;
};

void PrintTo(const CasoIni& caso, std::ostream* os) { *os << caso.nombre; }

const CasoIni kCasosIni[] = {
    {"archivo_nuevo_con_crlf", std::nullopt, -1, "[Transformadores]\r\nTransformado=-1\r\n"},
    {"valor_sustituido_en_su_sitio",
     "; Ajustes de Taviron\r\n[General]\r\nRuta=C:\\QWORK\r\n\r\n[transformadores]\r\nOtra=5\r\n"
     "TRANSFORMADO = 0 ; viejo\r\nUltima=x\r\n[Final]\r\nA=1\r\n",
     1,
     "; Ajustes de Taviron\r\n[General]\r\nRuta=C:\\QWORK\r\n\r\n[transformadores]\r\nOtra=5\r\n"
     "TRANSFORMADO =1\r\nUltima=x\r\n[Final]\r\nA=1\r\n"},
    {"seccion_que_falta_al_final_lf_sin_salto_final", "[General]\nA=1", 1,
     "[General]\nA=1\n[Transformadores]\nTransformado=1\n"},
    {"clave_que_falta_tras_la_ultima_linea_de_su_seccion",
     "[Transformadores]\r\nOtra=5\r\n\r\n[Otra]\r\nB=2\r\n", 0,
     "[Transformadores]\r\nOtra=5\r\nTransformado=0\r\n\r\n[Otra]\r\nB=2\r\n"},
    {"seccion_sola_al_final_sin_salto", "[Otra]\r\nB=2\r\n[ Transformadores ]", 1,
     "[Otra]\r\nB=2\r\n[ Transformadores ]\r\nTransformado=1\r\n"},
    {"misma_clave_en_otra_seccion_intacta",
     "[Otra]\r\nTransformado=9\r\n[Transformadores]\r\nTransformado=0\r\n", 1,
     "[Otra]\r\nTransformado=9\r\n[Transformadores]\r\nTransformado=1\r\n"},
    {"clave_comentada_no_cuenta", "[Transformadores]\r\n;Transformado=5\r\n", -1,
     "[Transformadores]\r\n;Transformado=5\r\nTransformado=-1\r\n"},
    {"cada_linea_conserva_su_fin", "[A]\nx=1\r\n[Transformadores]\nTransformado=0\nz=2\r\n", 1,
     "[A]\nx=1\r\n[Transformadores]\nTransformado=1\nz=2\r\n"},
    {"marca_de_orden_de_bytes", "\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n", 1,
     "\xEF\xBB\xBF[Transformadores]\r\nTransformado=1\r\n"},
    {"archivo_vacio", "", 0, "[Transformadores]\r\nTransformado=0\r\n"},
};

class EscribirTransformado : public ::testing::TestWithParam<CasoIni> {};

TEST_P(EscribirTransformado, CambiaSoloSuValor) {
    const CasoIni& caso = GetParam();
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("Taviron.ini"));
    if (caso.antes) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(*caso.antes);
    }

    escribirTransformado(ruta, caso.transformado);

    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), caso.despues);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("Taviron.ini")});
}

INSTANTIATE_TEST_SUITE_P(Casos, EscribirTransformado, ::testing::ValuesIn(kCasosIni),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(EscribirTransformadoFallos, RutaSinEscrituraDaElErrorConLaRuta) {
    QTemporaryDir carpeta;
    const QString enCarpetaInexistente = carpeta.filePath(QStringLiteral("no/existe/Taviron.ini"));
    const QString esCarpeta = carpeta.filePath(QStringLiteral("Taviron.ini"));
    ASSERT_TRUE(QDir().mkpath(esCarpeta));
    // A UTF-16 settings file is refused and left byte for byte as it was.
    const QString utf16 = carpeta.filePath(QStringLiteral("utf16.ini"));
    const QByteArray contenidoUtf16("\xFF\xFE[\0A\0]\0\r\0\n\0", 12);
    {
        QFile f(utf16);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenidoUtf16);
    }

    for (const QString& ruta : {enCarpetaInexistente, esCarpeta, utf16}) {
        SCOPED_TRACE(ruta.toStdString());
        try {
            escribirTransformado(ruta, 1);
            ADD_FAILURE() << "No se produjo el error";
        } catch (const ErrorVarnolo& e) {
            EXPECT_EQ(e.texto(),
                      QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(ruta));
        }
    }
    QFile f(utf16);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), contenidoUtf16);
}

TEST(EscribirTransformadoTemporales, LosAbandonadosSeBorranYLoDemasQueda) {
    QTemporaryDir carpeta;
    const QString ini = carpeta.filePath(QStringLiteral("Taviron.ini"));
    const auto crear = [&](const QString& nombre, int segundosAtras) {
        QFile f(carpeta.filePath(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        ASSERT_TRUE(f.flush());  // written now, so closing does not touch the time again
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-segundosAtras),
                                  QFileDevice::FileModificationTime));
    };
    struct Caso {
        const char* nombre;
        int segundosAtras;
        bool queda;
    };
    const Caso casos[] = {
        {"Taviron.ini.aB3xYz", 3600, false},  // left by a killed write
        {"Taviron.ini.Q1w2E3", 120, false},
        {"Taviron.ini.k9LmN0", 0, true},  // may belong to a write under way
        {"Taviron.ini.bak", 3600, true},  // not our pattern
        {"Taviron.ini.abcdefg", 3600, true},
        {"Taviron.ini.ab-def", 3600, true},
        {"Otro.ini.aB3xYz", 3600, true},
    };
    for (const Caso& c : casos) crear(QString::fromLatin1(c.nombre), c.segundosAtras);

    escribirTransformado(ini, 1);

    for (const Caso& c : casos) {
        EXPECT_EQ(QFile::exists(carpeta.filePath(QString::fromLatin1(c.nombre))), c.queda)
            << c.nombre;
    }
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "[Transformadores]\r\nTransformado=1\r\n");
}

}  // namespace
}  // namespace varnolo
