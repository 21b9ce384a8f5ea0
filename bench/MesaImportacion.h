// The work folder and chosen document that the import benchmarks run on: the lookup
// tables of a large school, a SOLUC of many lessons, and an interaction that answers
// like a user who chose the document and confirms every message.
#pragma once

#include <QString>
#include <QStringList>

#include "data/Entorno.h"
#include "data/Interaccion.h"

namespace varnolo::banco {

/// Answers like a user who chose the document and confirms every message.
class Desatendida : public Interaccion {
  public:
    QString documento;
    QStringList mensajes;
    std::optional<QString> elegirDocumento() override { return documento; }
    void mostrarMensaje(const QString& t) override { mensajes << t; }
    void cursorOcupado() override {}
    void cursorNormal() override {}
    void deshabilitarBotones() override {}
    void cerrarVentana() override {}
    SeleccionMarcos elegirMarcos(const EstadoPrograma&) override { return {}; }
    bool completarProfesores(const EstadoPrograma&) override { return false; }
};

/// Creates the export's work tables and SOLUC in e.carpetaTrabajo, fills them for
/// `profesores` teachers and `lecciones` lessons, writes the chosen document in
/// `carpeta` and returns its path.
QString prepararMesaImportacion(const Entorno& e, const QString& carpeta, int profesores,
                                int lecciones);

}  // namespace varnolo::banco
