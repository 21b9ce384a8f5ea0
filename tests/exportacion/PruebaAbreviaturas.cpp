// The helpers behind unique codes: the suffixed candidate and the stored form.

#include <QSet>

#include "export/Abreviaturas.h"
#include "export/FormaAlmacenada.h"
#include "tests/exportacion/Exportador.h"

namespace varnolo::prueba {
namespace {

TEST(Abreviaturas, CandidatoConservaTodasLasCifras) {
    const struct {
        const char* base;
        int n;
        const char* esperado;
    } casos[] = {
        {"ABCDEFGHI", 1, "ABCDEFGHI1"},
        {"ABCDEFGHI", 10, "ABCDEFGH10"},
        {"ABCDEFGHI", 99, "ABCDEFGH99"},
        {"ABCDEFGHI", 100, "ABCDEFG100"},
        {"MAT", 3, "MAT3"},
        {"MAT", 1234567, "MAT1234567"},
        {"", 1, "1"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(candidatoDiez(c.base, c.n), c.esperado) << c.base << " " << c.n;
    }
}

TEST(Abreviaturas, FormaAlmacenada) {
    const struct {
        QString valor;
        int ancho;
        QString esperado;
    } casos[] = {
        {"Educación Física", 10, "Educación"},  // the tenth character, a blank, is lost
        {"Música", 10, "Música"},
        {"€ y Œ", 10, "€ y Œ"},  // in Windows-1252 above 0x7F
        {"AΩ", 10, "A?"},
        {"A😀B", 3, "A?B"},  // one byte for a character outside the BMP
        {"0123456789AB", 10, "0123456789"},
    };
    for (const auto& c : casos) EXPECT_EQ(formaAlmacenada(c.valor, c.ancho), c.esperado);
}

// Past a hundred equal first choices the shortened candidates would only repeat
// themselves; every room still gets its own abbreviation of at most 10 characters.
TEST(Abreviaturas, CientoVeinteAulasIguales) {
    QList<QStringList> aulas;
    for (int i = 0; i < 120; ++i) aulas << QStringList{"AULA-INFORMATICA", "Aula"};
    Exportador e({{"DEPENDENCIAS", aulas}});
    e.cadena().ExportarAulas();
    const QStringList abreviaturas = e.columna("AULAT", "ABREV");
    ASSERT_EQ(abreviaturas.size(), 120);
    EXPECT_EQ(QSet<QString>(abreviaturas.begin(), abreviaturas.end()).size(), 120);
    EXPECT_EQ(abreviaturas[0], "AULA-INFCA");
    EXPECT_EQ(abreviaturas[10], "AULA-INF10");
    EXPECT_EQ(abreviaturas[100], "AULA-IN100");
}

}  // namespace
}  // namespace varnolo::prueba
