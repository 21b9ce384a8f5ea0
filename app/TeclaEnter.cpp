#include "app/TeclaEnter.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace varnolo {

namespace {

class FiltroEnter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress) return false;
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter) return false;
        if ((tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        auto* boton = qobject_cast<QAbstractButton*>(objeto);
        if (boton == nullptr || !boton->hasFocus() || !boton->isEnabled()) return false;
        if (!tecla->isAutoRepeat()) boton->click();
        return true;
    }
};

}  // namespace

void pulsarBotonesConEnter(QWidget* ventana) {
    auto* filtro = new FiltroEnter(ventana);
    for (QAbstractButton* b : ventana->findChildren<QAbstractButton*>()) {
        b->installEventFilter(filtro);
    }
}

}  // namespace varnolo
