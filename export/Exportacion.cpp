#include "export/Exportacion.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "base/Errores.h"
#include "conversion/Proteccion.h"
#include "export/CadenaExportacion.h"
#include "export/SeleccionMarcos.h"
#include "taviron/ReservaCarpeta.h"
#include "taviron/Transaccion.h"
#include "velna/DocumentoIntercambio.h"

namespace varnolo {

namespace {

/// Where an export writes its tables and how its messages name them.
struct Destino {
    QString carpeta;
    /// A message naming a file of `carpeta`, naming the work folder's instead.
    std::function<QString(const QString&)> comoEnTrabajo;
};

/// One line per table, its name and rows, ahead of what the steps noted.
QString informeDe(const CarpetaTrabajo& carpeta, const QList<const DefTabla*>& tablas,
                  Informe informe) {
    for (const DefTabla* def : tablas) {
        // The export deletes no row: the header's count is the table's, and reading it
        // spares reading every table back. A table this process still holds from its
        // creation (Windows lets no other handle read it) is counted through the engine.
        qint64 filas = filasSegunCabecera(carpeta.ruta(*def));
        if (filas < 0) filas = carpeta.abrir(*def, Acceso::Compartida).recordCount();
        informe.agregarLinea(
            QStringLiteral("%1 %2 %3")
                .arg(def->nombre, -12)
                .arg(filas, 7)
                .arg(filas == 1 ? QStringLiteral("fila") : QStringLiteral("filas")));
    }
    return informe.texto();
}

/// The document is checked, and the steps run into `destino`; `confirmar` puts the
/// tables in place. Everything that can be checked is checked before the first table
/// is written.
Desenlace ejecutarExportacion(const Entorno& entorno, const QString& documento,
                              const OpcionesExportacion& opciones, Preguntas& preguntas,
                              const std::function<void()>& reservar,
                              const std::function<Destino()>& preparar,
                              const std::function<void()>& confirmar) {
    if (!existeDocumento(documento)) {
        return Desenlace::aviso(Desenlace::Motivo::DocumentoInexistente, kNoExisteArchivo);
    }
    if (!QFileInfo(entorno.rutaNivelcan()).isFile()) {
        return Desenlace::aviso(Desenlace::Motivo::NivelesInexistentes, kNivelcanNoEncontrado);
    }
    reservar();
    // Only the sections' records are read; the tree of a large document is never built.
    const std::unique_ptr<SeccionesDocumento> doc =
        leerSecciones(documento, avanceDeLectura(opciones.avance));
    comprobarSobre(*doc, documento);
    const QStringList marcos = listaDeMarcos(*doc);
    if (marcos.isEmpty()) throw ErrorVarnolo(kSinMarcosHorarios);
    // A document with one frame needs no choice; a code given all the same must name it.
    if (opciones.marcos && (marcos.size() >= 2 || !opciones.marcos->isEmpty())) {
        seleccionarMarcosDe(*doc, *opciones.marcos);
    }

    const Destino destino = preparar();
    Entorno enDestino = entorno;
    enDestino.carpetaTrabajo = destino.carpeta;
    ContextoExportacion contexto(enDestino, *doc, opciones, preguntas);
    QString informe;
    try {
        CadenaExportacion(contexto).ejecutar();
        informe = informeDe(contexto.carpeta, catalogo::tablasDeExportacion(),
                            std::move(contexto.informe));
    } catch (const ErrorConversion&) {
        throw;
    } catch (const ErrorTabla& e) {
        throw ErrorTabla(destino.comoEnTrabajo(e.texto()));
    } catch (const ErrorVarnolo& e) {
        throw ErrorVarnolo(destino.comoEnTrabajo(e.texto()));
    }
    confirmar();
    Desenlace d = Desenlace::completa();
    d.informe = informe;
    return d;
}

}  // namespace

Desenlace exportar(const Entorno& entorno, const QString& documento,
                   const OpcionesExportacion& opciones, Preguntas& preguntas) {
    return protegerConversion([&] {
        // Destroyed in reverse order: the staging folder goes last, once the folder
        // lock has let go of the tables created in it (Windows removes no open file).
        std::unique_ptr<Preparacion> preparacion;
        std::unique_ptr<ReservaCarpeta> reserva;
        std::unique_ptr<RetencionTablas> retenidas;
        const QList<const DefTabla*> tablas = catalogo::tablasDeExportacion();
        const auto reservar = [&] {
            reserva = std::make_unique<ReservaCarpeta>(entorno.carpetaTrabajo);
            // A replacement that a cut left half done is finished before anything else.
            recuperarCarpeta(entorno.carpetaTrabajo);
        };
        const auto preparar = [&] {
            // The new tables are written beside the old ones, which no other program may
            // open meanwhile, and take their place all at once when every step is done.
            retenidas = std::make_unique<RetencionTablas>(entorno.carpetaTrabajo, tablas);
            preparacion =
                std::make_unique<Preparacion>(entorno.carpetaTrabajo, tablas.first()->nombre);
            const Preparacion* p = preparacion.get();
            return Destino{p->carpeta(), [p](const QString& t) { return p->comoEnTrabajo(t); }};
        };
        const auto confirmar = [&] {
            retenidas->soltar();
            preparacion->confirmar(tablas, entorno.ahora(), QFileInfo(documento).fileName());
        };
        return ejecutarExportacion(entorno, documento, opciones, preguntas, reservar, preparar,
                                   confirmar);
    });
}

Desenlace comprobarExportacion(const Entorno& entorno, const QString& documento,
                               const OpcionesExportacion& opciones, Preguntas& preguntas) {
    return protegerConversion([&] {
        QTemporaryDir aparte;
        // Destroyed first: the scratch folder goes once its tables are let go.
        std::unique_ptr<ReservaCarpeta> reserva;
        const auto preparar = [&] {
            if (!aparte.isValid()) {
                throw ErrorVarnolo(QStringLiteral("No se puede crear una carpeta temporal: %1")
                                       .arg(aparte.errorString()));
            }
            // Held as a work folder is, so its tables are written as an export writes
            // them (each held from its creation, its rows written in blocks).
            reserva = std::make_unique<ReservaCarpeta>(aparte.path());
            const QString desde = QDir::toNativeSeparators(aparte.path()) + QDir::separator();
            const QString hacia =
                QDir::toNativeSeparators(entorno.carpetaTrabajo) + QDir::separator();
            return Destino{aparte.path(),
                           [desde, hacia](QString t) { return t.replace(desde, hacia); }};
        };
        return ejecutarExportacion(
            entorno, documento, opciones, preguntas, [] {}, preparar, [] {});
    });
}

}  // namespace varnolo
