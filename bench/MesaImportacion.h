// The work folder and chosen document that the import benchmarks run on: the lookup
// tables of a large school and a SOLUC of many lessons; and the answers of a user who
// is not there, for every benchmark.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"

namespace varnolo::banco {

/// Chooses the first five time frames listed, and says the teachers' data is complete.
class Desatendida : public Preguntas {
  public:
    QList<int> elegirMarcos(const MarcosHorarios& marcos) override {
        QList<int> primeros;
        for (int i = 0; i < marcos.entradas().size() && i < 5; ++i) primeros << i;
        return primeros;
    }
    bool completarProfesores(const Entorno&) override { return true; }
};

/// Creates the export's work tables and SOLUC in e.carpetaTrabajo, fills them for
/// `profesores` teachers and `lecciones` lessons, writes the chosen document in
/// `carpeta` and returns its path.
QString prepararMesaImportacion(const Entorno& e, const QString& carpeta, int profesores,
                                int lecciones);

/// A temporary folder that is both the work folder and the program folder, with the
/// tables and document of prepararMesaImportacion, and how long making them took.
struct MesaTemporal {
    MesaTemporal(int profesores, int lecciones);
    QTemporaryDir carpeta;
    Entorno entorno;
    QString documento;
    qint64 msGenerar = 0;
};

}  // namespace varnolo::banco
