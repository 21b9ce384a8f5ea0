#pragma once
// The clock behind table header dates and the result document's fecha. Tests and
// reproducible files use a fixed one; the program uses the system's.

#include <QDateTime>

namespace varnolo {

class Reloj {
  public:
    virtual ~Reloj() = default;
    virtual QDateTime ahora() const { return QDateTime::currentDateTime(); }
};

/// A clock that always tells the same moment (tests, reproducible files).
class RelojFijo : public Reloj {
  public:
    explicit RelojFijo(QDateTime momento) : momento_(std::move(momento)) {}
    QDateTime ahora() const override { return momento_; }

  private:
    QDateTime momento_;
};

}  // namespace varnolo
