#pragma once
// How varnolo-cli answers a conversion's questions: the time frames come from the
// command line (checked before the export starts, so they are never asked), and the
// teachers' missing data cannot be completed on a console, so the answer is no. It
// keeps the list of those teachers for the console.

#include <QString>

#include "conversion/Preguntas.h"

namespace varnolo::cli {

class PreguntasConsola : public Preguntas {
  public:
    /// Never reached: the export takes the frames given with --marco.
    QList<int> elegirMarcos(const MarcosHorarios& marcos) override;
    /// Keeps the incomplete teachers' list and answers no.
    bool completarProfesores(const Entorno& entorno) override;

    /// The incomplete teachers (ABREV, NOMBRE, what is missing) and how to complete
    /// them, one line each; empty until completarProfesores() was asked.
    const QString& profesoresPendientes() const { return profesoresPendientes_; }

  private:
    QString profesoresPendientes_;
};

/// A message's line breaks as a console wants them: the window's texts break lines
/// with "\n\r", and a console in text mode already turns each "\n" into its own line end.
QString lineasDeConsola(QString texto);

}  // namespace varnolo::cli
