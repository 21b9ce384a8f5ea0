#pragma once
// Enter on a focused button presses it, as Space does and as Windows users expect,
// in the main window and in the dialogs alike.

class QWidget;

namespace varnolo {

/// Makes Return and the keypad's Enter press whichever push or tool button of
/// `ventana` (existing now) has the keyboard focus. Keys with Ctrl, Alt or Shift,
/// and every other widget's Enter (the grid's Enter as Tab), are left alone.
void pulsarBotonesConEnter(QWidget* ventana);

}  // namespace varnolo
