// Step 5: the courses of CURSOS_DEL_CENTRO into CURSOST, each with its level from
// the level table NIVELCAN, and the groups of UNIDADES into GRUPOST, each with its
// course's level and a unique abbreviation.

#include <QHash>

#include "Abreviaturas.h"
#include "CadenaExportacion.h"
#include "FormaAlmacenada.h"
#include "TablaAbierta.h"
#include "data/Errores.h"
#include "data/Sobre.h"
#include "data/Textos.h"

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
        const QString clave = cursost.asString(QStringLiteral("CLAVE"));
        if (cursos.contains(clave)) continue;
        cursos.insert(clave, {cursost.asString(QStringLiteral("NIVEL")),
                              cursost.asString(QStringLiteral("CURSO")),
                              cursost.asString(QStringLiteral("ESTUD"))});
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
    const Entorno& entorno = estado_.entorno;
    borrarTabla(entorno, catalogo::GRUPOST().nombre);
    borrarTabla(entorno, catalogo::CURSOST().nombre);
    AbreviaturasUnicas abreviaturas;
    crearTabla(entorno, catalogo::CURSOST());
    crearTabla(entorno, catalogo::GRUPOST());

    // Courses.
    const QList<Registro> cursos =
        registrosDeSeccion(documento(), QStringLiteral("CURSOS_DEL_CENTRO"));
    Tabla cursost(entorno.carpetaTrabajo, catalogo::CURSOST().nombre);
    cursost.setReloj(entorno.reloj);
    cursost.open();
    Tabla& niveles = estado_.tablas.wwTableNIVELEX;
    niveles.setDatabaseName(QString());
    niveles.setTableName(entorno.rutaNivelcan());
    {
        TablaAbierta nivelcan(niveles);
        int registro = 0;
        for (const Registro& r : cursos) {
            ++registro;
            if (r.count() < 2) continue;
            const QString clave = r.dato(0);
            const int numero = enLugar(
                [&] { return lugarEnDocumento(QStringLiteral("CURSOS_DEL_CENTRO"), registro); },
                [&] { return aEntero(clave); });
            const QString nombre = r.dato(1);
            QString nivel = kNivelDesconocido;
            QString estud = nombre;
            if (niveles.locate(QStringLiteral("X_OFERTAMATRIG"), numero)) {
                nivel = niveles.asString(QStringLiteral("NIVEL_ABREV"));
                estud = nombre + QStringLiteral(" (") + niveles.asString(QStringLiteral("NIVEL")) +
                        u')';
            }
            if (nivel.isEmpty()) nivel = kNivelDesconocido;
            const QString curso = nombre.left(1);

            cursost.append();
            cursost.setString(QStringLiteral("CLAVE"), clave);
            cursost.setString(QStringLiteral("NIVEL"), nivel);
            cursost.setString(QStringLiteral("CURSO"), curso);
            cursost.setString(QStringLiteral("ESTUD"), estud);
            cursost.setString(QStringLiteral("ABREV"), nivel.left(1) + curso);
            cursost.post();
        }
        nivelcan.cerrar();
    }

    // Groups, with what the course pass has just written.
    const QHash<QString, Curso> cursosEscritos = leerCursos(cursost);
    const QList<Registro> unidades = registrosDeSeccion(documento(), QStringLiteral("UNIDADES"));
    Tabla grupost(entorno.carpetaTrabajo, catalogo::GRUPOST().nombre);
    grupost.setReloj(entorno.reloj);
    grupost.open();
    for (const Registro& r : unidades) {
        if (r.count() < 2) continue;
        const QString clave = r.dato(0);
        const QString nombre = r.dato(1);
        const QString claveCurso = r.dato(2);
        const Curso curso = cursosEscritos.value(formaAlmacenada(claveCurso, kAnchoClave));
        const QString letra = nombre.right(1);
        const QString abreviatura = abreviaturas.dar(primeraDeGrupo(nombre));
        const QString descripcion = !curso.estud.isEmpty()
                                        ? u'(' + nombre + QStringLiteral(") ") + curso.estud
                                        : u' ' + curso.nivel + u' ' + curso.curso + u' ' + letra;

        grupost.append();
        grupost.setString(QStringLiteral("ABREV"), abreviatura);
        grupost.setString(QStringLiteral("TURNO"), QString());
        grupost.setString(QStringLiteral("NIVEL"), curso.nivel);
        grupost.setString(QStringLiteral("CURSO"), curso.curso);
        grupost.setString(QStringLiteral("GRUPO"), letra);
        grupost.setString(QStringLiteral("CLAVE"), clave);
        grupost.setString(QStringLiteral("CLAVECURSO"), claveCurso);
        grupost.setString(QStringLiteral("DESCRIP"), descripcion);
        grupost.post();
    }
    grupost.close();
    cursost.close();
}

}  // namespace varnolo
