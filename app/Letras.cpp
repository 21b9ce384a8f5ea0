#include "app/Letras.h"

#include <QFont>
#include <QStringList>

namespace varnolo {

void instalarLetrasSustitutas() {
    QStringList sustitutas;
    for (const char* nombre : kSustitutasSans) sustitutas << QString::fromLatin1(nombre);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sustitutas);
    // MS Sans Serif's own successor first, where Windows has it.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("Microsoft Sans Serif")} + sustitutas);
}

}  // namespace varnolo
