#pragma once
// Helpers shared by the tests of the conversions: a temporary work folder and program
// folder with a fixed clock, scripted answers to a conversion's questions.

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <vector>

#include "conversion/Avance.h"
#include "conversion/Desenlace.h"
#include "conversion/Preguntas.h"
#include "taviron/Entorno.h"
#include "tests/comun/Base.h"

namespace varnolo::prueba {

/// A work folder and a program folder, both temporary and removed at the end, and
/// an environment over them with the clock fixed at 2026-03-15 10:30:00.
class Carpetas {
  public:
    Carpetas();
    const Entorno& entorno() const { return entorno_; }
    QString trabajo(const QString& archivo = {}) const;
    QString programa(const QString& archivo = {}) const;
    /// Copies the generated level table NIVELCAN.DBF into the program folder.
    void instalarNivelcan() const;
    /// Writes `contenido` to a file of a third temporary folder and returns its path.
    QString escribirDocumento(const QString& nombre, const QByteArray& contenido) const;

  private:
    QTemporaryDir trabajo_, programa_, documentos_;
    Entorno entorno_;
};

/// An empty SOLUC in the work folder with the layout the tests use: PROF, DIA, HORA,
/// MARCO, ASIG, CODGRUPO, TAREA, AULA. DIA and HORA are integer columns, or text
/// columns holding the number.
void crearSoluc(const Entorno& entorno, bool diaHoraTexto = false);

/// Answers a conversion's questions from a script and counts them.
class PreguntasPrueba : public Preguntas {
  public:
    /// Answers of the time-frame question; by default it fails the test (and gives
    /// the first frame, so that the conversion goes on).
    std::function<QList<int>(const MarcosHorarios&)> marcos;
    /// Answers of the teacher data question; by default "not completed".
    std::function<bool(const Entorno&)> profesores;
    int vecesMarcos = 0;
    int vecesProfesores = 0;

    QList<int> elegirMarcos(const MarcosHorarios& m) override;
    bool completarProfesores(const Entorno& entorno) override;
};

/// A person who presses "Cancelar" once a conversion has reached `hecho` units of
/// `fase`, noting every report.
class CancelaEn : public Avance {
  public:
    CancelaEn(Fase fase, qint64 hecho) : fase_(fase), hecho_(hecho) {}
    bool seguir(Fase fase, qint64 hecho, qint64 total) override;
    bool cancelado = false;
    struct Informe {
        Fase fase;
        qint64 hecho, total;
    };
    std::vector<Informe> informes;

  private:
    Fase fase_;
    qint64 hecho_;
};

/// The positions in `m.entradas()` of the frames whose code is one of `codigos`.
QList<int> posicionesDe(const MarcosHorarios& m, const QStringList& codigos);

/// For assertions: the outcome as one line, e.g. "Completada: Proceso finalizado".
std::string describir(const Desenlace& d);

/// Wraps a section's records in the envelope of an exchange document (UTF-8), e.g.
/// documentoIntercambio({{"MATERIAS", {{"OF1", "M1", "Matemáticas", "MAT"}}}}).
QByteArray documentoIntercambio(const QList<std::pair<QString, QList<QStringList>>>& secciones,
                                const QString& primeraSeccionTexto = {});

}  // namespace varnolo::prueba
