#pragma once
// Helpers shared by the tests: a temporary work folder and program folder with a
// fixed clock, a scripted stand-in for the windows, and the paths of fixtures.

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "data/Entorno.h"
#include "data/EstadoPrograma.h"
#include "data/Interaccion.h"

namespace varnolo::prueba {

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

/// Records what a conversion asked of the front end and answers from a script.
class InteraccionPrueba : public Interaccion {
  public:
    /// Answers of the file dialog, taken in order; an empty optional cancels. When
    /// the queue is empty the dialog is cancelled.
    QList<std::optional<QString>> documentos;
    /// Messages shown, in order.
    QStringList mensajes;
    int ocupado = 0;  ///< busy cursor shown and not yet restored
    bool botonesDeshabilitados = false;
    bool ventanaCerrada = false;
    /// Answers of the time-frame dialog; by default it fails the test.
    std::function<SeleccionMarcos(const EstadoPrograma&)> marcos;
    /// Answers of the teacher data dialog; by default the dialog closes with false.
    std::function<bool(const EstadoPrograma&)> profesores;
    int vecesMarcos = 0;
    int vecesProfesores = 0;

    std::optional<QString> elegirDocumento() override;
    void mostrarMensaje(const QString& texto) override { mensajes << texto; }
    void cursorOcupado() override { ++ocupado; }
    void cursorNormal() override { ocupado = 0; }
    void deshabilitarBotones() override { botonesDeshabilitados = true; }
    void cerrarVentana() override { ventanaCerrada = true; }
    SeleccionMarcos elegirMarcos(const EstadoPrograma& estado) override;
    bool completarProfesores(const EstadoPrograma& estado) override;
};

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
