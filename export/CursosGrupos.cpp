// Step 5: the courses of CURSOS_DEL_CENTRO into CURSOST, each with its level from
// the level table NIVELCAN, and the groups of UNIDADES into GRUPOST, each with its
// course's level and a unique abbreviation.

#include <QHash>

#include "base/Errores.h"
#include "base/Textos.h"
#include "export/Abreviaturas.h"
#include "export/CadenaExportacion.h"
#include "export/FormaAlmacenada.h"
#include "export/Secciones.h"
#include "velna/Sobre.h"

namespace varnolo {

namespace {

const QString kNivelDesconocido = QStringLiteral("Niv");
constexpr int kAnchoClave = 10;  // CLAVE of CURSOST

struct Curso {
    QString nivel, curso, estud;
};

// The first CURSOST row for each CLAVE, in the form the table returns it.
QHash<QString, Curso> leerCursos(Tabla& cursost) {
    QHash<QString, Curso> cursos;
    for (cursost.first(); !cursost.eof(); cursost.next()) {
        const QString clave = cursost.asString(campo::CLAVE);
        if (cursos.contains(clave)) continue;
        cursos.insert(clave, {cursost.asString(campo::NIVEL), cursost.asString(campo::CURSO),
                              cursost.asString(campo::ESTUD)});
    }
    return cursos;
}

// The first choice of a group abbreviation: the name's characters other than the
// space, up to the tenth of them, trimmed.
QString primeraDeGrupo(const QString& nombre) {
    QString r;
    for (QChar c : nombre) {
        if (c == u' ') continue;
        r += c;
        if (r.size() == 10) break;
    }
    return recortar(r);
}

}  // namespace

void CadenaExportacion::ExportarCursosGrupos() {
    estado_.carpeta.recrear({&catalogo::CURSOST(), &catalogo::GRUPOST()});
    AbreviaturasUnicas abreviaturas;

    // Courses.
    const QList<Registro> cursos = documento().registros(seccion::CURSOS_DEL_CENTRO);
    Tabla cursost = estado_.carpeta.abrir(catalogo::CURSOST(), Acceso::Compartida);
    {
        Tabla niveles = estado_.carpeta.abrir(catalogo::NIVELCAN(), Acceso::Compartida);
        int registro = 0;
        for (const Registro& r : cursos) {
            ++registro;
            if (r.count() < 2) {
                saltado(seccion::CURSOS_DEL_CENTRO, registro, kRegistroCorto);
                continue;
            }
            const QString clave = r.dato(0);
            const int numero =
                enLugar([&] { return lugarEnDocumento(seccion::CURSOS_DEL_CENTRO, registro); },
                        [&] { return aEntero(clave); });
            const QString nombre = r.dato(1);
            QString nivel = kNivelDesconocido;
            QString estud = nombre;
            if (niveles.locate(campo::X_OFERTAMATRIG, numero)) {
                nivel = niveles.asString(campo::NIVEL_ABREV);
                estud = nombre + QStringLiteral(" (") + niveles.asString(campo::NIVEL) + u')';
            }
            if (nivel.isEmpty()) nivel = kNivelDesconocido;
            const QString curso = nombre.left(1);

            agregarFila(cursost, [&](Tabla& f) {
                const TextosFila texto(f, estado_.informe,
                                       LugarRegistro{seccion::CURSOS_DEL_CENTRO, registro});
                texto(campo::CLAVE, clave);
                texto(campo::NIVEL, nivel);
                texto(campo::CURSO, curso);
                texto(campo::ESTUD, estud);
                texto(campo::ABREV, nivel.left(1) + curso);
            });
        }
        niveles.close();
    }

    // Groups, with what the course pass has just written.
    const QHash<QString, Curso> cursosEscritos = leerCursos(cursost);
    const QList<Registro> unidades = documento().registros(seccion::UNIDADES);
    Tabla grupost = estado_.carpeta.abrir(catalogo::GRUPOST(), Acceso::Compartida);
    int registro = 0;
    for (const Registro& r : unidades) {
        ++registro;
        if (r.count() < 2) {
            saltado(seccion::UNIDADES, registro, kRegistroCorto);
            continue;
        }
        const QString clave = r.dato(0);
        const QString nombre = r.dato(1);
        const QString claveCurso = r.dato(2);
        const Curso curso = cursosEscritos.value(formaAlmacenada(claveCurso, kAnchoClave));
        const QString letra = nombre.right(1);
        const QString primera = primeraDeGrupo(nombre);
        const QString abreviatura = abreviaturas.dar(primera);
        if (abreviatura != primera) {
            hechoUnico(seccion::UNIDADES, registro, catalogo::GRUPOST().nombre, campo::ABREV);
        }
        const QString descripcion = !curso.estud.isEmpty()
                                        ? u'(' + nombre + QStringLiteral(") ") + curso.estud
                                        : u' ' + curso.nivel + u' ' + curso.curso + u' ' + letra;

        agregarFila(grupost, [&](Tabla& f) {
            const TextosFila texto(f, estado_.informe, LugarRegistro{seccion::UNIDADES, registro});
            texto(campo::ABREV, abreviatura);
            texto(campo::TURNO, QString());
            texto(campo::NIVEL, curso.nivel);
            texto(campo::CURSO, curso.curso);
            texto(campo::GRUPO, letra);
            texto(campo::CLAVE, clave);
            texto(campo::CLAVECURSO, claveCurso);
            texto(campo::DESCRIP, descripcion);
        });
    }
    grupost.close();
    cursost.close();
}

}  // namespace varnolo
