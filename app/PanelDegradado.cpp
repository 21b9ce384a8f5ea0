#include "app/PanelDegradado.h"

#include <QLinearGradient>
#include <QPainter>

namespace varnolo {

PanelDegradado::PanelDegradado(QWidget* padre)
    : QWidget(padre),
      arriba_(166, 202, 240),  // sky blue
      medio_(Qt::white),
      abajo_(191, 205, 219) {  // inactive caption
}

void PanelDegradado::setColores(const QColor& arriba, const QColor& medio, const QColor& abajo) {
    arriba_ = arriba;
    medio_ = medio;
    abajo_ = abajo;
    update();
}

void PanelDegradado::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient degradado(0, 0, 0, height());
    degradado.setColorAt(0.0, arriba_);
    degradado.setColorAt(0.5, medio_);
    degradado.setColorAt(1.0, abajo_);
    p.fillRect(rect(), degradado);
    // A sunken frame, as the panels of the form widget set have.
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
}

}  // namespace varnolo
