// The report of an export: how notes are grouped and told, which values the width of
// their field cuts, and what the steps note with the place of each record.

#include "base/PaginaCodigos.h"
#include "conversion/Informe.h"
#include "export/TextosFila.h"
#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

struct Nota {
    const char* tipo;
    QString lugar;
};

struct CasoAgrupacion {
    const char* nombre;
    QStringList lineas;
    QList<Nota> notas;
    QString esperado;
};

QList<Nota> cortes(int n) {
    QList<Nota> r;
    for (int i = 1; i <= n; ++i) r << Nota{"cortado", Informe::lugar("MATERIAS", i)};
    return r;
}

const QList<CasoAgrupacion> kCasosAgrupacion = {
    {"solo_lineas", {"PROFT              2 filas"}, {}, "PROFT              2 filas\n"},
    {"vacio", {}, {}, ""},
    {"tres_lugares_sin_resto",
     {},
     cortes(3),
     "cortado: 3 (MATERIAS registro 1, MATERIAS registro 2, MATERIAS registro 3)\n"},
    {"muchos_lugares_cuenta_y_tres_primeros",
     {},
     cortes(15),
     "cortado: 15 (MATERIAS registro 1, MATERIAS registro 2, MATERIAS registro 3 y 12 más)\n"},
    {"mismo_lugar_cuenta_una_vez",
     {},
     {{"cortado", "ASIGT registro 2"}, {"cortado", "ASIGT registro 2"}},
     "cortado: 1 (ASIGT registro 2)\n"},
    // Kinds in the order they first appear; the lines go first whatever the order given.
    {"clases_en_orden_de_aparicion",
     {"A        1 fila"},
     {{"b", "X registro 1"}, {"a", "X registro 2"}, {"b", "X registro 3"}},
     "A        1 fila\nb: 2 (X registro 1, X registro 3)\na: 1 (X registro 2)\n"},
};

TEST(Informe, AgrupaPorClaseConCuentaYPrimerosLugares) {
    for (const CasoAgrupacion& caso : kCasosAgrupacion) {
        SCOPED_TRACE(caso.nombre);
        Informe informe;
        // Notes first: the lines still come out ahead of them.
        for (const Nota& n : caso.notas) informe.anotar(QString::fromUtf8(n.tipo), n.lugar);
        for (const QString& l : caso.lineas) informe.agregarLinea(l);
        EXPECT_EQ(informe.texto(), caso.esperado);
    }
    Informe informe;
    for (const Nota& n : cortes(15)) informe.anotar(QString::fromUtf8(n.tipo), n.lugar);
    EXPECT_EQ(informe.cuenta("cortado"), 15);
    EXPECT_EQ(informe.cuenta("otro"), 0);
}

TEST(TextosFila, SeCortaCuandoLoQueSobraNoSonBlancos) {
    struct Caso {
        const char* valor;
        int ancho;
        bool corta;
    };
    const Caso casos[] = {
        {"", 1, false},
        {"ABCDEFGHIJ", 10, false},
        {"ABCDEFGHIJK", 10, true},
        {"ABC       ", 3, false},   // only blanks past the width
        {"ABC   D", 3, true},       // a blank, then something
        {"ÁÉÍÓÚáéíóúñ", 10, true},  // one byte per letter in Windows-1252
        {"ÁÉÍÓÚáéíóú", 10, false},
        {"€uro", 4, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.valor);
        EXPECT_EQ(seCorta(QString::fromUtf8(c.valor), c.ancho), c.corta);
        // Whatever it says, it agrees with what the field keeps.
        const QString v = QString::fromUtf8(c.valor);
        const QByteArray bytes = motor::codificarWindows1252(v);
        EXPECT_EQ(seCorta(v, c.ancho),
                  bytes.left(c.ancho).trimmed() != bytes.trimmed() && bytes.size() > c.ancho);
    }
}

// ---- What the steps note ----------------------------------------------------------

const QString kLargo80 = QString(80, u'n');

QStringList materia(const QString& curso, const QString& clave, const QString& nombre,
                    const QString& codigo = {}) {
    return {curso, clave, nombre, codigo, QStringLiteral("120")};
}
QStringList profesor(const QString& e, const QString& abrev,
                     const QString& depart = QStringLiteral("Ciencias")) {
    return {e, QStringLiteral("01/09/2015"), depart, "Gil", "Luna", "Ana", abrev};
}

/// One course and one group of it, so that each subject of the course gets its rows.
Secciones conCursoYGrupo(const Secciones& propias) {
    Secciones r = propias;
    const auto tiene = [&](const char* s) {
        return std::any_of(propias.begin(), propias.end(),
                           [&](const auto& p) { return p.first == QLatin1String(s); });
    };
    if (!tiene("CURSOS_DEL_CENTRO")) r.append({"CURSOS_DEL_CENTRO", {{"10", "1º ESO"}}});
    if (!tiene("UNIDADES")) r.append({"UNIDADES", {{"100", "1º ESO A", "10"}}});
    return r;
}

struct CasoPasos {
    const char* nombre;
    Secciones secciones;
    QString esperado;  // the notes of steps 1 to 6
};

const QList<CasoPasos> kCasosPasos = {
    {"documento_limpio",
     {{"MATERIAS", {materia("10", "M1", "Matemáticas", "MAT")}},
      {"EMPLEADOS", {profesor("1", "GLA")}},
      {"DEPENDENCIAS", {{"A1", "Aula 1"}}}},
     ""},
    {"nombre_largo_en_las_dos_tablas",
     {{"MATERIAS",
       {materia("10", "M1", "Matemáticas", "MAT"), materia("10", "M2", kLargo80 + "xyz", "LEN")}}},
     "valor cortado a la anchura del campo ASIGNOMT.NOMBRE: 1 (MATERIAS registro 2)\n"
     "valor cortado a la anchura del campo ASIGNOMT2.NOMBRE: 1 (MATERIAS registro 2)\n"},
    {"codigo_largo_de_materia",
     {{"MATERIAS", {materia("10", "M1", "Matemáticas", "MATEMATICAS1")}}},
     "valor cortado a la anchura del campo ASIGNOMT.CODLARGO: 1 (MATERIAS registro 1)\n"
     "valor cortado a la anchura del campo ASIGNOMT2.CODLARGO: 1 (MATERIAS registro 1)\n"},
    {"codigo_de_materia_repetido",
     {{"MATERIAS",
       {materia("10", "M1", "Matemáticas", "MAT"), materia("10", "M2", "Música", "MAT")}}},
     "código hecho único en ASIGNOMT.COD: 1 (MATERIAS registro 2)\n"},
    {"materia_y_oferta_repetidas",
     {{"MATERIAS",
       {materia("10", "M1", "Matemáticas", "MAT"), materia("10", "M1", "Matemáticas", "MAT")}}},
     "registro saltado: materia y oferta ya escritas: 1 (MATERIAS registro 2)\n"},
    {"materia_de_un_curso_sin_grupos",
     {{"MATERIAS", {materia("10", "M1", "Matemáticas", "MAT"), materia("99", "M2", "Física")}}},
     "registro saltado: sin filas en ASIGT, su curso no tiene grupos en GRUPOST: 1 "
     "(MATERIAS registro 2)\n"},
    // The short record is read by steps 1 and 6 and told once.
    {"registros_cortos",
     {{"MATERIAS", {{"10"}, materia("10", "M1", "Matemáticas", "MAT")}},
      {"EMPLEADOS", {profesor("1", "GLA"), {"2"}}},
      {"UNIDADES", {{"100", "1º ESO A", "10"}, {"101"}}}},
     "registro saltado: tiene menos de dos datos: 3 (MATERIAS registro 1, EMPLEADOS registro 2, "
     "UNIDADES registro 2)\n"},
    {"abreviatura_de_profesor_repetida",
     {{"EMPLEADOS", {profesor("1", "GLA"), profesor("2", "gla"), profesor("3", "PRF")}}},
     "código hecho único en PROFT.ABREV: 1 (EMPLEADOS registro 2)\n"},
    {"muchos_departamentos_largos",
     {{"EMPLEADOS",
       {profesor("1", "A", QString(41, u'd')), profesor("2", "B", QString(41, u'd')),
        profesor("3", "C", "Ciencias"), profesor("4", "D", QString(50, u'd')),
        profesor("5", "E", QString(41, u'd')), profesor("6", "F", QString(41, u'd'))}}},
     "valor cortado a la anchura del campo PROFT.DEPART: 5 (EMPLEADOS registro 1, EMPLEADOS "
     "registro 2, EMPLEADOS registro 4 y 2 más)\n"},
    {"aulas_acortadas_y_repetidas",
     {{"DEPENDENCIAS", {{"LABORATORIO1", "Laboratorio"}, {"A1", "Aula"}, {"a1", "Aula bis"}}}},
     "código acortado a 10 caracteres en AULAT.ABREV: 1 (DEPENDENCIAS registro 1)\n"
     "código hecho único en AULAT.ABREV: 1 (DEPENDENCIAS registro 3)\n"},
    {"grupos_con_la_misma_abreviatura",
     {{"UNIDADES", {{"100", "1º ESO A", "10"}, {"101", "1ºESO A", "10"}}}},
     "código hecho único en GRUPOST.ABREV: 1 (UNIDADES registro 2)\n"},
};

TEST(InformeExportacion, CadaPasoAnotaConSuSeccionYRegistro) {
    for (const CasoPasos& caso : kCasosPasos) {
        SCOPED_TRACE(caso.nombre);
        Exportador x(conCursoYGrupo(caso.secciones));
        x.exportarHastaAsignaciones();
        EXPECT_EQ(x.estado().informe.texto(), caso.esperado);
    }
}

}  // namespace
}  // namespace varnolo::prueba
