#include "cli/BarraAvance.h"

#include <algorithm>
#include <csignal>

namespace varnolo::cli {

namespace {

volatile std::sig_atomic_t interrumpida = 0;

extern "C" void alInterrumpir(int) {
    interrumpida = 1;
    // The next Ctrl+C is the system's: it ends the program even while a question
    // waits for an answer. A cut table replacement is finished at the next start.
    std::signal(SIGINT, SIG_DFL);
}

constexpr qint64 kRedibujoMs = 100;
constexpr int kCeldas = 20;

}  // namespace

BarraAvance::BarraAvance(QTextStream& errores, bool activa, std::chrono::milliseconds espera)
    : errores_(errores), activa_(activa), espera_(espera) {
    interrumpida = 0;
    std::signal(SIGINT, alInterrumpir);
}

BarraAvance::~BarraAvance() {
    std::signal(SIGINT, SIG_DFL);
    borrar();
}

QString BarraAvance::linea(Fase fase, qint64 hecho, qint64 total) {
    const qint64 acotado = std::clamp<qint64>(hecho, 0, std::max<qint64>(total, 0));
    const int por100 = total > 0 ? static_cast<int>(acotado * 100 / total) : 0;
    const int llenas = total > 0 ? static_cast<int>(acotado * kCeldas / total) : 0;
    return QStringLiteral("[%1%2] %3 % %4")
        .arg(QString(llenas, u'#'), QString(kCeldas - llenas, u'-'))
        .arg(por100, 3)
        .arg(textoDeFase(fase));
}

bool BarraAvance::seguir(Fase fase, qint64 hecho, qint64 total) {
    if (interrumpida) return false;
    if (!activa_) return true;
    if (!desdeElPrincipio_.isValid()) desdeElPrincipio_.start();
    if (desdeElPrincipio_.elapsed() < espera_.count()) return true;
    if (desdeElDibujo_.isValid() && desdeElDibujo_.elapsed() < kRedibujoMs) return true;
    desdeElDibujo_.start();
    const QString texto = linea(fase, hecho, total);
    errores_ << '\r' << texto;
    if (texto.size() < dibujada_) errores_ << QString(dibujada_ - texto.size(), u' ');
    errores_ << Qt::flush;
    dibujada_ = static_cast<int>(std::max<qsizetype>(texto.size(), dibujada_));
    return true;
}

void BarraAvance::borrar() {
    if (dibujada_ == 0) return;
    errores_ << '\r' << QString(dibujada_, u' ') << '\r' << Qt::flush;
    dibujada_ = 0;
}

}  // namespace varnolo::cli
