#include "import/Importacion.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "base/Errores.h"
#include "conversion/Proteccion.h"
#include "import/DatosProfesores.h"
#include "import/Horarios.h"
#include "import/TablasImportacion.h"
#include "taviron/CarpetaTrabajo.h"
#include "taviron/ReservaCarpeta.h"
#include "velna/DocumentoIntercambio.h"
#include "xml/EscritorXml.h"

namespace varnolo {

namespace {

/// The year text of the loaded document: the first four characters of the text of
/// the first child of /SERVICIO/BLOQUE_DATOS.
QString anoDelDocumento(const DocumentoXml& doc, const QString& ruta) {
    comprobarSobre(doc, ruta);
    const QString nombre = QDir::toNativeSeparators(ruta);
    const NodoXml primera = primeraSeccion(doc);
    if (primera.isNull()) {
        throw ErrorVarnolo(QStringLiteral("El archivo %1 no es un documento de intercambio: "
                                          "falta una primera sección dentro de %2.")
                               .arg(nombre, QString::fromLatin1(sobre::kBloque)));
    }
    return primera.text().left(4);
}

FechasPeriodo leerPeriodo(const CarpetaTrabajo& carpeta) {
    Tabla t = carpeta.abrir(catalogo::PERIODOS(), Acceso::Compartida);
    FechasPeriodo f;
    t.first();
    if (!t.eof()) {
        f.fecIni = t.asString(campo::FECINI);
        f.fecFin = t.asString(campo::FECFIN);
    }
    return f;
}

/// The result's fecha: the moment in the system's short date and long time format.
QString textoFecha(const QDateTime& ahora) {
    const QLocale local = QLocale::system();
    return local.toString(ahora.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           local.toString(ahora.time(), QLocale::LongFormat);
}

/// Opens the result's SERVICIO with its header and BLOQUE_DATOS, and writes the year
/// section into it; BLOQUE_DATOS stays open for the timetable section.
void construirCabecera(EscritorXml& resultado, const QString& fecha, const QString& anno) {
    abrirServicio(resultado);
    resultado.atributo(QStringLiteral("modulo"), QStringLiteral("HORARIOS"));
    resultado.atributo(QStringLiteral("tipo"), QStringLiteral("I"));
    resultado.atributo(QStringLiteral("autor"), QStringLiteral("VELNA"));
    resultado.atributo(QStringLiteral("fecha"), fecha);
    abrirBloque(resultado);

    abrirGrupo(resultado, QStringLiteral("ANNO_ACADEMICO"));
    escribirDato(resultado, QStringLiteral("C_ANNO"), anno);
    resultado.cerrar();
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

Desenlace importar(const Entorno& entorno, const QString& documento, Preguntas& preguntas,
                   Avance* avance) {
    return protegerConversion([&] {
        if (!existeDocumento(documento)) {
            return Desenlace::aviso(Desenlace::Motivo::DocumentoInexistente, kNoExisteArchivo);
        }
        const ReservaCarpeta reserva(entorno.carpetaTrabajo);
        const CarpetaTrabajo carpeta(entorno);
        TablasImportacion tablas(carpeta);
        comprobarCamposHorarios(tablas);
        const std::unique_ptr<DocumentoXml> doc =
            cargarDocumento(documento, avanceDeLectura(avance));
        const QString anno = anoDelDocumento(*doc, documento);

        if (!carpeta.existe(catalogo::PERIODOS())) {
            return Desenlace::aviso(Desenlace::Motivo::PeriodosInexistentes, kPeriodosNoEncontrado);
        }
        const FechasPeriodo fechas = leerPeriodo(carpeta);

        // The result is dated when the work tables have been checked, before the
        // teacher data question.
        const QString fecha = textoFecha(entorno.ahora());
        if (!profesoresCompletos(entorno, preguntas)) {
            return Desenlace::aviso(Desenlace::Motivo::ProfesoresIncompletos,
                                    kProfesoresIncompletos);
        }

        // Written as it is built, in the place of the chosen document; the file
        // appears only when the whole result has been written and the tables are closed.
        EscritorXml resultado(doc->contorno(), rutaResultado(documento));
        construirCabecera(resultado, fecha, anno);
        Informe informe;
        const LeccionesSinTramo sinTramo =
            construirHorarios(resultado, tablas, fechas, informe, avance);
        tablas.cerrar();
        resultado.terminar();
        Desenlace d = Desenlace::completa(sinTramo.lineas());
        d.informe = informe.texto();
        return d;
    });
}

QString rutaResultado(const QString& documentoElegido) {
    const QFileInfo fi(documentoElegido);
    return fi.dir().filePath(QStringLiteral("ResultadoZentor") + fi.fileName());
}

}  // namespace varnolo
