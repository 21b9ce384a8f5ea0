// Step 6: the teaching assignments. MATERIAS is read a second time; each record
// gives one ASIGT row per group of its course, with the subject code that step 1
// wrote to ASIGNOMT and the group abbreviation that step 5 wrote to GRUPOST.

#include <QHash>
#include <QList>

#include "base/Errores.h"
#include "base/Textos.h"
#include "export/CadenaExportacion.h"
#include "export/FormaAlmacenada.h"
#include "export/ReglasTexto.h"
#include "export/Secciones.h"
#include "velna/Sobre.h"

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
        const QString clave = claveNombre(asignomt.asString(campo::NOMBRE));
        if (!codigos.contains(clave)) codigos.insert(clave, asignomt.asString(campo::COD));
    }
    return codigos;
}

// The GRUPOST rows of each CLAVECURSO, in physical order.
QHash<QString, QList<Grupo>> leerGrupos(Tabla& grupost) {
    QHash<QString, QList<Grupo>> grupos;
    for (grupost.first(); !grupost.eof(); grupost.next()) {
        grupos[grupost.asString(campo::CLAVECURSO)].append(
            {grupost.asString(campo::ABREV), grupost.asString(campo::NIVEL),
             grupost.asString(campo::CURSO), grupost.asString(campo::GRUPO)});
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
    estado_.carpeta.recrear({&catalogo::ASIGT()});
    Tabla asigt = estado_.carpeta.abrir(catalogo::ASIGT(), Acceso::Compartida);

    Tabla grupost = estado_.carpeta.abrir(catalogo::GRUPOST(), Acceso::Exclusiva);
    Tabla asignomt = estado_.carpeta.abrir(catalogo::ASIGNOMT(), Acceso::Exclusiva);
    const QHash<QString, QString> codigos = leerCodigos(asignomt);
    const QHash<QString, QList<Grupo>> grupos = leerGrupos(grupost);
    const bool conActividad = estado_.actividadPorDefecto == 1;

    const QList<Registro> registros = documento().registros(seccion::MATERIAS);
    int registro = 0;
    for (const Registro& r : registros) {
        ++registro;
        if (r.count() < 2) {
            saltado(seccion::MATERIAS, registro, kRegistroCorto);
            continue;
        }
        const QString claveCurso = r.dato(0);
        const QString clave = r.dato(1);
        const QString nombre = r.dato(2);
        const QString minutos = r.dato(4);

        const QString cod = codigos.value(claveNombre(formaAlmacenada(nombre, kAnchoNombre)));
        if (cod.isEmpty()) {
            saltado(seccion::MATERIAS, registro,
                    QStringLiteral("sin filas en ASIGT, su nombre no está en ASIGNOMT"));
            continue;
        }
        const auto delCurso = grupos.constFind(formaAlmacenada(claveCurso, kAnchoClaveCurso));
        if (delCurso == grupos.constEnd()) {
            saltado(seccion::MATERIAS, registro,
                    QStringLiteral("sin filas en ASIGT, su curso no tiene grupos en GRUPOST"));
            continue;
        }

        // Converted only for a record that yields rows; a bad text ends the export
        // before its first row is appended.
        const int horas = enLugar([&] { return lugarEnDocumento(seccion::MATERIAS, registro); },
                                  [&] { return horasDeMinutos(minutos); });
        const QString sesiones = sesionesDeHoras(horas);
        for (const Grupo& g : *delCurso) {
            agregarFila(asigt, [&](Tabla& f) {
                const TextosFila texto(f, estado_.informe,
                                       LugarRegistro{seccion::MATERIAS, registro});
                texto(campo::CASIG, cod);
                texto(campo::CGRUP, g.abrev);
                texto(campo::CAULA, QString());
                texto(campo::TURNO, QString());
                texto(campo::NIVEL, g.nivel);
                texto(campo::CURSO, g.curso);
                texto(campo::GRUPO, g.grupo);
                f.setFloat(campo::HORAS, horas);
                texto(campo::SESIONES, sesiones);
                texto(campo::CLAVE, clave);
                texto(campo::CLAVECURSO, claveCurso);
                if (conActividad) f.setString(campo::CTAREA, kActividadPorDefecto);
            });
        }
    }
    asigt.close();
    grupost.close();
    asignomt.close();
}

}  // namespace varnolo
