#pragma once
// Helpers that every test may use, whatever library it tests: the paths of fixtures,
// writing a file whole, a folder's files as bytes, and the file operations failing on purpose.

#include <gtest/gtest.h>
#include <QByteArray>
#include <QMap>
#include <QString>

#include "base/Archivos.h"

namespace varnolo::prueba {

/// Writes the file whole (creating or replacing it); a failure fails the test.
void escribirBytes(const QString& ruta, const QByteArray& bytes);

/// Every file of the folder with its bytes (an unreadable one as "(ilegible)"), by its
/// path from the folder, hidden files included; with `subcarpetas`, the files of every
/// subfolder too. What a test compares to say "nothing in the folder changed".
QMap<QString, QByteArray> archivosDe(const QString& carpeta, bool subcarpetas = false);
/// The table files right in the folder (NAME.DBF, NAME.MDX) with their bytes.
QMap<QString, QByteArray> tablasDe(const QString& carpeta);

/// tests/data/NAME
QString datoPrueba(const QString& nombre);
/// examples/NAME
QString ejemplo(const QString& nombre);
/// The folder of the built executables (where NIVELCAN.DBF is generated).
QString carpetaBinarios();

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
