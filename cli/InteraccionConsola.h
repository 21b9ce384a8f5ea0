#pragma once
// The conversions' front end on a console: the document comes from the command line,
// "Proceso finalizado" goes to standard output and every other message to standard
// error, the time frames are chosen by code, and nothing can be asked of the user.

#include <QStringList>
#include <QTextStream>

#include "data/Interaccion.h"

namespace varnolo::cli {

class InteraccionConsola : public Interaccion {
  public:
    InteraccionConsola(QString documento, QStringList marcos, QTextStream& salida,
                       QTextStream& errores);

    /// Always the document of the command line.
    std::optional<QString> elegirDocumento() override;
    void mostrarMensaje(const QString& texto) override;
    void cursorOcupado() override {}
    void cursorNormal() override {}
    void deshabilitarBotones() override {}
    void cerrarVentana() override {}
    /// The frames named with --marco; raises ErrorVarnolo when they do not make a
    /// valid choice.
    SeleccionMarcos elegirMarcos(const EstadoPrograma& estado) override;
    /// The frames named with --marco against the loaded document: raises ErrorVarnolo
    /// when a code names no frame of it, or when the choice would be refused.
    void comprobarMarcos(const EstadoPrograma& estado) override;
    /// Teacher data cannot be completed on a console: the import then ends with its
    /// message, followed here by the teachers that lack data and how to complete them.
    bool completarProfesores(const EstadoPrograma& estado) override;

  private:
    QString documento_;
    QStringList marcos_;
    QTextStream& salida_;
    QTextStream& errores_;
    QString profesoresPendientes_;  ///< said after the incomplete-teacher message
};

}  // namespace varnolo::cli
