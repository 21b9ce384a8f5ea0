#include "tests/exportacion/Exportador.h"

#include "base/Errores.h"
#include "dbf/Tabla.h"

namespace varnolo::prueba {

void Exportador::exportarHastaAsignaciones() {
    cadena_.ExportarMaterias();
    cadena_.ExportarActividades();
    cadena_.ExportarProfesores();
    cadena_.ExportarAulas();
    cadena_.ExportarCursosGrupos();
    cadena_.ExportarAsignaciones();
}

Exportador::Exportador(const QByteArray& documento)
    : estado_(carpetas_.entorno(), documento_, opciones_, preguntas_), cadena_(estado_) {
    carpetas_.instalarNivelcan();
    cargar(documento);
}

void Exportador::cargar(const QByteArray& documento) { EXPECT_TRUE(documento_.leerXml(documento)); }

void Exportador::usarNiveles(const QList<FilaNivel>& filas) {
    escribirTablaNiveles(carpetas_.programa(QStringLiteral("NIVELCAN.DBF")), filas,
                         carpetas_.entorno().reloj);
}

QList<QStringList> Exportador::filas(const QString& tabla, const QStringList& campos) const {
    Tabla t(carpetas_.trabajo(), tabla);
    t.open();
    QList<QStringList> r;
    for (t.first(); !t.eof(); t.next()) {
        QStringList fila;
        for (const QString& c : campos) fila << t.asString(c);
        r << fila;
    }
    return r;
}

QStringList Exportador::columna(const QString& tabla, const QString& campo) const {
    QStringList r;
    for (const QStringList& f : filas(tabla, {campo})) r << f.front();
    return r;
}

QString errorDe(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const ErrorVarnolo& e) {
        return e.texto();
    }
    return {};
}

}  // namespace varnolo::prueba
