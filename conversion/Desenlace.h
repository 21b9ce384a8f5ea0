#pragma once
// How a conversion ended, for whoever started it: completed, stopped with one of the
// program's messages, or failed with an error's text. The window turns it into its
// message box, buttons and closing; varnolo-cli into its streams and exit status.

#include <QString>

namespace varnolo {

inline const QString kNoExisteArchivo = QStringLiteral("No existe archivo");
inline const QString kProcesoFinalizado = QStringLiteral("Proceso finalizado");
/// The text of a cancelled conversion's outcome.
inline const QString kConversionCancelada =
    QStringLiteral("Proceso cancelado: no se ha cambiado nada.");

struct Desenlace {
    enum class Tipo {
        Completada,  ///< the tables or the result document are written
        Aviso,       ///< stopped before changing anything, with a program message
        Fallo,       ///< an error ended it (what was done before the error stays done)
        Cancelada,   ///< the person stopped it; nothing is changed
    };
    /// Which program message stopped it (Tipo::Aviso only).
    enum class Motivo {
        Ninguno,
        DocumentoInexistente,   ///< the chosen exchange document does not exist
        NivelesInexistentes,    ///< the level table NIVELCAN.DBF is missing
        PeriodosInexistentes,   ///< PERIODOS.DBF is missing from the work folder
        ProfesoresIncompletos,  ///< a teacher still lacks X_EMPLEADO or F_TOMAPOS
    };

    Tipo tipo = Tipo::Completada;
    Motivo motivo = Motivo::Ninguno;
    /// The text to show: "Proceso finalizado", the program message or the error.
    QString texto;
    /// Lines for a console after the text (the incomplete teachers, the lessons
    /// written without a slot); empty otherwise.
    QString detalle;
    /// What a completed conversion wrote (Informe's text: rows per table or lessons per
    /// teacher, then what was cut, made unique or skipped), which varnolo-cli prints
    /// with --detalles and comprobar prints always.
    QString informe;

    bool completada() const { return tipo == Tipo::Completada; }

    static Desenlace completa(const QString& detalle = {});
    static Desenlace aviso(Motivo motivo, const QString& texto, const QString& detalle = {});
    static Desenlace fallo(const QString& texto);
    static Desenlace cancelada();
};

}  // namespace varnolo
