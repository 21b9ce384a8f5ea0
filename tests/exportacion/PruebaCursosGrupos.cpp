// Courses (CURSOST) with their level from NIVELCAN, and groups (GRUPOST).

#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

const QStringList kCamposCursost = {"CLAVE", "NIVEL", "CURSO", "ESTUD", "ABREV", "TURNO"};
const QStringList kCamposGrupost = {"ABREV", "TURNO", "NIVEL",      "CURSO",
                                    "GRUPO", "CLAVE", "CLAVECURSO", "DESCRIP"};
const QList<FilaNivel> kNiveles = {{12, "ESO", "Secundaria"}, {30, "", "Bachillerato"}};

TEST(ExportarCursosGrupos, CursosConSuNivel) {
    Exportador e({{"CURSOS_DEL_CENTRO",
                   {{"12", "1º ESO"},
                    {"99", "1º ESO"},
                    {"30", "2º Bachillerato"},
                    {"012", "3º ESO"},
                    {"14"},
                    {"000000000012", "4º ESO"}}}});
    e.usarNiveles(kNiveles);
    e.cadena().ExportarCursosGrupos();
    EXPECT_EQ(e.filas("CURSOST", kCamposCursost),
              (QList<QStringList>{
                  {"12", "ESO", "1", "1º ESO (Secundaria)", "E1", ""},
                  {"99", "Niv", "1", "1º ESO", "N1", ""},
                  {"30", "Niv", "2", "2º Bachillerato (Bachillerato)", "N2", ""},
                  {"012", "ESO", "3", "3º ESO (Secundaria)", "E3", ""},
                  {"0000000000", "ESO", "4", "4º ESO (Secundaria)", "E4", ""},
              }));
}

struct CasoGrupos {
    const char* nombre;
    QList<QStringList> unidades;
    QList<QStringList> esperado;  // the GRUPOST fields
};

const QList<CasoGrupos> kCasosGrupos = {
    {"grupo_de_un_curso_con_nivel",
     {{"345", "1º ESO A", "12"}},
     {{"1ºESOA", "", "ESO", "1", "A", "345", "12", "(1º ESO A) 1º ESO (Secundaria)"}}},
    {"curso_inexistente", {{"346", "2 B", "77"}}, {{"2B", "", "", "", "B", "346", "77", "   B"}}},
    {"curso_sin_nivel",
     {{"347", "1º A", "99"}},
     {{"1ºA", "", "Niv", "1", "A", "347", "99", "(1º A) 1º ESO"}}},
    {"espacios_y_repeticion",
     {{"1", "1 A", "12"}, {"2", "1A", "12"}, {"3", "1a", "12"}},
     {{"1A", "", "ESO", "1", "A", "1", "12", "(1 A) 1º ESO (Secundaria)"},
      {"1A1", "", "ESO", "1", "A", "2", "12", "(1A) 1º ESO (Secundaria)"},
      {"1a2", "", "ESO", "1", "a", "3", "12", "(1a) 1º ESO (Secundaria)"}}},
    {"nombre_largo",
     {{"5", "Diversificación Curricular B", "99"}},
     {{"Diversific", "", "Niv", "1", "B", "5", "99", "(Diversificación Curricular B) 1º ESO"}}},
    // The 12-character key is compared as CLAVE stores it: its first 10 characters.
    {"clave_de_curso_larga",
     {{"6", "4º A", "000000000012"}},
     {{"4ºA", "", "ESO", "4", "A", "6", "0000000000", "(4º A) 4º ESO (Secundaria)"}}},
    // Two items: the course key reads as empty and finds no course.
    {"registros_cortos", {{"7"}, {"8", "3 C"}}, {{"3C", "", "", "", "C", "8", "", "   C"}}},
};

TEST(ExportarCursosGrupos, TablaDeGrupos) {
    for (const CasoGrupos& caso : kCasosGrupos) {
        SCOPED_TRACE(caso.nombre);
        Exportador e({{"CURSOS_DEL_CENTRO",
                       {{"12", "1º ESO"}, {"99", "1º ESO"}, {"000000000012", "4º ESO"}}},
                      {"UNIDADES", caso.unidades}});
        e.usarNiveles(kNiveles);
        e.cadena().ExportarCursosGrupos();
        EXPECT_EQ(e.filas("GRUPOST", kCamposGrupost), caso.esperado);
    }
}

TEST(ExportarCursosGrupos, SufijosHastaABCDEFGH10) {
    QList<QStringList> unidades;
    for (int i = 0; i < 11; ++i) unidades << QStringList{QString::number(i), "ABCDE FGHIJ", "1"};
    Exportador e({{"UNIDADES", unidades}});
    e.cadena().ExportarCursosGrupos();
    EXPECT_EQ(e.columna("GRUPOST", "ABREV"),
              (QStringList{"ABCDEFGHIJ", "ABCDEFGHI1", "ABCDEFGHI2", "ABCDEFGHI3", "ABCDEFGHI4",
                           "ABCDEFGHI5", "ABCDEFGHI6", "ABCDEFGHI7", "ABCDEFGHI8", "ABCDEFGHI9",
                           "ABCDEFGH10"}));
    // No course section: every group takes the second description.
    EXPECT_EQ(e.columna("GRUPOST", "DESCRIP").front(), "   J");
    EXPECT_TRUE(e.filas("CURSOST", {"CLAVE"}).isEmpty());
}

struct CasoClaveMala {
    const char* clave;
    const char* mensaje;
};

TEST(ExportarCursosGrupos, ClaveDeCursoNoEnteraTerminaLaExportacion) {
    // The second line says where: the course is the second record of its section.
    const CasoClaveMala casos[] = {{"",
                                    "'' is not a valid integer value\n"
                                    "En el documento: sección CURSOS_DEL_CENTRO, registro 2."},
                                   {"12a",
                                    "'12a' is not a valid integer value\n"
                                    "En el documento: sección CURSOS_DEL_CENTRO, registro 2."},
                                   {"1.5",
                                    "'1.5' is not a valid integer value\n"
                                    "En el documento: sección CURSOS_DEL_CENTRO, registro 2."}};
    for (const CasoClaveMala& caso : casos) {
        SCOPED_TRACE(caso.clave);
        Exportador e(
            {{"CURSOS_DEL_CENTRO", {{"12", "1º ESO"}, {caso.clave, "2º ESO"}, {"13", "3º ESO"}}},
             {"UNIDADES", {{"1", "1º ESO A", "12"}}}});
        e.usarNiveles(kNiveles);
        EXPECT_EQ(errorDe([&] { e.cadena().ExportarCursosGrupos(); }), caso.mensaje);
        EXPECT_EQ(e.columna("CURSOST", "CLAVE"), QStringList{"12"});
        EXPECT_TRUE(e.filas("GRUPOST", {"ABREV"}).isEmpty());
        // The level table was closed on the way out: a corrected document exports.
        e.cargar(documentoIntercambio({{"CURSOS_DEL_CENTRO", {{"12", "1º ESO"}}}}));
        e.cadena().ExportarCursosGrupos();
        EXPECT_EQ(e.columna("CURSOST", "ESTUD"), QStringList{"1º ESO (Secundaria)"});
    }
}

TEST(ExportarCursosGrupos, SinNivelcanElErrorDelMotor) {
    Exportador e(Secciones{{"CURSOS_DEL_CENTRO", {}}});
    QFile::remove(e.carpetas().programa("NIVELCAN.DBF"));
    EXPECT_FALSE(errorDe([&] { e.cadena().ExportarCursosGrupos(); }).isEmpty());
}

}  // namespace
}  // namespace varnolo::prueba
