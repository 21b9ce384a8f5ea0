#pragma once
// Helpers shared by the tests: a temporary work folder and program folder with a
// fixed clock, scripted answers to a conversion's questions, and the paths of fixtures.

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "data/Archivos.h"
#include "data/Desenlace.h"
#include "data/Entorno.h"
#include "data/Preguntas.h"

namespace varnolo::prueba {

/// Writes the file whole (creating or replacing it); a failure fails the test.
void escribirBytes(const QString& ruta, const QByteArray& bytes);

/// tests/data/NAME
QString datoPrueba(const QString& nombre);
/// examples/NAME
QString ejemplo(const QString& nombre);
/// The folder of the built executables (where NIVELCAN.DBF is generated).
QString carpetaBinarios();

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

/// The program's file operations, failing on purpose: the nth write into a table or
/// the nth write into a file being saved (counted apart; 0: none) as a full disk
/// does, or every putting in place of a saved file as a target held elsewhere does.
class ArchivosQueFallan : public Archivos {
  public:
    int fallarEscrituraTabla = 0;
    int fallarEscrituraGuardado = 0;
    bool fallarConfirmacion = false;
    int escriturasTabla = 0;
    int escriturasGuardado = 0;

    bool escribir(plataforma::ArchivoBloqueado& archivo, qint64 posicion, const char* datos,
                  qint64 largo, QString& motivo) override;
    bool escribir(QSaveFile& archivo, const char* datos, qint64 largo, QString& motivo) override;
    bool confirmar(QSaveFile& archivo, QString& motivo) override;
};

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

/// The positions in `m.entradas()` of the frames whose code is one of `codigos`.
QList<int> posicionesDe(const MarcosHorarios& m, const QStringList& codigos);

/// For assertions: the outcome as one line, e.g. "Completada: Proceso finalizado".
std::string describir(const Desenlace& d);

/// Wraps a section's records in the envelope of an exchange document (UTF-8), e.g.
/// documentoIntercambio({{"MATERIAS", {{"OF1", "M1", "Matemáticas", "MAT"}}}}).
QByteArray documentoIntercambio(const QList<std::pair<QString, QList<QStringList>>>& secciones,
                                const QString& primeraSeccionTexto = {});

}  // namespace varnolo::prueba

/// Python and its dBase readers (dbfread, dbf) play the other programs in some tests.
/// A Windows build has no Python beside it: there those tests are skipped with this
/// reason, and the byte-for-byte comparison of the Windows build's tables with the
/// Linux build's stands in for them.
#ifdef _WIN32
#define VARNOLO_EXIGE_PYTHON()                                                                   \
    GTEST_SKIP() << "Sin Python en la compilación de Windows: los lectores de dBase de Python " \
                    "se prueban en Linux; aquí cuenta la comparación byte a byte con Linux"
#else
#define VARNOLO_EXIGE_PYTHON() static_cast<void>(0)
#endif
