#include "Importacion.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "DatosProfesores.h"
#include "Horarios.h"
#include "data/Conversion.h"
#include "data/Errores.h"
#include "data/ReservaCarpeta.h"

namespace varnolo {

namespace {

/// The nine table components of an import, in the order in which it opens them.
QList<Tabla*> componentesImportacion(ComponentesTablas& t) {
    return {&t.wwTableSoluc,    &t.wwTableGrupos, &t.wwTableCursos,
            &t.wwTableProfesor, &t.wwTableAulas,  &t.wwTableNomAsg,
            &t.wwTableNomAsg_2, &t.wwTableTramos, &t.wwTableAsig};
}

/// Closes the import's table components however the run ends, so that an import
/// that stops early does not keep Taviron out of the work tables.
class TablasAbiertas {
  public:
    /// Opens the nine tables in order; when one cannot be opened, those already open
    /// are closed again before the error goes on.
    explicit TablasAbiertas(ComponentesTablas& t) : tablas_(componentesImportacion(t)) {
        try {
            for (Tabla* tabla : tablas_) {
                tabla->close();
                tabla->open();
            }
        } catch (...) {
            cerrarCallando();
            throw;
        }
    }
    ~TablasAbiertas() { cerrarCallando(); }
    /// Closes at the end of a run that went well; errors of closing are raised.
    void cerrar() {
        for (Tabla* tabla : tablas_) tabla->close();
    }
    TablasAbiertas(const TablasAbiertas&) = delete;
    TablasAbiertas& operator=(const TablasAbiertas&) = delete;

  private:
    // Reached when an error already ends the run: that error is the one the user
    // must see, so a second one from closing is dropped.
    void cerrarCallando() noexcept {
        for (Tabla* tabla : tablas_) {
            try {
                tabla->close();
            } catch (...) {
            }
        }
    }

    QList<Tabla*> tablas_;
};

/// The year text of the loaded document: the first four characters of the text of
/// the first child of /SERVICIO/BLOQUE_DATOS.
QString anoDelDocumento(const DocumentoXml& doc, const QString& ruta) {
    comprobarSobre(doc, ruta);
    const QString nombre = QDir::toNativeSeparators(ruta);
    const NodoXml primera =
        doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).firstChild();
    if (primera.isNull()) {
        throw ErrorVarnolo(QStringLiteral("El archivo %1 no es un documento de intercambio: "
                                          "falta una primera sección dentro de BLOQUE_DATOS.")
                               .arg(nombre));
    }
    return primera.text().left(4);
}

FechasPeriodo leerPeriodo(const Tabla& periodos) {
    Tabla t(periodos.databaseName(), periodos.tableName());
    t.open();
    FechasPeriodo f;
    t.first();
    if (!t.eof()) {
        f.fecIni = t.asString(QStringLiteral("FECINI"));
        f.fecFin = t.asString(QStringLiteral("FECFIN"));
    }
    return f;
}

/// Replaces the loaded document's root by the result document's SERVICIO with its
/// header and the year section.
void construirCabecera(DocumentoXml& doc, const Entorno& entorno, const QString& anno) {
    NodoXml raiz = doc.documentElement();
    raiz.removeChild(doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")));
    doc.removeChild(raiz);

    const QDateTime ahora = entorno.ahora();
    const QLocale local = QLocale::system();
    NodoXml servicio = doc.createElement(QStringLiteral("SERVICIO"));
    servicio.setAttribute(QStringLiteral("modulo"), QStringLiteral("HORARIOS"));
    servicio.setAttribute(QStringLiteral("tipo"), QStringLiteral("I"));
    servicio.setAttribute(QStringLiteral("autor"), QStringLiteral("VELNA"));
    servicio.setAttribute(QStringLiteral("fecha"),
                          local.toString(ahora.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                              local.toString(ahora.time(), QLocale::LongFormat));
    doc.appendChild(servicio);
    servicio.appendChild(doc.createElement(QStringLiteral("BLOQUE_DATOS")));

    NodoXml seccion = doc.createElement(QStringLiteral("grupo_datos"));
    seccion.setAttribute(QStringLiteral("seq"), QStringLiteral("ANNO_ACADEMICO"));
    NodoXml dato = doc.createElement(QStringLiteral("dato"));
    dato.setAttribute(QStringLiteral("nombre_dato"), QStringLiteral("C_ANNO"));
    dato.setText(anno);
    seccion.appendChild(dato);
    doc.selectSingleNode(QStringLiteral("/SERVICIO/BLOQUE_DATOS")).appendChild(seccion);
}

/// The teacher data check: true when every teacher is complete, asking `preguntas`
/// for as long as it says the data was completed; false when the import must stop.
bool profesoresCompletos(const Entorno& entorno, Preguntas& preguntas) {
    bool completados = true;
    while (hayProfesorIncompleto(entorno)) {
        if (!completados) return false;
        completados = preguntas.completarProfesores(entorno);
    }
    return true;
}

}  // namespace

Desenlace importar(const Entorno& entorno, const QString& documento, Preguntas& preguntas) {
    return protegerConversion([&] {
        if (!existeDocumento(documento)) {
            return Desenlace::aviso(Desenlace::Motivo::DocumentoInexistente, kNoExisteArchivo);
        }
        const ReservaCarpeta reserva(entorno.carpetaTrabajo);
        ComponentesTablas tablas(entorno);
        TablasAbiertas abiertas(tablas);
        comprobarCamposHorarios(tablas);
        const std::unique_ptr<DocumentoXml> doc = cargarDocumento(documento);
        const QString anno = anoDelDocumento(*doc, documento);

        const Tabla periodos(entorno.carpetaTrabajo, QStringLiteral("PERIODOS.DBF"));
        if (!QFileInfo(periodos.rutaArchivo()).isFile()) {
            return Desenlace::aviso(Desenlace::Motivo::PeriodosInexistentes, kPeriodosNoEncontrado);
        }
        const FechasPeriodo fechas = leerPeriodo(periodos);

        construirCabecera(*doc, entorno, anno);
        if (!profesoresCompletos(entorno, preguntas)) {
            return Desenlace::aviso(Desenlace::Motivo::ProfesoresIncompletos,
                                    kProfesoresIncompletos);
        }

        construirHorarios(*doc, tablas, fechas);
        abiertas.cerrar();
        doc->save(rutaResultado(documento));
        return Desenlace::completa();
    });
}

QString rutaResultado(const QString& documentoElegido) {
    const QFileInfo fi(documentoElegido);
    return fi.dir().filePath(QStringLiteral("ResultadoZentor") + fi.fileName());
}

}  // namespace varnolo
