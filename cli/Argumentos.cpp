#include "cli/Argumentos.h"

#include <QCommandLineParser>
#include <vector>

namespace varnolo::cli {

namespace {

/// One option of an action: its name, the name of its value, what it does, and
/// whether it may be repeated.
struct Opcion {
    const char* nombre;
    const char* valor;  ///< null for an option without a value
    const char* descripcion;
    bool repetible = false;
};

const Opcion kDetalles = {"detalles", nullptr,
                          "tras «Proceso finalizado», muestra qué escribió: las filas de cada "
                          "tabla y cada valor cortado, código hecho único o registro saltado "
                          "(al importar, las lecciones de cada profesor y las saltadas)."};

struct DefinicionAccion {
    const char* nombre;
    Orden::Accion accion;
    const char* descripcion;
    std::vector<Opcion> opciones;
    /// The one argument the action takes ("DOCUMENTO", "COPIA"); null for none.
    const char* argumento = "DOCUMENTO";
};

const std::vector<DefinicionAccion>& acciones() {
    static const std::vector<DefinicionAccion> definiciones = {
        {"exportar",
         Orden::Accion::Exportar,
         "convierte el documento XML de Velna en las tablas de Taviron.",
         {{"marco", "CODIGO",
           "elige un marco horario cuando el documento tiene varios (de uno a cinco, "
           "repitiendo la opción).",
           true},
          {"qwork", "CARPETA", "carpeta de trabajo de Taviron en lugar de la del sistema."},
          {"niveles", "RUTA_NIVELCAN.DBF",
           "tabla de niveles en lugar de NIVELCAN.DBF junto al programa."},
          kDetalles}},
        {"importar",
         Orden::Accion::Importar,
         "escribe, junto al DOCUMENTO, el documento de resultados para Velna con los "
         "horarios que Taviron dejó en SOLUC.",
         {{"qwork", "CARPETA", "carpeta de trabajo de Taviron en lugar de la del sistema."},
          kDetalles}},
        {"comprobar",
         Orden::Accion::Comprobar,
         "hace toda la exportación del DOCUMENTO en una carpeta aparte y dice qué escribiría "
         "o qué error daría, sin cambiar nada.",
         {{"marco", "CODIGO",
           "elige un marco horario cuando el documento tiene varios (de uno a cinco, "
           "repitiendo la opción).",
           true},
          {"niveles", "RUTA_NIVELCAN.DBF",
           "tabla de niveles en lugar de NIVELCAN.DBF junto al programa."}}},
        {"copias",
         Orden::Accion::Copias,
         "muestra las copias de las tablas que guardaron las últimas exportaciones y "
         "restauraciones: fecha, documento y tablas.",
         {{"qwork", "CARPETA", "carpeta de trabajo de Taviron en lugar de la del sistema."}},
         nullptr},
        {"restaurar",
         Orden::Accion::Restaurar,
         "vuelve a poner las tablas de la COPIA (su nombre, como lo muestra copias) en la "
         "carpeta de trabajo, todas a la vez, y guarda antes una copia de las que sustituye.",
         {{"qwork", "CARPETA", "carpeta de trabajo de Taviron en lugar de la del sistema."}},
         "COPIA"},
    };
    return definiciones;
}

QString minusculasAscii(QString texto) {
    for (QChar& c : texto) {
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return texto;
}

/// `texto` in lines of at most 79 characters, each after `sangria` blanks but the
/// first, which follows what the caller wrote.
QString envolver(const QString& texto, int sangria) {
    constexpr int kAncho = 79;
    QString resultado;
    int columna = sangria;
    for (const QString& palabra : texto.split(u' ', Qt::SkipEmptyParts)) {
        if (columna > sangria && columna + 1 + palabra.size() > kAncho) {
            resultado += u'\n' + QString(sangria, u' ');
            columna = sangria;
        } else if (columna > sangria) {
            resultado += u' ';
            ++columna;
        }
        resultado += palabra;
        columna += int(palabra.size());
    }
    return resultado;
}

bool esAyuda(const QString& a) { return a == QLatin1String("--help") || a == QLatin1String("-h"); }

QString lineaDeUso(const DefinicionAccion& d) {
    QString linea = QStringLiteral("varnolo-cli %1").arg(QLatin1String(d.nombre));
    if (d.argumento != nullptr) linea += u' ' + QLatin1String(d.argumento);
    for (const Opcion& o : d.opciones) {
        linea += o.valor == nullptr ? QStringLiteral(" [--%1]").arg(QLatin1String(o.nombre))
                                    : QStringLiteral(" [--%1 %2]%3")
                                          .arg(QLatin1String(o.nombre), QLatin1String(o.valor),
                                               o.repetible ? QStringLiteral("...") : QString());
    }
    return linea;
}

/// One action's own help: its usage line, what it does and its options.
QString ayudaDe(const DefinicionAccion& d) {
    QString texto =
        QStringLiteral("Uso: %1\n\n%2\n\nOpciones:\n")
            .arg(lineaDeUso(d),
                 envolver(QLatin1String(d.nombre) + u' ' + QString::fromUtf8(d.descripcion), 0));
    for (const Opcion& o : d.opciones) {
        const QString cabeza =
            o.valor == nullptr
                ? QStringLiteral("  --%1").arg(QLatin1String(o.nombre))
                : QStringLiteral("  --%1 %2").arg(QLatin1String(o.nombre), QLatin1String(o.valor));
        texto += cabeza +
                 QStringLiteral("\n      %1\n").arg(envolver(QString::fromUtf8(o.descripcion), 6));
    }
    texto += QStringLiteral("  -h, --help\n      muestra esta ayuda.\n");
    return texto;
}

/// Raises the usage error for a command line that QCommandLineParser refused, with
/// the Spanish text of the case.
[[noreturn]] void rechazar(const QCommandLineParser& p, const QStringList& resto,
                           const DefinicionAccion& d) {
    if (!p.unknownOptionNames().isEmpty()) {
        const QString nombre = p.unknownOptionNames().first();
        throw ErrorUso(QStringLiteral("Opción no válida para %1: %2%3.")
                           .arg(QLatin1String(d.nombre),
                                nombre.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                                nombre));
    }
    // A value given to an option that takes none ("--detalles=si").
    if (p.errorText().contains(QLatin1String("Unexpected value"))) {
        for (const QString& a : resto) {
            if (a.startsWith(QLatin1String("--")) && a.contains(u'=')) {
                throw ErrorUso(
                    QStringLiteral("La opción %1 no lleva valor.").arg(a.section(u'=', 0, 0)));
            }
        }
    }
    // The other refusal is an option without its value: the last one given.
    for (qsizetype i = resto.size() - 1; i >= 0; --i) {
        if (resto[i].startsWith(QLatin1String("--"))) {
            throw ErrorUso(QStringLiteral("Falta el valor de la opción %1.")
                               .arg(resto[i].section(u'=', 0, 0)));
        }
    }
    throw ErrorUso(p.errorText());
}

}  // namespace

Orden analizarArgumentos(const QStringList& argumentos) {
    if (argumentos.isEmpty()) throw ErrorUso(QStringLiteral("Falta la acción."));
    Orden orden;
    const QString primero = argumentos.first();
    if (esAyuda(primero)) {
        orden.accion = Orden::Accion::Ayuda;
        orden.ayuda = textoUso();
        return orden;
    }
    if (primero == QLatin1String("--version")) {
        orden.accion = Orden::Accion::Version;
        return orden;
    }
    const QString nombreAccion = minusculasAscii(primero);
    const DefinicionAccion* definicion = nullptr;
    for (const DefinicionAccion& d : acciones()) {
        if (nombreAccion == QLatin1String(d.nombre)) definicion = &d;
    }
    if (definicion == nullptr) {
        throw ErrorUso(QStringLiteral("Acción desconocida: %1.").arg(primero));
    }
    orden.accion = definicion->accion;

    QCommandLineParser p;
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const Opcion& o : definicion->opciones) {
        p.addOption(o.valor == nullptr ? QCommandLineOption(QString::fromLatin1(o.nombre),
                                                            QString::fromUtf8(o.descripcion))
                                       : QCommandLineOption(QString::fromLatin1(o.nombre),
                                                            QString::fromUtf8(o.descripcion),
                                                            QString::fromLatin1(o.valor)));
    }
    const QStringList resto = argumentos.mid(1);
    if (!p.parse(QStringList{QStringLiteral("varnolo-cli")} + resto)) {
        rechazar(p, resto, *definicion);
    }
    if (p.isSet(QStringLiteral("help"))) {
        orden.accion = Orden::Accion::Ayuda;
        orden.ayuda = ayudaDe(*definicion);
        return orden;
    }
    for (const Opcion& o : definicion->opciones) {
        const QString nombre = QString::fromLatin1(o.nombre);
        if (o.valor == nullptr) {
            if (p.optionNames().count(nombre) > 1) {
                throw ErrorUso(
                    QStringLiteral("La opción --%1 solo puede darse una vez.").arg(nombre));
            }
            continue;
        }
        const QStringList valores = p.values(nombre);
        const QString opcion = QStringLiteral("--") + nombre;
        for (const QString& v : valores) {
            if (v.isEmpty())
                throw ErrorUso(QStringLiteral("Falta el valor de la opción %1.").arg(opcion));
        }
        if (!o.repetible && valores.size() > 1) {
            throw ErrorUso(QStringLiteral("La opción %1 solo puede darse una vez.").arg(opcion));
        }
    }
    const QStringList posicionales = p.positionalArguments();
    if (definicion->argumento == nullptr) {
        if (!posicionales.isEmpty()) {
            throw ErrorUso(QStringLiteral("Sobra el argumento %1: %2 no lleva ninguno.")
                               .arg(posicionales.first(), QLatin1String(definicion->nombre)));
        }
    } else {
        const QString argumento = QLatin1String(definicion->argumento);
        const QString articulo =
            argumento == u"COPIA" ? QStringLiteral("la") : QStringLiteral("el");
        if (posicionales.isEmpty()) {
            throw ErrorUso(QStringLiteral("Falta %1 %2.").arg(articulo, argumento));
        }
        if (posicionales.size() > 1) {
            throw ErrorUso(QStringLiteral("Sobra el argumento %1: solo se admite %2 %3.")
                               .arg(posicionales[1],
                                    QStringLiteral("un") +
                                        (articulo == u"la" ? QStringLiteral("a") : QString()),
                                    argumento));
        }
        if (posicionales.first().isEmpty()) {
            throw ErrorUso(QStringLiteral("%1 %2 no puede ser un texto vacío.")
                               .arg(articulo == u"la" ? QStringLiteral("La") : QStringLiteral("El"),
                                    argumento));
        }
        orden.documento = posicionales.first();
    }
    // Only the action's own options are asked for.
    const auto valores = [&](const char* nombre) {
        for (const Opcion& o : definicion->opciones) {
            if (qstrcmp(o.nombre, nombre) == 0) return p.values(QString::fromLatin1(nombre));
        }
        return QStringList();
    };
    orden.marcos = valores("marco");
    orden.qwork = valores("qwork").value(0);
    orden.niveles = valores("niveles").value(0);
    for (const Opcion& o : definicion->opciones) {
        if (o.valor == nullptr && qstrcmp(o.nombre, "detalles") == 0) {
            orden.detalles = p.isSet(QStringLiteral("detalles"));
        }
    }
    return orden;
}

QString textoUso() {
    QString texto = QStringLiteral("Uso:\n");
    for (const DefinicionAccion& d : acciones())
        texto += QStringLiteral("  ") + lineaDeUso(d) + u'\n';
    texto += QStringLiteral("  varnolo-cli ACCION --help\n  varnolo-cli --help | --version\n\n");
    for (const DefinicionAccion& d : acciones()) {
        texto += QStringLiteral("%1%2\n").arg(QString::fromLatin1(d.nombre).leftJustified(10),
                                              envolver(QString::fromUtf8(d.descripcion), 10));
    }
    texto += QStringLiteral(
        "\n"
        "--marco CODIGO           elige un marco horario cuando el documento tiene varios\n"
        "                         (de uno a cinco, repitiendo la opción; exportar y\n"
        "                         comprobar).\n"
        "--qwork CARPETA          carpeta de trabajo de Taviron en lugar de la del sistema.\n"
        "--niveles RUTA           tabla de niveles en lugar de NIVELCAN.DBF junto al programa\n"
        "                         (exportar y comprobar).\n"
        "--detalles               tras «Proceso finalizado», muestra qué escribió: las filas\n"
        "                         de cada tabla y cada valor cortado, código hecho único o\n"
        "                         registro saltado; al importar, las lecciones de cada\n"
        "                         profesor y las saltadas (exportar e importar).\n"
        "-h, --help               muestra esta ayuda; tras una acción, la de esa acción.\n"
        "--version                muestra la versión del programa.\n"
        "\n"
        "Termina con 0 cuando la conversión se completó, 1 cuando terminó con un aviso\n"
        "o un error, y 2 cuando la orden no es válida.\n");
    return texto;
}

QString textoVersion() {
    return QStringLiteral("varnolo-cli %1").arg(QStringLiteral(VARNOLO_VERSION));
}

}  // namespace varnolo::cli
