#pragma once
// The gradient-filled panel of our windows: a plain container whose background runs
// from top to bottom through three colours. Children are placed on it freely.

#include <QColor>
#include <QWidget>

namespace varnolo {

class PanelDegradado : public QWidget {
    Q_OBJECT
  public:
    /// Sky blue at the top, white in the middle, the inactive caption colour at the
    /// bottom.
    explicit PanelDegradado(QWidget* padre = nullptr);

    void setColores(const QColor& arriba, const QColor& medio, const QColor& abajo);

  protected:
    void paintEvent(QPaintEvent* evento) override;

  private:
    QColor arriba_, medio_, abajo_;
};

}  // namespace varnolo
