#pragma once
// What the export tests share: a temporary work and program folder, the export's
// context over them with a document loaded, the export chain, and readers that give
// a work table back as rows of texts.

#include <gtest/gtest.h>

#include <QStringList>

#include "export/CadenaExportacion.h"
#include "taviron/TablaNiveles.h"
#include "tests/comun/Prueba.h"

/// Failure messages show texts, not their bytes.
inline void PrintTo(const QString& texto, std::ostream* os) {
    *os << '"' << texto.toStdString() << '"';
}

namespace varnolo::prueba {

using Secciones = QList<std::pair<QString, QList<QStringList>>>;

class Exportador {
  public:
    /// Loads `documento` (the bytes of an exchange document) and installs the
    /// generated level table beside the program.
    explicit Exportador(const QByteArray& documento);
    explicit Exportador(const Secciones& secciones) : Exportador(documentoIntercambio(secciones)) {}

    /// Replaces the level table beside the program with one of these rows.
    void usarNiveles(const QList<FilaNivel>& filas);
    /// Loads another document into the same state (a second export run).
    void cargar(const QByteArray& documento);

    /// Runs the steps up to the assignments (1 to 6), in chain order.
    void exportarHastaAsignaciones();

    CadenaExportacion& cadena() { return cadena_; }
    ContextoExportacion& estado() { return estado_; }
    PreguntasPrueba& preguntas() { return preguntas_; }
    const Carpetas& carpetas() const { return carpetas_; }

    /// The rows of a work table in physical order, each the listed fields as read.
    QList<QStringList> filas(const QString& tabla, const QStringList& campos) const;
    /// One field of every row.
    QStringList columna(const QString& tabla, const QString& campo) const;

  private:
    Carpetas carpetas_;
    SeccionesDocumento documento_;
    OpcionesExportacion opciones_;
    PreguntasPrueba preguntas_;
    ContextoExportacion estado_;
    CadenaExportacion cadena_;
};

/// Runs `accion` and returns the text of the ErrorVarnolo it raises ("" if none).
QString errorDe(const std::function<void()>& accion);

}  // namespace varnolo::prueba
