#pragma once
// The gradient-filled panel under the controls of the time-frame dialog: sky blue
// at the top, through white, to the colour of an inactive title bar at the bottom.

#include <QWidget>

namespace varnolo {

class PanelPlantillas : public QWidget {
    Q_OBJECT
  public:
    explicit PanelPlantillas(QWidget* padre = nullptr);

  protected:
    void paintEvent(QPaintEvent* evento) override;
};

}  // namespace varnolo
