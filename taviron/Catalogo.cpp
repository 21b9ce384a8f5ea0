#include "taviron/Catalogo.h"

namespace varnolo {

namespace {

DefCampo C(const QString& nombre, int ancho) { return {nombre, TipoCampo::Cadena, ancho}; }
DefCampo I(const QString& nombre) { return {nombre, TipoCampo::Entero, 0}; }
DefCampo F(const QString& nombre) { return {nombre, TipoCampo::Flotante, 0}; }
DefCampo L(const QString& nombre) { return {nombre, TipoCampo::Logico, 0}; }

using namespace campo;

QList<DefCampo> camposDiasHoras() {
    return {C(DIHO, 10),   C(CODDIHO, 10),  C(DIA, 20),      C(TEXTODIA, 20),
            C(HORA, 8),    C(TEXTOHOR, 15), C(HORADESDE, 8), C(HORAHASTA, 8),
            C(MINUTOS, 8), C(MARCO, 1),     C(MARCOXML, 10)};
}

}  // namespace

namespace catalogo {

const DefTabla& ASIGNOMT() {
    static const DefTabla t{
        QStringLiteral("ASIGNOMT"),
        {C(COD, 10), C(CODLARGO, 10), C(NOMBRE, 80), C(CODTAREA, 12), L(ESTAREA)},
        {}};
    return t;
}

const DefTabla& ASIGNOMT2() {
    static const DefTabla t{QStringLiteral("ASIGNOMT2"),
                            {C(COD, 10), C(CODLARGO, 10), C(NOMBRE, 80), C(MATERIA, 20),
                             C(OFERTAMATRI, 20), C(CODTAREA, 12), L(ESTAREA)},
                            {}};
    return t;
}

const DefTabla& PROFT() {
    static const DefTabla t{QStringLiteral("PROFT"),
                            {C(ABREV, 10), C(NOMBRE, 80), C(DEPART, 40), C(EMAIL, 100), I(DNI),
                             C(X_EMPLEADO, 10), C(F_TOMAPOS, 10)},
                            {}};
    return t;
}

const DefTabla& AULAT() {
    static const DefTabla t{
        QStringLiteral("AULAT"),
        {C(ABREV, 10), C(NOMBRE, 80), C(EDIFICIO, 1), I(MAXALUM), C(DEPCENTRO, 10)},
        {}};
    return t;
}

const DefTabla& CURSOST() {
    static const DefTabla t{
        QStringLiteral("CURSOST"),
        {C(ABREV, 3), C(TURNO, 1), C(NIVEL, 5), C(CURSO, 3), C(CLAVE, 10), C(ESTUD, 80)},
        {}};
    return t;
}

const DefTabla& GRUPOST() {
    static const DefTabla t{QStringLiteral("GRUPOST"),
                            {C(ABREV, 10), C(TURNO, 1), C(NIVEL, 5), C(CURSO, 3), C(GRUPO, 2),
                             C(CLAVE, 10), C(CLAVECURSO, 10), C(DESCRIP, 80)},
                            {}};
    return t;
}

const DefTabla& ASIGT() {
    static const DefTabla t{QStringLiteral("ASIGT"),
                            {C(CASIG, 10), C(CPROF, 10), C(CGRUP, 10), C(CAULA, 10), C(TURNO, 10),
                             C(NIVEL, 5), C(CURSO, 3), C(GRUPO, 2), F(HORAS), C(SESIONES, 20),
                             C(NCONEX, 4), C(CLAVE, 10), C(CLAVECURSO, 10), C(CTAREA, 10)},
                            {}};
    return t;
}

const DefTabla& DIASHORAST() {
    static const DefTabla t{QStringLiteral("DIASHORAST"), camposDiasHoras(), {}};
    return t;
}

const DefTabla& DIASHORAST2() {
    static const DefTabla t = [] {
        DefTabla d{QStringLiteral("DIASHORAST2"), camposDiasHoras(), {}};
        d.campos.append(I(ORDEN));
        d.indices.append({ORDEN, ORDEN});
        return d;
    }();
    return t;
}

const DefTabla& PERIODOS() {
    static const DefTabla t{QStringLiteral("PERIODOS"),
                            {C(CJORNADA, 10), C(JORNADA, 40), C(FECINI, 10), C(FECFIN, 10)},
                            {},
                            Ubicacion::Trabajo,
                            /*borraMdx=*/false};
    return t;
}

const DefTabla& SOLUC() {
    static const DefTabla t{QStringLiteral("SOLUC"),
                            {C(PROF, 10), I(DIA), I(HORA), C(MARCO, 1), C(ASIG, 10),
                             C(CODGRUPO, 10), C(TAREA, 10), C(AULA, 10)},
                            {}};
    return t;
}

const DefTabla& NIVELCAN() {
    static const DefTabla t{QStringLiteral("NIVELCAN"),
                            {I(X_OFERTAMATRIG), C(NIVEL_ABREV, catalogo::kAnchoNivelAbrev),
                             C(NIVEL, catalogo::kAnchoNivel)},
                            {},
                            Ubicacion::Niveles};
    return t;
}

QList<const DefTabla*> tablasDeExportacion() {
    return {&ASIGNOMT(), &ASIGNOMT2(), &PROFT(),      &AULAT(),       &CURSOST(),
            &GRUPOST(),  &ASIGT(),     &DIASHORAST(), &DIASHORAST2(), &PERIODOS()};
}

}  // namespace catalogo

}  // namespace varnolo
