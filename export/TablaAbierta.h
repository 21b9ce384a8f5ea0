#pragma once
// Holds a table component open for the length of a step: opened on construction,
// closed on leaving the scope, also when an error ends the step, so that the next
// export finds the component closed and can configure it again.

#include "data/Tabla.h"

namespace varnolo {

class TablaAbierta {
  public:
    explicit TablaAbierta(Tabla& tabla) : tabla_(tabla) { tabla_.open(); }
    ~TablaAbierta() {
        // Reached with the table still open only when an error ends the step; that
        // error is the one the user must see, so a second one from closing is dropped.
        try {
            tabla_.close();
        } catch (...) {
        }
    }
    TablaAbierta(const TablaAbierta&) = delete;
    TablaAbierta& operator=(const TablaAbierta&) = delete;

    Tabla* operator->() const { return &tabla_; }
    /// Closes at the end of a step that went well; errors of closing are raised.
    void cerrar() { tabla_.close(); }

  private:
    Tabla& tabla_;
};

}  // namespace varnolo
