#include "Argumentos.h"

namespace varnolo::cli {

namespace {

QString minusculasAscii(QString texto) {
    for (QChar& c : texto) {
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return texto;
}

/// The value that follows option `i`; raises ErrorUso when there is none.
QString valorDe(const QStringList& argumentos, qsizetype& i) {
    const QString& opcion = argumentos[i];
    if (i + 1 >= argumentos.size() || argumentos[i + 1].isEmpty()) {
        throw ErrorUso(QStringLiteral("Falta el valor de la opción %1.").arg(opcion));
    }
    return argumentos[++i];
}

void unaVez(QString& destino, const QString& valor, const QString& opcion) {
    if (!destino.isEmpty()) {
        throw ErrorUso(QStringLiteral("La opción %1 solo puede darse una vez.").arg(opcion));
    }
    destino = valor;
}

}  // namespace

Orden analizarArgumentos(const QStringList& argumentos) {
    if (argumentos.isEmpty()) throw ErrorUso(QStringLiteral("Falta la acción."));

    Orden orden;
    const QString accion = minusculasAscii(argumentos.first());
    if (accion == QLatin1String("exportar")) {
        orden.accion = Orden::Accion::Exportar;
    } else if (accion == QLatin1String("importar")) {
        orden.accion = Orden::Accion::Importar;
    } else {
        throw ErrorUso(QStringLiteral("Acción desconocida: %1.").arg(argumentos.first()));
    }
    const bool exportar = orden.accion == Orden::Accion::Exportar;

    bool conDocumento = false;
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (a == QLatin1String("--qwork")) {
            unaVez(orden.qwork, valorDe(argumentos, i), a);
        } else if (exportar && a == QLatin1String("--marco")) {
            orden.marcos << valorDe(argumentos, i);
        } else if (exportar && a == QLatin1String("--niveles")) {
            unaVez(orden.niveles, valorDe(argumentos, i), a);
        } else if (a.startsWith(QLatin1String("--"))) {
            throw ErrorUso(QStringLiteral("Opción no válida para %1: %2.").arg(accion, a));
        } else if (conDocumento) {
            throw ErrorUso(
                QStringLiteral("Sobra el argumento %1: solo se admite un DOCUMENTO.").arg(a));
        } else if (a.isEmpty()) {
            throw ErrorUso(QStringLiteral("El DOCUMENTO no puede ser un texto vacío."));
        } else {
            orden.documento = a;
            conDocumento = true;
        }
    }
    if (!conDocumento) throw ErrorUso(QStringLiteral("Falta el DOCUMENTO."));
    return orden;
}

QString textoUso() {
    return QStringLiteral(
        "Uso:\n"
        "  varnolo-cli exportar DOCUMENTO [--marco CODIGO]... [--qwork CARPETA] "
        "[--niveles RUTA_NIVELCAN.DBF]\n"
        "  varnolo-cli importar DOCUMENTO [--qwork CARPETA]\n"
        "\n"
        "exportar  convierte el documento XML de Velna en las tablas de Taviron.\n"
        "          --marco CODIGO elige un marco horario cuando el documento tiene\n"
        "          varios (de uno a cinco, repitiendo la opción).\n"
        "importar  escribe, junto al DOCUMENTO, el documento de resultados para Velna\n"
        "          con los horarios que Taviron dejó en SOLUC.\n"
        "--qwork CARPETA          carpeta de trabajo de Taviron en lugar de la del sistema.\n"
        "--niveles RUTA           tabla de niveles en lugar de NIVELCAN.DBF junto al programa.\n"
        "\n"
        "Termina con 0 cuando la conversión se completó, 1 cuando terminó con un aviso\n"
        "o un error, y 2 cuando la orden no es válida.\n");
}

}  // namespace varnolo::cli
