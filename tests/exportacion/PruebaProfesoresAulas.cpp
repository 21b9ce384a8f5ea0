// Teachers (PROFT) and rooms (AULAT): names, abbreviations and their uniqueness.

#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

QStringList profesor(const QString& e, const QString& fecha, const QString& p1, const QString& p2,
                     const QString& p3, const QString& abrev = {}) {
    return {e, fecha, QStringLiteral("Ciencias"), p1, p2, p3, abrev};
}

struct CasoProfesores {
    const char* nombre;
    QList<QStringList> registros;
    QList<QStringList> esperado;  // ABREV, NOMBRE
};

QList<QStringList> abreviaturasDadas(const QString& dada, int veces) {
    QList<QStringList> r;
    for (int i = 0; i < veces; ++i) r << profesor("1", "01/09/2015", "A", "B", "C", dada);
    return r;
}

const QList<CasoProfesores> kCasosProfesores = {
    {"nombre_e_iniciales",
     {profesor("1", "01/09/2015", "García", "López", "Ana"),
      profesor("2", "01/09/2015", "García", "", "Ana"),
      profesor("3", "01/09/2015", "Gómez", "Lara", "Antonio"),
      profesor("4", "01/09/2015", "Gil", "Luna", "Alberto"),
      profesor("5", "01/09/2015", "gil", "lópez", "ana"),
      profesor("6", "01/09/2015", "Pérez", "Ruiz", "Eva", " PROF ")},
     {{"GLA", "García López, Ana"},
      {"GA", "García , Ana"},
      {"GLA1", "Gómez Lara, Antonio"},
      {"GLA2", "Gil Luna, Alberto"},
      {"gla3", "gil lópez, ana"},
      {"PROF", "Pérez Ruiz, Eva"}}},
    {"mayusculas_ignoradas",
     {profesor("1", "", "Gómez", "Lara", "Ana"), profesor("2", "", "gil", "lópez", "ana")},
     {{"GLA", "Gómez Lara, Ana"}, {"gla1", "gil lópez, ana"}}},
    // Accented capitals fold too: "Ñ" and "ñ" are the same letter.
    {"mayusculas_ignoradas_con_acentos",
     {profesor("1", "", "Ñ", "", "", ""), profesor("2", "", "ñ", "", "")},
     {{"Ñ", "Ñ ,"}, {"ñ1", "ñ ,"}}},
    // Name parts written with blanks or line breaks around them in the document.
    {"partes_con_blancos",
     {profesor("1", "", " García", "\n López ", "\tAna")},
     {{"GLA", "García López, Ana"}}},
    // A suffix of two digits would make the eleventh ABCDEFGHI10, stored as the
    // tenth's ABCDEFGHI1: the base is shortened instead.
    {"sufijos_hasta_ABCDEFGH10", abreviaturasDadas("ABCDEFGHI", 11),
     [] {
         QList<QStringList> r{{"ABCDEFGHI", "A B, C"}};
         for (int i = 1; i <= 9; ++i) r << QStringList{QString("ABCDEFGHI%1").arg(i), "A B, C"};
         r << QStringList{"ABCDEFGH10", "A B, C"};
         return r;
     }()},
    // Given abbreviations longer than the field: unique as the table stores them.
    {"dadas_largas_unicas_en_10",
     {profesor("1", "", "A", "B", "C", "PROFESORADO1"),
      profesor("2", "", "A", "B", "C", "PROFESORADO2"),
      profesor("3", "", "A", "B", "C", "profesorado3")},
     {{"PROFESORAD", "A B, C"}, {"PROFESORA1", "A B, C"}, {"profesora2", "A B, C"}}},
    // Missing items read as empty; the table drops the trailing blank of ", ".
    {"registros_cortos",
     {{"1"}, {"1", "01/09/2015"}, {"2", "", "Lengua", "Ruiz"}},
     {{"", " ,"}, {"R", "Ruiz ,"}}},
};

TEST(ExportarProfesores, TablaDeCasos) {
    for (const CasoProfesores& caso : kCasosProfesores) {
        SCOPED_TRACE(caso.nombre);
        Exportador e({{"EMPLEADOS", caso.registros}});
        e.cadena().ExportarProfesores();
        EXPECT_EQ(e.filas("PROFT", {"ABREV", "NOMBRE"}), caso.esperado);
    }
}

TEST(ExportarProfesores, DatosDeVelnaSinCambiosYCamposNoEscritos) {
    Exportador e({{"EMPLEADOS",
                   {{" 100234 ", " 01/09/2015 ", " Lengua ", "García", "López", "Ana", ""},
                    {"100235", "", "Música", "Ruiz", "Mora", "Eva", ""}}}});
    e.cadena().ExportarProfesores();
    EXPECT_EQ(e.filas("PROFT", {"DEPART", "EMAIL", "DNI", "X_EMPLEADO", "F_TOMAPOS"}),
              (QList<QStringList>{{"Lengua", "", "", "100234", "01/09/2015"},
                                  {"Música", "", "", "100235", ""}}));
}

struct CasoAulas {
    const char* nombre;
    QList<QStringList> registros;
    QStringList abreviaturas;
};

const QString kNombreLargo = QString(85, u'x');

const QList<CasoAulas> kCasosAulas = {
    {"codigo_repetido", {{"A1", "Aula"}, {"A1", "Aula"}, {"A1", "Aula"}}, {"A1", "A11", "A12"}},
    {"mayusculas_ignoradas", {{"A1", "Aula"}, {"a1", "Aula"}}, {"A1", "a11"}},
    {"codigo_vacio", {{"", "Laboratorio de Fisica"}}, {"Laboratori"}},
    {"codigo_largo",
     {{"AULA-INFORMATICA", "Aula"}, {"AULA-INFORMATICA", "Aula 2"}},
     {"AULA-INFCA", "AULA-INFO1"}},
    {"sufijos_hasta_ABCDEFGH10",
     [] {
         QList<QStringList> r;
         for (int i = 0; i < 11; ++i) r << QStringList{"ABCDEFGHIJ", "Aula"};
         return r;
     }(),
     {"ABCDEFGHIJ", "ABCDEFGHI1", "ABCDEFGHI2", "ABCDEFGHI3", "ABCDEFGHI4", "ABCDEFGHI5",
      "ABCDEFGHI6", "ABCDEFGHI7", "ABCDEFGHI8", "ABCDEFGHI9", "ABCDEFGH10"}},
    {"codigo_y_nombre_vacios", {{"", ""}, {"", ""}}, {"", "1"}},
    // Characters that Windows-1252 lacks are stored as '?', so "AΩ" and "AΣ" would
    // both be "A?" in the table.
    {"iguales_al_guardarse", {{"AΩ", "Aula"}, {"AΣ", "Aula"}}, {"A?", "A?1"}},
    {"registro_corto_se_salta", {{"A1"}, {"A2", "Aula"}}, {"A2"}},
};

TEST(ExportarAulas, TablaDeCasos) {
    for (const CasoAulas& caso : kCasosAulas) {
        SCOPED_TRACE(caso.nombre);
        Exportador e({{"DEPENDENCIAS", caso.registros}});
        e.cadena().ExportarAulas();
        EXPECT_EQ(e.columna("AULAT", "ABREV"), caso.abreviaturas);
    }
}

TEST(ExportarAulas, NombreCortadoA80YCamposVacios) {
    Exportador e({{"DEPENDENCIAS", {{"A1", kNombreLargo, "extra"}}}});
    e.cadena().ExportarAulas();
    EXPECT_EQ(e.filas("AULAT", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"}),
              (QList<QStringList>{{"A1", kNombreLargo.left(80), "", "", ""}}));
}

TEST(ExportarAulas, SinSeccionLaTablaExisteVacia) {
    Exportador e(Secciones{});
    e.cadena().ExportarAulas();
    EXPECT_TRUE(QFile::exists(e.carpetas().trabajo("AULAT.DBF")));
    EXPECT_TRUE(e.filas("AULAT", {"ABREV"}).isEmpty());
}

}  // namespace
}  // namespace varnolo::prueba
