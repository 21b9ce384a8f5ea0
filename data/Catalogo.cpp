#include "Catalogo.h"

#include <QFile>

namespace varnolo {

namespace {

DefCampo C(const char* nombre, int ancho) {
    return {QString::fromLatin1(nombre), TipoCampo::Cadena, ancho};
}
DefCampo I(const char* nombre) { return {QString::fromLatin1(nombre), TipoCampo::Entero, 0}; }
DefCampo F(const char* nombre) { return {QString::fromLatin1(nombre), TipoCampo::Flotante, 0}; }
DefCampo L(const char* nombre) { return {QString::fromLatin1(nombre), TipoCampo::Logico, 0}; }

QList<DefCampo> camposDiasHoras() {
    return {C("DIHO", 10),   C("CODDIHO", 10),  C("DIA", 20),      C("TEXTODIA", 20),
            C("HORA", 8),    C("TEXTOHOR", 15), C("HORADESDE", 8), C("HORAHASTA", 8),
            C("MINUTOS", 8), C("MARCO", 1),     C("MARCOXML", 10)};
}

}  // namespace

namespace catalogo {

const DefTabla& ASIGNOMT() {
    static const DefTabla t{
        QStringLiteral("ASIGNOMT"),
        {C("COD", 10), C("CODLARGO", 10), C("NOMBRE", 80), C("CODTAREA", 12), L("ESTAREA")},
        {}};
    return t;
}

const DefTabla& ASIGNOMT2() {
    static const DefTabla t{QStringLiteral("ASIGNOMT2"),
                            {C("COD", 10), C("CODLARGO", 10), C("NOMBRE", 80), C("MATERIA", 20),
                             C("OFERTAMATRI", 20), C("CODTAREA", 12), L("ESTAREA")},
                            {}};
    return t;
}

const DefTabla& PROFT() {
    static const DefTabla t{QStringLiteral("PROFT"),
                            {C("ABREV", 10), C("NOMBRE", 80), C("DEPART", 40), C("EMAIL", 100),
                             I("DNI"), C("X_EMPLEADO", 10), C("F_TOMAPOS", 10)},
                            {}};
    return t;
}

const DefTabla& AULAT() {
    static const DefTabla t{
        QStringLiteral("AULAT"),
        {C("ABREV", 10), C("NOMBRE", 80), C("EDIFICIO", 1), I("MAXALUM"), C("DEPCENTRO", 10)},
        {}};
    return t;
}

const DefTabla& CURSOST() {
    static const DefTabla t{QStringLiteral("CURSOST"),
                            {C("ABREV", 3), C("TURNO", 1), C("NIVEL", 5), C("CURSO", 3),
                             C("CLAVE", 10), C("ESTUD", 80)},
                            {}};
    return t;
}

const DefTabla& GRUPOST() {
    static const DefTabla t{QStringLiteral("GRUPOST"),
                            {C("ABREV", 10), C("TURNO", 1), C("NIVEL", 5), C("CURSO", 3),
                             C("GRUPO", 2), C("CLAVE", 10), C("CLAVECURSO", 10), C("DESCRIP", 80)},
                            {}};
    return t;
}

const DefTabla& ASIGT() {
    static const DefTabla t{
        QStringLiteral("ASIGT"),
        {C("CASIG", 10), C("CPROF", 10), C("CGRUP", 10), C("CAULA", 10), C("TURNO", 10),
         C("NIVEL", 5), C("CURSO", 3), C("GRUPO", 2), F("HORAS"), C("SESIONES", 20), C("NCONEX", 4),
         C("CLAVE", 10), C("CLAVECURSO", 10), C("CTAREA", 10)},
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
        d.campos.append(I("ORDEN"));
        d.indices.append({QStringLiteral("ORDEN"), QStringLiteral("ORDEN")});
        return d;
    }();
    return t;
}

const DefTabla& PERIODOS() {
    static const DefTabla t{QStringLiteral("PERIODOS"),
                            {C("CJORNADA", 10), C("JORNADA", 40), C("FECINI", 10), C("FECFIN", 10)},
                            {}};
    return t;
}

QList<const DefTabla*> tablasDeExportacion() {
    return {&ASIGNOMT(), &ASIGNOMT2(), &PROFT(),      &AULAT(),       &CURSOST(),
            &GRUPOST(),  &ASIGT(),     &DIASHORAST(), &DIASHORAST2(), &PERIODOS()};
}

}  // namespace catalogo

void borrarTabla(const Entorno& entorno, const QString& nombre, bool conMdx) {
    borrarSiExiste(entorno.rutaTrabajo(nombre + QStringLiteral(".DBF")));
    if (conMdx) borrarSiExiste(entorno.rutaTrabajo(nombre + QStringLiteral(".MDX")));
}

void crearTabla(const Entorno& entorno, const DefTabla& def) {
    Tabla t(entorno.carpetaTrabajo, def.nombre);
    t.setReloj(entorno.reloj);
    t.fieldDefs() = def.campos;
    t.indexDefs() = def.indices;
    t.createTable();
}

ComponentesTablas::ComponentesTablas(const Entorno& entorno)
    : wwTableNomAsg(entorno.carpetaTrabajo, QStringLiteral("ASIGNOMT"), true),
      wwTableProfesor(entorno.carpetaTrabajo, QStringLiteral("PROFT"), false),
      wwTableTramos(entorno.carpetaTrabajo, QStringLiteral("DIASHORAST"), true),
      wwTableAulas(entorno.carpetaTrabajo, QStringLiteral("AULAT"), true),
      wwTableGrupos(entorno.carpetaTrabajo, QStringLiteral("GRUPOST"), true),
      wwTableAsig(entorno.carpetaTrabajo, QStringLiteral("ASIGT"), true),
      wwTableSoluc(entorno.carpetaTrabajo, QStringLiteral("SOLUC"), true),
      wwTableCursos(entorno.carpetaTrabajo, QStringLiteral("CURSOST"), true),
      wwTableNIVELEX(QString(), QStringLiteral("NIVELCAN.dbf"), false),
      wwTableNomAsg_2(entorno.carpetaTrabajo, QStringLiteral("ASIGNOMT2"), true) {
    for (Tabla* t :
         {&wwTableNomAsg, &wwTableProfesor, &wwTableTramos, &wwTableAulas, &wwTableGrupos,
          &wwTableAsig, &wwTableSoluc, &wwTableCursos, &wwTableNIVELEX, &wwTableNomAsg_2}) {
        t->setReloj(entorno.reloj);
    }
}

void ComponentesTablas::cerrarTodas() {
    for (Tabla* t :
         {&wwTableNomAsg, &wwTableProfesor, &wwTableTramos, &wwTableAulas, &wwTableGrupos,
          &wwTableAsig, &wwTableSoluc, &wwTableCursos, &wwTableNIVELEX, &wwTableNomAsg_2}) {
        t->close();
    }
}

}  // namespace varnolo
