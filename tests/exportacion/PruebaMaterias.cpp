// Subjects and activities: ASIGNOMT, ASIGNOMT2 and the default-activity flag.

#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

const QStringList kCamposAsignomt = {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA"};
const QStringList kCamposAsignomt2 = {"COD",         "CODLARGO", "NOMBRE", "MATERIA",
                                      "OFERTAMATRI", "CODTAREA", "ESTAREA"};

struct CasoMaterias {
    const char* nombre;
    QList<QStringList> registros;  // MATERIAS records
    QList<QStringList> asignomt;   // COD, CODLARGO, NOMBRE
    QList<QStringList> ofertas;    // ASIGNOMT2: COD, MATERIA, OFERTAMATRI
};

QList<QStringList> subjects(const Exportador& e) {
    QList<QStringList> r;
    for (const QStringList& f : e.filas("ASIGNOMT", kCamposAsignomt)) {
        EXPECT_EQ(f[3], "");   // CODTAREA
        EXPECT_EQ(f[4], "F");  // ESTAREA
        r << f.mid(0, 3);
    }
    return r;
}

QList<QStringList> offerings(const Exportador& e) {
    QList<QStringList> r;
    for (const QStringList& f : e.filas("ASIGNOMT2", kCamposAsignomt2)) {
        EXPECT_EQ(f[6], "F");
        r << QStringList{f[0], f[3], f[4]};
    }
    return r;
}

QList<QStringList> onceIguales() {
    QList<QStringList> r;
    for (int i = 0; i < 11; ++i)
        r << QStringList{"OF", QString::number(i), QString("Asignatura %1").arg(i), "ABCDEFGHIJ"};
    return r;
}

const QList<CasoMaterias> kCasos = {
    {"repeticiones_y_ofertas",
     {{"OF1", "M1", "Matemáticas", "MAT"},
      {"OF2", "M2", "Matemáticas", "MAT"},
      {"OF1", "M1", "Matemáticas", "MAT"},
      {"OF3", "M3", "Matemáticas Aplicadas", "MAT"}},
     {{"MAT", "MAT", "Matemáticas"}, {"MAT1", "MAT", "Matemáticas Aplicadas"}},
     {{"MAT", "M1", "OF1"}, {"MAT", "M2", "OF2"}, {"MAT1", "M3", "OF3"}}},
    {"mayusculas_distintas_son_otra_materia",
     {{"OF1", "M1", "Matemáticas", "MAT"}, {"OF2", "M2", "matemáticas", "MAT"}},
     {{"MAT", "MAT", "Matemáticas"}, {"MAT1", "MAT", "matemáticas"}},
     {{"MAT", "M1", "OF1"}, {"MAT1", "M2", "OF2"}}},
    {"codigo_vacio_toma_el_principio_del_nombre",
     {{"OF1", "M1", "Educación Física", ""}},
     // "Educación " with its tenth character a blank, as the table returns it.
     {{"Educación", "Educación", "Educación Física"}},
     {{"Educación", "M1", "OF1"}}},
    {"sufijos_hasta_ABCDEFGH10", onceIguales(),
     [] {
         QList<QStringList> r{{"ABCDEFGHIJ", "ABCDEFGHIJ", "Asignatura 0"}};
         for (int i = 1; i <= 9; ++i)
             r << QStringList{QString("ABCDEFGHI%1").arg(i), "ABCDEFGHIJ",
                              QString("Asignatura %1").arg(i)};
         r << QStringList{"ABCDEFGH10", "ABCDEFGHIJ", "Asignatura 10"};
         return r;
     }(),
     [] {
         QList<QStringList> r{{"ABCDEFGHIJ", "0", "OF"}};
         for (int i = 1; i <= 9; ++i)
             r << QStringList{QString("ABCDEFGHI%1").arg(i), QString::number(i), "OF"};
         r << QStringList{"ABCDEFGH10", "10", "OF"};
         return r;
     }()},
    {"primera_opcion_ocupada_por_MAT_MAT1_MAT2",
     {{"O", "1", "Uno", "MAT"},
      {"O", "2", "Dos", "MAT1"},
      {"O", "3", "Tres", "MAT2"},
      {"O", "4", "Cuatro", "MAT"}},
     {{"MAT", "MAT", "Uno"},
      {"MAT1", "MAT1", "Dos"},
      {"MAT2", "MAT2", "Tres"},
      {"MAT3", "MAT", "Cuatro"}},
     {{"MAT", "1", "O"}, {"MAT1", "2", "O"}, {"MAT2", "3", "O"}, {"MAT3", "4", "O"}}},
    {"codigo_largo_se_guarda_cortado",
     {{"O", "1", "Tecnología de la Información", "TECNOLOGIAINFO"}},
     {{"TECNOLOGIA", "TECNOLOGIA", "Tecnología de la Información"}},
     {{"TECNOLOGIA", "1", "O"}}},
    // The offering is compared as the 20-character fields store it.
    {"oferta_comparada_como_se_guarda",
     {{"OFERTA-0123456789-AAA", "M1", "Latín", "LAT"},
      {"OFERTA-0123456789-AAB", "M1", "Latín", "LAT"}},
     {{"LAT", "LAT", "Latín"}},
     {{"LAT", "M1", "OFERTA-0123456789-AA"}}},
    // Two short codes that the 10-character field would store alike: the trailing
    // blank of "Educación " is lost on storing, so "Educación" is taken.
    {"codigos_iguales_al_guardarse_se_distinguen",
     {{"O", "1", "Educación Física", ""}, {"O", "2", "Educación para la Ciudadanía", "Educación"}},
     {{"Educación", "Educación", "Educación Física"},
      {"Educación1", "Educación", "Educación para la Ciudadanía"}},
     {{"Educación", "1", "O"}, {"Educación1", "2", "O"}}},
    // One item: skipped. Two items: what is missing reads as empty, an empty subject.
    {"registros_cortos",
     {{"OF1"}, {"OF1", "M1"}, {"OF2", "M2", "Historia"}},
     {{"", "", ""}, {"Historia", "Historia", "Historia"}},
     {{"", "M1", "OF1"}, {"Historia", "M2", "OF2"}}},
};

TEST(ExportarMaterias, TablaDeCasos) {
    for (const CasoMaterias& caso : kCasos) {
        SCOPED_TRACE(caso.nombre);
        Exportador e({{"MATERIAS", caso.registros}});
        e.cadena().ExportarMaterias();
        EXPECT_EQ(subjects(e), caso.asignomt);
        EXPECT_EQ(offerings(e), caso.ofertas);
    }
}

TEST(ExportarMaterias, SinSeccionDejaLasTablasVaciasYRecreadas) {
    Exportador e(Secciones{});
    e.cadena().ExportarMaterias();
    EXPECT_TRUE(e.filas("ASIGNOMT", {"COD"}).isEmpty());
    EXPECT_TRUE(e.filas("ASIGNOMT2", {"COD"}).isEmpty());
    // A second run starts from scratch: the tables are replaced, not appended to.
    e.cargar(documentoIntercambio({{"MATERIAS", {{"O", "1", "Música", "MUS"}}}}));
    e.cadena().ExportarMaterias();
    e.estado().listas.vaciar();
    e.cadena().ExportarMaterias();
    EXPECT_EQ(e.columna("ASIGNOMT", "COD"), QStringList{"MUS"});
    EXPECT_EQ(e.columna("ASIGNOMT2", "COD"), QStringList{"MUS"});
}

struct CasoActividades {
    const char* nombre;
    QList<QStringList> actividades;
    QList<QStringList> filasActividad;  // COD, CODLARGO, NOMBRE, CODTAREA, ESTAREA
    int bandera;
};

const QList<CasoActividades> kCasosActividades = {
    {"codigo_513_con_blancos",
     {{"1", "  513 ", "Docencia directa con alumnado"}, {"2", "514", "Guardia"}},
     {{"513", "Docencia d", "Docencia directa con alumnado", "513", "T"},
      {"514", "Guardia", "Guardia", "514", "T"}},
     1},
    {"sin_513", {{"1", "514", "Guardia"}}, {{"514", "Guardia", "Guardia", "514", "T"}}, 0},
    {"igual_que_una_materia",
     {{"1", "MAT", "Matemáticas (refuerzo)"}},
     {{"MAT", "Matemática", "Matemáticas (refuerzo)", "MAT", "T"}},
     0},
    {"registros_cortos", {{"513"}, {"1", "513"}}, {{"513", "", "", "513", "T"}}, 1},
};

TEST(ExportarActividades, TablaDeCasos) {
    for (const CasoActividades& caso : kCasosActividades) {
        SCOPED_TRACE(caso.nombre);
        Exportador e(
            {{"MATERIAS", {{"O", "1", "Matemáticas", "MAT"}}}, {"ACTIVIDADES", caso.actividades}});
        e.estado().actividadPorDefecto = 1 - caso.bandera;
        e.cadena().ExportarMaterias();
        e.cadena().ExportarActividades();
        QList<QStringList> filas = e.filas("ASIGNOMT", kCamposAsignomt);
        ASSERT_FALSE(filas.isEmpty());
        EXPECT_EQ(filas.takeFirst(), (QStringList{"MAT", "MAT", "Matemáticas", "", "F"}));
        EXPECT_EQ(filas, caso.filasActividad);
        EXPECT_EQ(e.estado().actividadPorDefecto, caso.bandera);
        EXPECT_TRUE(e.estado().listas.listaCodigos.empty());
    }
}

}  // namespace
}  // namespace varnolo::prueba
