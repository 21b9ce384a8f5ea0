#pragma once
// The progress of a conversion on a terminal: one line on standard error, redrawn in
// place, erased before anything else is written there. Ctrl+C asks the conversion to
// stop; a second one ends the program at once.

#include <QElapsedTimer>
#include <QTextStream>
#include <chrono>

#include "conversion/Avance.h"

namespace varnolo::cli {

class BarraAvance : public Avance {
  public:
    /// Draws on `errores` when `activa` (standard error is a terminal), from the first
    /// report made `espera` after the first one. Ctrl+C stops the conversion while the
    /// bar lives.
    BarraAvance(QTextStream& errores, bool activa,
                std::chrono::milliseconds espera = std::chrono::milliseconds(500));
    ~BarraAvance() override;
    BarraAvance(const BarraAvance&) = delete;
    BarraAvance& operator=(const BarraAvance&) = delete;

    bool seguir(Fase fase, qint64 hecho, qint64 total) override;
    /// Erases the line drawn, if any.
    void borrar();

    /// The line for `hecho` of `total` in `fase`: a bar of 20 cells, the percentage,
    /// what is being done.
    static QString linea(Fase fase, qint64 hecho, qint64 total);

  private:
    QTextStream& errores_;
    bool activa_;
    std::chrono::milliseconds espera_;
    QElapsedTimer desdeElPrincipio_;
    QElapsedTimer desdeElDibujo_;
    int dibujada_ = 0;  ///< characters of the line on the terminal now
};

}  // namespace varnolo::cli
