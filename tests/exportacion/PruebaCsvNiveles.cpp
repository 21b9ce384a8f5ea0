// NIVELCAN.csv as a school saves it: UTF-8 or Windows-1252, quoted fields, and
// errors in Spanish that name the file and the line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/Errores.h"
#include "taviron/CsvNiveles.h"

namespace varnolo {
namespace {

struct Caso {
    const char* nombre;
    QByteArray contenido;
    QStringList filas;  ///< "oferta|abrev|nivel" of each level read
    QString error;      ///< the error after "<file>, línea ", when one is expected
};

void PrintTo(const Caso& c, std::ostream* os) { *os << c.nombre; }

const QByteArray kCab = "X_OFERTAMATRIG;NIVEL_ABREV;NIVEL\r\n";

class CsvNiveles : public ::testing::TestWithParam<Caso> {};

TEST_P(CsvNiveles, SeLeeOSeRechazaConLugar) {
    const Caso& c = GetParam();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("NIVELCAN.csv"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.contenido);
    f.close();
    try {
        QStringList leidas;
        for (const FilaNivel& n : leerCsvNiveles(ruta)) {
            leidas << QStringLiteral("%1|%2|%3").arg(n.oferta).arg(n.abrev, n.nivel);
        }
        EXPECT_TRUE(c.error.isEmpty()) << "se esperaba el error " << c.error.toStdString();
        EXPECT_EQ(leidas, c.filas);
    } catch (const ErrorVarnolo& e) {
        EXPECT_EQ(e.texto(), QDir::toNativeSeparators(ruta) + c.error);
    }
}

const Caso kCasos[] = {
    {"utf8_con_bom_y_comentarios",
     "\xef\xbb\xbf# comentario\n\nX_OFERTAMATRIG;NIVEL_ABREV;NIVEL\n12;ESO;Educaci\xc3\xb3n\n",
     {"12|ESO|Educación"},
     {}},
    {"windows_1252_como_lo_guarda_excel",
     kCab + "12;ESO;Educaci\xf3n Secundaria\r\n13;;F\xf3rmula \x80 \x93"
            "a\x94\r\n",
     {"12|ESO|Educación Secundaria", "13||Fórmula € “a”"},
     {}},
    {"campos_entre_comillas_con_comillas_dobladas",
     "\"X_OFERTAMATRIG\";\"NIVEL_ABREV\";\"NIVEL\"\n"
     "\"21\";\"BACH\";\"Bachillerato \"\"de Ciencias\"\"; 1\xc2\xba\"\n;;\n",
     {"21|BACH|Bachillerato \"de Ciencias\"; 1º"},
     {}},
    {"abreviatura_en_blanco", kCab + " 7 ;  ; Infantil \n", {"7||Infantil"}, {}},
    {"caracter_fuera_de_windows_1252",
     kCab + "12;ESO;Educación\n13;ESO;Ca\xc4\x8d"
            "a\n",
     {},
     ", línea 3: NIVEL tiene el carácter \"\xc4\x8d\" (U+010D), que no existe en Windows-1252"},
    {"clave_que_no_es_numero",
     kCab + "12;ESO;A\n7a;ESO;B\n",
     {},
     ", línea 3: X_OFERTAMATRIG \"7a\" no es un número entero"},
    {"clave_vacia", kCab + ";ESO;B\n", {}, ", línea 2: X_OFERTAMATRIG \"\" no es un número entero"},
    {"clave_repetida", kCab + "12;ESO;A\n12;ESO;B\n", {}, ", línea 3: X_OFERTAMATRIG 12 repetido"},
    {"dos_campos",
     kCab + "12;ESO\n",
     {},
     ", línea 2: se esperaban 3 campos separados por punto y coma y hay 2"},
    {"comillas_sin_cerrar",
     kCab + "12;\"ESO;A\n",
     {},
     ", línea 2: faltan las comillas que cierran el campo"},
    {"abreviatura_larga",
     kCab + "12;ESOBAC;A\n",
     {},
     ", línea 2: NIVEL_ABREV de más de 5 caracteres"},
    {"cabecera_equivocada",
     "OFERTA;ABREV;NIVEL\n12;ESO;A\n",
     {},
     ", línea 1: se esperaba la cabecera X_OFERTAMATRIG;NIVEL_ABREV;NIVEL"},
    {"sin_cabecera",
     "# solo comentarios\n",
     {},
     ": falta la cabecera X_OFERTAMATRIG;NIVEL_ABREV;NIVEL"},
};

INSTANTIATE_TEST_SUITE_P(Archivos, CsvNiveles, ::testing::ValuesIn(kCasos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(CsvNivelesDelPrograma, ElArchivoQueSeInstalaSeLee) {
    const QList<FilaNivel> niveles = leerCsvNiveles(
        QStringLiteral(VARNOLO_FUENTE_PRUEBAS "/../../taviron/niveles/NIVELCAN.csv"));
    ASSERT_FALSE(niveles.isEmpty());
    EXPECT_EQ(niveles.first().oferta, 12);
}

}  // namespace
}  // namespace varnolo
