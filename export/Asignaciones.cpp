// Step 6: the teaching assignments. MATERIAS is read a second time; each record
// gives one ASIGT row per group of its course, with the subject code that step 1
// wrote to ASIGNOMT and the group abbreviation that step 5 wrote to GRUPOST.

#include <QHash>
#include <QList>

#include "CadenaExportacion.h"
#include "FormaAlmacenada.h"
#include "TablaAbierta.h"
#include "data/Errores.h"
#include "data/Sobre.h"
#include "data/Textos.h"

namespace varnolo {

namespace {

const QString kActividadPorDefecto = QStringLiteral("513");
const QString kMinutosPorDefecto = QStringLiteral("240");
constexpr int kAnchoNombre = 80;      // NOMBRE of ASIGNOMT
constexpr int kAnchoClaveCurso = 10;  // CLAVECURSO of GRUPOST

struct Grupo {
    QString abrev, nivel, curso, grupo;
};

// The subject lookup key: upper-cased (a to z only) and trimmed.
QString claveNombre(const QString& nombre) { return recortar(mayusculasAscii(nombre)); }

// COD of the first ASIGNOMT row, in physical order, for each lookup key of NOMBRE.
QHash<QString, QString> leerCodigos(Tabla& asignomt) {
    QHash<QString, QString> codigos;
    for (asignomt.first(); !asignomt.eof(); asignomt.next()) {
        const QString clave = claveNombre(asignomt.asString(QStringLiteral("NOMBRE")));
        if (!codigos.contains(clave)) {
            codigos.insert(clave, asignomt.asString(QStringLiteral("COD")));
        }
    }
    return codigos;
}

// The GRUPOST rows of each CLAVECURSO, in physical order.
QHash<QString, QList<Grupo>> leerGrupos(Tabla& grupost) {
    QHash<QString, QList<Grupo>> grupos;
    for (grupost.first(); !grupost.eof(); grupost.next()) {
        grupos[grupost.asString(QStringLiteral("CLAVECURSO"))].append(
            {grupost.asString(QStringLiteral("ABREV")), grupost.asString(QStringLiteral("NIVEL")),
             grupost.asString(QStringLiteral("CURSO")), grupost.asString(QStringLiteral("GRUPO"))});
    }
    return grupos;
}

// Whole hours of teaching minutes, rounded up, at least 1; blank minutes count as 240.
int horasDeMinutos(const QString& minutos) {
    const int m = aEntero(minutos.isEmpty() ? kMinutosPorDefecto : minutos);
    const int horas = m / 60 + (m > 0 && m % 60 != 0 ? 1 : 0);
    return horas < 1 ? 1 : horas;
}

// The session pattern: one "1" per hour, or past 13 hours the surplus and thirteen "1".
QString sesionesDeHoras(int horas) {
    if (horas <= 13) return QString(horas, u'1');
    return QString::number(horas - 13) + QString(13, u'1');
}

}  // namespace

void CadenaExportacion::ExportarAsignaciones() {
    const Entorno& entorno = estado_.entorno;
    borrarTabla(entorno, catalogo::ASIGT().nombre);
    crearTabla(entorno, catalogo::ASIGT());
    Tabla asigt(entorno.carpetaTrabajo, catalogo::ASIGT().nombre);
    asigt.setReloj(entorno.reloj);
    asigt.open();

    TablaAbierta grupost(estado_.tablas.wwTableGrupos);
    TablaAbierta asignomt(estado_.tablas.wwTableNomAsg);
    const QHash<QString, QString> codigos = leerCodigos(estado_.tablas.wwTableNomAsg);
    const QHash<QString, QList<Grupo>> grupos = leerGrupos(estado_.tablas.wwTableGrupos);
    const bool conActividad = estado_.actividadPorDefecto == 1;

    const QList<Registro> registros = registrosDeSeccion(documento(), QStringLiteral("MATERIAS"));
    int registro = 0;
    for (const Registro& r : registros) {
        ++registro;
        if (r.count() < 2) continue;
        const QString claveCurso = r.dato(0);
        const QString clave = r.dato(1);
        const QString nombre = r.dato(2);
        const QString minutos = r.dato(4);

        const QString cod = codigos.value(claveNombre(formaAlmacenada(nombre, kAnchoNombre)));
        if (cod.isEmpty()) continue;
        const auto delCurso = grupos.constFind(formaAlmacenada(claveCurso, kAnchoClaveCurso));
        if (delCurso == grupos.constEnd()) continue;

        // Converted only for a record that yields rows; a bad text ends the export
        // before its first row is appended.
        const int horas =
            enLugar([&] { return lugarEnDocumento(QStringLiteral("MATERIAS"), registro); },
                    [&] { return horasDeMinutos(minutos); });
        const QString sesiones = sesionesDeHoras(horas);
        for (const Grupo& g : *delCurso) {
            asigt.append();
            asigt.setString(QStringLiteral("CASIG"), cod);
            asigt.setString(QStringLiteral("CGRUP"), g.abrev);
            asigt.setString(QStringLiteral("CAULA"), QString());
            asigt.setString(QStringLiteral("TURNO"), QString());
            asigt.setString(QStringLiteral("NIVEL"), g.nivel);
            asigt.setString(QStringLiteral("CURSO"), g.curso);
            asigt.setString(QStringLiteral("GRUPO"), g.grupo);
            asigt.setFloat(QStringLiteral("HORAS"), horas);
            asigt.setString(QStringLiteral("SESIONES"), sesiones);
            asigt.setString(QStringLiteral("CLAVE"), clave);
            asigt.setString(QStringLiteral("CLAVECURSO"), claveCurso);
            if (conActividad) asigt.setString(QStringLiteral("CTAREA"), kActividadPorDefecto);
            asigt.post();
        }
    }
    asigt.close();
    grupost.cerrar();
    asignomt.cerrar();
}

}  // namespace varnolo
