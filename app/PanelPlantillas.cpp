#include "app/PanelPlantillas.h"

#include <QLinearGradient>
#include <QPainter>

namespace varnolo {

PanelPlantillas::PanelPlantillas(QWidget* padre) : QWidget(padre) {}

void PanelPlantillas::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    QLinearGradient degradado(0, 0, 0, height());
    degradado.setColorAt(0.0, QColor(0x87, 0xCE, 0xEB));  // sky blue
    degradado.setColorAt(0.5, Qt::white);
    // The inactive title bar colour of the classic Windows scheme; the toolkit
    // offers no such system colour.
    degradado.setColorAt(1.0, QColor(0xBF, 0xCD, 0xDB));
    pintor.fillRect(rect(), degradado);
}

}  // namespace varnolo
