// Teaching assignments (ASIGT): subject lookup, groups of the course, hours and
// session patterns, the default activity, and the integer conversion error.

#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

const QStringList kCamposAsigt = {"CASIG",  "CPROF", "CGRUP",      "CAULA", "TURNO",
                                  "NIVEL",  "CURSO", "GRUPO",      "HORAS", "SESIONES",
                                  "NCONEX", "CLAVE", "CLAVECURSO", "CTAREA"};

const QList<QStringList> kCursos = {{"12", "1º ESO"}, {"13", "2º ESO"}, {"14", "3º ESO"}};
const QList<QStringList> kUnidades = {{"1", "1º ESO A", "12"},
                                      {"2", "2º ESO A", "13"},
                                      {"3", "1º ESO B", "12"},
                                      {"4", "1º ESO C", "12"}};

// Runs steps 1 to 6 over these subjects and activities.
std::unique_ptr<Exportador> exportar(const QList<QStringList>& materias,
                                     const QList<QStringList>& actividades = {}) {
    auto e = std::make_unique<Exportador>(Secciones{{"MATERIAS", materias},
                                                    {"ACTIVIDADES", actividades},
                                                    {"CURSOS_DEL_CENTRO", kCursos},
                                                    {"UNIDADES", kUnidades}});
    e->exportarHastaAsignaciones();
    return e;
}

struct CasoMinutos {
    const char* minutos;
    const char* horas;
    const char* sesiones;
};

TEST(ExportarAsignaciones, HorasYSesionesDeLosMinutos) {
    const CasoMinutos casos[] = {
        {"240", "4.0000", "1111"},
        {"", "4.0000", "1111"},
        {"50", "1.0000", "1"},
        {"60", "1.0000", "1"},
        {"61", "2.0000", "11"},
        {"0", "1.0000", "1"},
        {"-30", "1.0000", "1"},
        {"-600", "1.0000", "1"},
        {"780", "13.0000", "1111111111111"},
        {"781", "14.0000", "11111111111111"},
        {"900", "15.0000", "21111111111111"},
        {"1380", "23.0000", "101111111111111"},
    };
    for (const CasoMinutos& caso : casos) {
        SCOPED_TRACE(caso.minutos);
        auto e = exportar({{"13", "M1", "Música", "MUS", caso.minutos}});
        const QList<QStringList> filas = e->filas("ASIGT", {"HORAS", "SESIONES"});
        ASSERT_EQ(filas.size(), 1);
        EXPECT_EQ(filas[0][0].toDouble(), QString(caso.horas).toDouble());
        EXPECT_EQ(filas[0][1], caso.sesiones);
    }
}

TEST(ExportarAsignaciones, UnaFilaPorGrupoDelCursoEnElOrdenDeGrupost) {
    auto e = exportar({{"12", "M1", "Matemáticas", "MAT", "240"},
                       {"13", "M2", "Matemáticas", "MAT", "180"},
                       {"14", "M3", "Matemáticas", "MAT", "180"},  // a course without groups
                       {"12", "M4", "Latín", "LAT", "120"}});
    EXPECT_EQ(
        e->filas("ASIGT", kCamposAsigt),
        (QList<QStringList>{
            {"MAT", "", "1ºESOA", "", "", "ESO", "1", "A", "4.0000", "1111", "", "M1", "12", ""},
            {"MAT", "", "1ºESOB", "", "", "ESO", "1", "B", "4.0000", "1111", "", "M1", "12", ""},
            {"MAT", "", "1ºESOC", "", "", "ESO", "1", "C", "4.0000", "1111", "", "M1", "12", ""},
            {"MAT", "", "2ºESOA", "", "", "ESO", "2", "A", "3.0000", "111", "", "M2", "13", ""},
            {"LAT", "", "1ºESOA", "", "", "ESO", "1", "A", "2.0000", "11", "", "M4", "12", ""},
            {"LAT", "", "1ºESOB", "", "", "ESO", "1", "B", "2.0000", "11", "", "M4", "12", ""},
            {"LAT", "", "1ºESOC", "", "", "ESO", "1", "C", "2.0000", "11", "", "M4", "12", ""},
        }));
}

struct CasoBusqueda {
    const char* nombre;
    QList<QStringList> materias;
    QList<QStringList> actividades;
    QStringList casig;  // CASIG of each ASIGT row
    QString ctarea;     // of every row
};

const QList<CasoBusqueda> kCasosBusqueda = {
    // "matemáticas" differs from the stored name only in a to z: found. "MATEMÁTICAS"
    // differs in an accented letter too: its own subject, MAT1, and found as such.
    {"mayusculas_a_z",
     {{"13", "M1", "Matemáticas", "MAT", "60"}, {"13", "M2", "  matemáticas ", "MATE", "60"}},
     {},
     {"MAT", "MAT"},
     ""},
    {"mayuscula_acentuada_no_se_confunde",
     {{"13", "M1", "Matemáticas", "MAT", "60"}, {"13", "M2", "MATEMÁTICAS", "MAT", "60"}},
     {},
     {"MAT", "MAT1"},
     ""},
    // Same name in another course (a repeat): the first ASIGNOMT row's code.
    {"misma_materia_otro_curso",
     {{"12", "M1", "Física", "FQ", "60"}, {"13", "M2", "Física", "FQ", "60"}},
     {},
     {"FQ", "FQ", "FQ", "FQ"},
     ""},
    // A name longer than 80 characters is compared on the 80 that NOMBRE stores.
    {"nombre_largo",
     {{"13", "M1", QString(80, u'n') + "A", "LARGA", "60"},
      {"13", "M2", QString(80, u'n') + "B", "LARGB", "60"}},
     {},
     {"LARGA", "LARGA"},
     ""},
};

TEST(ExportarAsignaciones, BusquedaDeLaMateria) {
    for (const CasoBusqueda& caso : kCasosBusqueda) {
        SCOPED_TRACE(caso.nombre);
        auto e = exportar(caso.materias, caso.actividades);
        EXPECT_EQ(e->columna("ASIGT", "CASIG"), caso.casig);
        for (const QString& t : e->columna("ASIGT", "CTAREA")) EXPECT_EQ(t, caso.ctarea);
    }
}

// Every subject of the document has its own ASIGNOMT row before the activities, so
// a name that only an activity row carries comes from another document than step 1's.
TEST(ExportarAsignaciones, NombreQueSoloTieneUnaActividad) {
    auto e = exportar({{"13", "M1", "Música", "MUS", "60"}},
                      {{"1", "513", "Docencia"}, {"2", "GUA", "Guardia de recreo"}});
    e->cargar(documentoIntercambio({{"MATERIAS", {{"13", "M9", "GUARDIA DE RECREO", "", "60"}}}}));
    e->cadena().ExportarAsignaciones();
    EXPECT_EQ(e->filas("ASIGT", {"CASIG", "CLAVE", "CTAREA"}),
              (QList<QStringList>{{"GUA", "M9", "513"}}));
}

TEST(ExportarAsignaciones, ActividadPorDefectoEnCadaFila) {
    auto e = exportar({{"12", "M1", "Matemáticas", "MAT", "240"}}, {{"1", "513", "Docencia"}});
    EXPECT_EQ(e->columna("ASIGT", "CTAREA"), (QStringList{"513", "513", "513"}));
}

TEST(ExportarAsignaciones, MinutosNoEnterosTerminanLaExportacion) {
    auto e = exportar({});
    e->cargar(documentoIntercambio({{"MATERIAS",
                                     {{"13", "M1", "Música", "MUS", "60"},
                                      {"99", "M2", "Latín", "LAT", "x"},  // no group: no error
                                      {"12", "M3", "Latín", "LAT", "tres"},
                                      {"13", "M4", "Latín", "LAT", "60"}}},
                                    {"CURSOS_DEL_CENTRO", kCursos},
                                    {"UNIDADES", kUnidades}}));
    CadenaExportacion& c = e->cadena();
    c.ExportarMaterias();
    c.ExportarActividades();
    c.ExportarCursosGrupos();
    EXPECT_EQ(errorDe([&] { c.ExportarAsignaciones(); }),
              "'tres' is not a valid integer value\n"
              "En el documento: sección MATERIAS, registro 3.");
    EXPECT_EQ(e->columna("ASIGT", "CASIG"), QStringList{"MUS"});
    // GRUPOST and ASIGNOMT were closed on the way out: the step runs again.
    e->cargar(documentoIntercambio({{"MATERIAS", {{"13", "M1", "Música", "MUS", "60"}}}}));
    c.ExportarAsignaciones();
    EXPECT_EQ(e->columna("ASIGT", "CASIG"), QStringList{"MUS"});
}

}  // namespace
}  // namespace varnolo::prueba
