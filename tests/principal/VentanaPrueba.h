#pragma once
// A main window over temporary folders whose file dialog and message boxes answer
// from a script and record what they were asked.

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <memory>

#include "app/VentanaPrincipal.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {

/// The exchange document with one record in every section and a single time frame.
inline QString documentoCompleto() { return datoPrueba(QStringLiteral("principal/completo.xml")); }

class VentanaPrueba {
  public:
    /// Answers of the file dialog, in order; an empty optional (or an empty queue)
    /// cancels.
    QList<std::optional<QString>> documentos;
    int vecesArchivo = 0;
    int vecesProfesores = 0;
    /// Every message box shown, in order.
    QList<AvisoVentana> avisos;
    /// A message box was shown while the busy cursor was on.
    bool avisoConCursorOcupado = false;
    Carpetas carpetas;
    /// The progress dialog of each conversion; none by default.
    std::function<std::unique_ptr<DialogoAvance>(QWidget*)> avance;

    /// Creates the window with these arguments; `ajustar` may change its environment.
    VentanaPrincipal& crear(const QStringList& argumentos,
                            const std::function<void(Entorno&)>& ajustar = {}) {
        Entorno entorno = carpetas.entorno();
        if (ajustar) ajustar(entorno);
        DialogosVentana d;
        d.elegirArchivo = [this](QWidget*) -> std::optional<QString> {
            ++vecesArchivo;
            return documentos.isEmpty() ? std::nullopt : documentos.takeFirst();
        };
        d.avisar = [this](QWidget*, const AvisoVentana& aviso) {
            if (QApplication::overrideCursor()) avisoConCursorOcupado = true;
            avisos << aviso;
        };
        d.marcos = [](QWidget*, const Entorno&, const MarcosHorarios&) {
            ADD_FAILURE() << "Se mostró el diálogo de marcos";
            return QList<int>{0};
        };
        d.profesores = [this](QWidget*, const Entorno&) {
            ++vecesProfesores;
            if (QApplication::overrideCursor()) avisoConCursorOcupado = true;
            return false;
        };
        d.avance = avance;
        ventana = std::make_unique<VentanaPrincipal>(std::move(entorno), argumentos, std::move(d));
        return *ventana;
    }

    /// Shows the window and lets the batch dispatch run.
    void mostrar() {
        ventana->show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QPushButton* boton(const char* nombre) const {
        return ventana->findChild<QPushButton*>(QString::fromLatin1(nombre));
    }

    QStringList textos() const {
        QStringList t;
        for (const AvisoVentana& a : avisos) t << a.texto;
        return t;
    }

    /// Taviron.ini as bytes, or nothing when it does not exist.
    std::optional<QByteArray> ini() const {
        QFile f(ventana->rutaIni());
        if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
        return f.readAll();
    }

    std::unique_ptr<VentanaPrincipal> ventana;
};

}  // namespace varnolo::prueba
