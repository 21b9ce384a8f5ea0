#pragma once
// The state that the main window owns and the conversion steps share: the chosen
// document, the loaded document, the ten table components, the time-frame choice,
// the outcome flag and the program-wide values of the export.

#include <QString>
#include <memory>
#include <set>

#include "Catalogo.h"
#include "DocumentoXml.h"
#include "Entorno.h"

namespace varnolo {

/// The four sorted, case-sensitive subject lists of the first export step.
struct ListasMaterias {
    std::set<QString> listaCodigos;
    std::set<QString> listaCodLargos;
    std::set<QString> listaNombres;
    std::set<QString> listaCodNombres;
    void vaciar() {
        listaCodigos.clear();
        listaCodLargos.clear();
        listaNombres.clear();
        listaCodNombres.clear();
    }
};

struct EstadoPrograma {
    explicit EstadoPrograma(Entorno e) : entorno(std::move(e)), tablas(entorno) {}

    Entorno entorno;
    /// 2 when the program was started with exactly two arguments, otherwise 0.
    int modoLote = 0;
    /// Outcome flag: 0 at start, 1 after a completed conversion, -1 when the chosen
    /// file was missing in batch mode.
    int transformado = 0;
    /// Path of the chosen exchange document; kept when the file dialog is cancelled.
    QString filenameXML;
    /// The loaded document: a new one per run of the export or the import.
    std::unique_ptr<DocumentoXml> documento;

    /// Time-frame choice of the days-and-slots step.
    QString resultado;
    int nDiasPlanti = 0;
    /// The import's teacher data loop state.
    bool Result = false;
    /// 1 when an activity with the default activity code "513" exists.
    int actividadPorDefecto = 0;
    ListasMaterias listas;

    ComponentesTablas tablas;
};

}  // namespace varnolo
