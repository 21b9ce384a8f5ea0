#include "import/Horarios.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/Errores.h"
#include "base/Textos.h"
#include "velna/Sobre.h"

namespace varnolo {

namespace {

using Par = std::pair<QString, QString>;

bool enBlanco(const QString& valor) { return recortar(valor).isEmpty(); }

/// An integer column of SOLUC, read once. A text column keeps its text and is
/// converted only when the lesson is used, so a bad value fails exactly where a
/// lesson needs it; a numeric column is read as a number at once.
struct EnteroLeido {
    QString texto;
    std::optional<int> valor;

    static EnteroLeido leer(const Tabla& t, const QString& campo, bool esTexto) {
        EnteroLeido e;
        e.texto = t.asString(campo);
        if (!esTexto) {
            e.valor = t.asInteger(campo);
            // A numeric column's text is its value ("1", not "1.0000" of a column
            // with decimals), as the slot key of DIASHORAST expects.
            if (e.texto.contains(u'.')) {
                const double v = e.texto.toDouble();
                if (v == std::floor(v)) e.texto = QString::number(*e.valor);
            }
        }
        return e;
    }
    int entero() const {
        if (valor) return *valor;
        return texto.isEmpty() ? 0 : aEntero(texto);
    }
};

/// One lesson row of SOLUC with the fields the section reads, as the engine reads them.
struct Leccion {
    EnteroLeido dia;
    EnteroLeido hora;
    QString marco, asig, codGrupo, tarea, aula;
};

struct ClavesAsignacion {
    QString clave, claveCurso;
};

struct Tramo {
    QString dia, codDiho, horaDesde, horaHasta;
    int registro = 0;  ///< its row in DIASHORAST, from 1
    /// N_HORINI and N_HORFIN as written, worked out when a lesson first uses the slot
    /// (a bad clock text fails there, as it would without them).
    mutable std::optional<QString> horIni, horFin;
};

const QString& textoMinutos(const QString& hora, std::optional<QString>& calculado) {
    if (!calculado) calculado = QString::number(minutosDelDia(hora));
    return *calculado;
}

/// Every lookup of the section, each table read once in its natural order; the
/// first row of each key wins, as a scan from the first row would find it.
struct Indices {
    QHash<Par, ClavesAsignacion> asignaciones;     // ASIGT (CASIG, CGRUP)
    QHash<QString, QString> tareas;                // ASIGNOMT COD -> CODTAREA
    QHash<Par, Tramo> tramos;                      // DIASHORAST (DIHO, MARCO)
    QHash<QString, ClavesAsignacion> grupos;       // GRUPOST ABREV -> CLAVE, CLAVECURSO
    QHash<Par, QString> materias;                  // ASIGNOMT2 (COD, OFERTAMATRI) -> MATERIA
    std::vector<Leccion> lecciones;                // SOLUC, natural order
    QHash<QString, std::vector<int>> leccionesDe;  // PROF -> positions in `lecciones`
};

/// Keeps the first value given for a key.
template <typename K, typename V>
void primero(QHash<K, V>& indice, const std::type_identity_t<K>& clave,
             std::type_identity_t<V> valor) {
    if (!indice.contains(clave)) indice.insert(clave, std::move(valor));
}

template <typename F>
void recorrer(Tabla& t, F&& porFila) {
    t.setIndexFieldNames(QString());
    for (t.first(); !t.eof(); t.next()) porFila(t);
}

/// Where a lesson's value was read: its row of SOLUC (the lesson at `indice` of the
/// natural order is row indice + 1) and the field.
auto lugarLeccion(int indice, const QString& campo) {
    return [indice, campo] { return lugarEnTabla(catalogo::SOLUC().nombre, indice + 1, campo); };
}

/// DIA or HORA of the lesson at `indice` as a number.
int enteroDeLeccion(const EnteroLeido& valor, int indice, const QString& campo) {
    return enLugar(lugarLeccion(indice, campo), [&] { return valor.entero(); });
}

/// The field `campo` of `t` as the file describes it; null when there is none.
const CampoFisico* campoFisico(const Tabla& t, const QString& campo) {
    for (const CampoFisico& c : t.campos()) {
        if (c.nombre.compare(campo, Qt::CaseInsensitive) == 0) return &c;
    }
    return nullptr;
}

bool esCampoTexto(const Tabla& t, const QString& campo) {
    const CampoFisico* c = campoFisico(t, campo);
    return c == nullptr || c->tipo == 'C';
}

Indices leerIndices(TablasImportacion& tablas) {
    using namespace campo;
    Indices ix;
    recorrer(tablas.asigt, [&](const Tabla& t) {
        primero(ix.asignaciones, Par(t.asString(CASIG), t.asString(CGRUP)),
                ClavesAsignacion{t.asString(CLAVE), t.asString(CLAVECURSO)});
    });
    recorrer(tablas.asignomt,
             [&](const Tabla& t) { primero(ix.tareas, t.asString(COD), t.asString(CODTAREA)); });
    int filaTramo = 0;
    recorrer(tablas.diashorast, [&](const Tabla& t) {
        ++filaTramo;
        primero(ix.tramos, Par(t.asString(DIHO), t.asString(MARCO)),
                Tramo{t.asString(DIA), t.asString(CODDIHO), t.asString(HORADESDE),
                      t.asString(HORAHASTA), filaTramo, std::nullopt, std::nullopt});
    });
    recorrer(tablas.grupost, [&](const Tabla& t) {
        primero(ix.grupos, t.asString(ABREV),
                ClavesAsignacion{t.asString(CLAVE), t.asString(CLAVECURSO)});
    });
    recorrer(tablas.asignomt2, [&](const Tabla& t) {
        primero(ix.materias, Par(t.asString(COD), t.asString(OFERTAMATRI)), t.asString(MATERIA));
    });

    Tabla& soluc = tablas.soluc;
    const bool diaTexto = esCampoTexto(soluc, DIA);
    const bool horaTexto = esCampoTexto(soluc, HORA);
    ix.lecciones.reserve(static_cast<size_t>(soluc.recordCount()));
    recorrer(soluc, [&](const Tabla& t) {
        const int indice = static_cast<int>(ix.lecciones.size());
        Leccion l;
        l.dia =
            enLugar(lugarLeccion(indice, DIA), [&] { return EnteroLeido::leer(t, DIA, diaTexto); });
        l.hora = enLugar(lugarLeccion(indice, HORA),
                         [&] { return EnteroLeido::leer(t, HORA, horaTexto); });
        l.marco = t.asString(MARCO);
        l.asig = t.asString(ASIG);
        l.codGrupo = t.asString(CODGRUPO);
        l.tarea = t.asString(TAREA);
        l.aula = t.asString(AULA);
        ix.leccionesDe[t.asString(PROF)].push_back(static_cast<int>(ix.lecciones.size()));
        ix.lecciones.push_back(std::move(l));
    });
    return ix;
}

/// One activity record for a placed lesson, appended to the teacher record. False
/// when DIASHORAST has no slot for its day and hour (the record then goes without them).
bool agregarActividad(EscritorXml& xml, int m, int indice, const Indices& ix,
                      const FechasPeriodo& fechas, int actividadPorDefecto) {
    const Leccion& l = ix.lecciones[indice];
    abrirGrupo(xml, QStringLiteral("ACTIVIDAD_") + QString::number(m));

    QString materia, oferta;
    if (auto it = ix.asignaciones.constFind(Par(l.asig, l.codGrupo));
        it != ix.asignaciones.cend()) {
        materia = it->clave;
        oferta = it->claveCurso;
    }
    QString tarea = l.tarea;
    if (enBlanco(tarea)) {
        if (auto it = ix.tareas.constFind(l.asig); it != ix.tareas.cend()) tarea = *it;
    }

    const QString claveTramo =
        l.dia.texto + QString::number(enteroDeLeccion(l.hora, indice, campo::HORA));
    const Tramo sinTramo;
    const auto it = ix.tramos.constFind(Par(claveTramo, l.marco));
    const Tramo& tramo = it != ix.tramos.cend() ? *it : sinTramo;
    escribirDato(xml, QStringLiteral("N_DIASEMANA"), tramo.dia);
    escribirDato(xml, QStringLiteral("X_TRAMO"), tramo.codDiho);
    escribirDato(xml, QStringLiteral("X_DEPENDENCIA"), enBlanco(l.aula) ? QString() : l.aula);

    QString unidad;
    if (auto it = ix.grupos.constFind(l.codGrupo); it != ix.grupos.cend()) {
        unidad = it->clave;
        if (enBlanco(oferta)) oferta = it->claveCurso;
    }
    if (enBlanco(materia)) {
        if (auto it = ix.materias.constFind(Par(l.asig, oferta)); it != ix.materias.cend()) {
            materia = *it;
        }
    }
    escribirDato(xml, QStringLiteral("X_UNIDAD"), unidad);
    escribirDato(xml, QStringLiteral("X_OFERTAMATRIG"), oferta);
    escribirDato(xml, QStringLiteral("X_MATERIAOMG"), materia);
    escribirDato(xml, QStringLiteral("F_INICIO"), fechas.fecIni);
    escribirDato(xml, QStringLiteral("F_FIN"), fechas.fecFin);
    const auto lugarTramo = [&](const QString& campo) {
        return [&tramo, &campo] {
            return lugarEnTabla(catalogo::DIASHORAST().nombre, tramo.registro, campo);
        };
    };
    escribirDato(xml, QStringLiteral("N_HORINI"), enLugar(lugarTramo(campo::HORADESDE), [&] {
                     return textoMinutos(tramo.horaDesde, tramo.horIni);
                 }));
    escribirDato(xml, QStringLiteral("N_HORFIN"), enLugar(lugarTramo(campo::HORAHASTA), [&] {
                     return textoMinutos(tramo.horaHasta, tramo.horFin);
                 }));
    if (enBlanco(tarea) && actividadPorDefecto == 1) tarea = QStringLiteral("513");
    escribirDato(xml, QStringLiteral("X_ACTIVIDAD"), tarea);
    xml.cerrar();
    return &tramo != &sinTramo;
}

void exigirCampos(const Tabla& t, std::initializer_list<QString> campos) {
    for (const QString& campo : campos) {
        if (!t.tieneCampo(campo)) {
            throw ErrorTabla(QStringLiteral("La tabla %1 no tiene el campo %2, que la "
                                            "importación necesita.")
                                 .arg(t.nombre(), campo));
        }
    }
}

/// Fails with ErrorTabla when a field of `t` is not of one of `tipos`: the import
/// would read it wrong or not at all (a memo block number as a day, a logical as an
/// hour) and drop every lesson without a word.
void exigirTipos(const Tabla& t, std::initializer_list<QString> campos, const char* tipos,
                 const QString& necesita) {
    for (const QString& campo : campos) {
        const CampoFisico* c = campoFisico(t, campo);
        if (c != nullptr && (c->tipo == '\0' || std::strchr(tipos, c->tipo) == nullptr)) {
            throw ErrorTabla(QStringLiteral("La tabla %1 tiene el campo %2 de tipo %3, y la "
                                            "importación necesita en él %4.")
                                 .arg(t.nombre(), campo, QString(QLatin1Char(c->tipo)), necesita));
        }
    }
}

}  // namespace

int minutosDelDia(const QString& hora) {
    const QString t = hora.size() < 5 ? QStringLiteral("0") + hora : hora;
    return aEntero(t.left(2)) * 60 + aEntero(t.right(2));
}

void comprobarCamposHorarios(const TablasImportacion& tablas) {
    using namespace campo;
    exigirCampos(tablas.soluc, {PROF, DIA, HORA, MARCO, ASIG, CODGRUPO, TAREA, AULA});
    // SOLUC comes from Taviron: its day and slot are numbers, or texts that hold them.
    exigirTipos(tablas.soluc, {DIA, HORA}, "NFIC", QStringLiteral("un número"));
    exigirTipos(tablas.soluc, {PROF, MARCO, ASIG, CODGRUPO, TAREA, AULA}, "C",
                QStringLiteral("un texto"));
    exigirCampos(tablas.proft, {ABREV, X_EMPLEADO, F_TOMAPOS});
    exigirCampos(tablas.asigt, {CASIG, CGRUP, CLAVE, CLAVECURSO});
    exigirCampos(tablas.asignomt, {COD, CODTAREA});
    exigirCampos(tablas.diashorast, {DIHO, MARCO, DIA, CODDIHO, HORADESDE, HORAHASTA});
    exigirCampos(tablas.grupost, {ABREV, CLAVE, CLAVECURSO});
    exigirCampos(tablas.asignomt2, {COD, OFERTAMATRI, MATERIA});
}

QString LeccionesSinTramo::lineas() const {
    if (filas.isEmpty()) return {};
    QString texto = QStringLiteral(
        "Lecciones de SOLUC cuyo día y hora no están en DIASHORAST (se han escrito sin "
        "día ni tramo):\n");
    constexpr int kMostradas = 20;
    for (int k = 0; k < filas.size() && k < kMostradas; ++k)
        texto += QStringLiteral("  %1\n").arg(filas[k]);
    if (filas.size() > kMostradas) {
        texto += QStringLiteral("  … y %1 más\n").arg(filas.size() - kMostradas);
    }
    return texto;
}

LeccionesSinTramo construirHorarios(EscritorXml& resultado, TablasImportacion& tablas,
                                    const FechasPeriodo& fechas, Informe& informe, Avance* avance) {
    const Indices ix = leerIndices(tablas);
    const int actividadPorDefecto = ix.tareas.contains(QStringLiteral("513")) ? 1 : 0;

    Tabla& proft = tablas.proft;
    proft.setIndexFieldNames(QString());

    abrirGrupo(resultado, QStringLiteral("HORARIOS_REGULARES"));
    resultado.atributo(QStringLiteral("registros"), QString::number(proft.recordCount()));

    static const std::vector<int> kSinLecciones;
    LeccionesSinTramo sinTramo;
    const bool conNombre = proft.tieneCampo(campo::NOMBRE);
    const QString solucNombre = catalogo::SOLUC().nombre;
    const auto lugar = [&](int indice) { return Informe::lugar(solucNombre, indice + 1); };
    QSet<QString> conProfesor;
    int escritas = 0;
    int k = 1;
    qint64 recorridas = 0;
    for (proft.first(); !proft.eof(); proft.next()) {
        informarAvance(avance, Avance::Fase::Lecciones, recorridas,
                       static_cast<qint64>(ix.lecciones.size()));
        const QString empleado = proft.asString(campo::X_EMPLEADO);
        const QString tomaPos = proft.asString(campo::F_TOMAPOS);
        const QString abreviatura = proft.asString(campo::ABREV);
        conProfesor.insert(abreviatura);
        const auto it = ix.leccionesDe.constFind(abreviatura);
        const std::vector<int>& suyas = it != ix.leccionesDe.cend() ? *it : kSinLecciones;
        recorridas += static_cast<qint64>(suyas.size());

        abrirGrupo(resultado, QStringLiteral("HORARIO_REGULAR_PROFESOR_") + QString::number(k++));
        int colocadas = 0;
        for (int i : suyas) {
            if (enteroDeLeccion(ix.lecciones[i].dia, i, campo::DIA) != 0) ++colocadas;
        }
        resultado.atributo(QStringLiteral("registros"), QString::number(colocadas));
        escribirDato(resultado, QStringLiteral("X_EMPLEADO"), empleado);
        escribirDato(resultado, QStringLiteral("F_TOMAPOS"), tomaPos);

        int m = 1;
        for (int i : suyas) {
            if (enteroDeLeccion(ix.lecciones[i].dia, i, campo::DIA) == 0) {
                informe.anotar(QStringLiteral("lección saltada: sin colocar (DIA 0)"), lugar(i));
                continue;
            }
            ++escritas;
            if (agregarActividad(resultado, m++, i, ix, fechas, actividadPorDefecto)) continue;
            informe.anotar(QStringLiteral("lección escrita sin día ni tramo: su día y hora no "
                                          "están en DIASHORAST"),
                           lugar(i));
            const Leccion& l = ix.lecciones[i];
            sinTramo.filas << QStringLiteral("registro %1: PROF %2, DIA %3, HORA %4, MARCO %5")
                                  .arg(i + 1)
                                  .arg(recortar(proft.asString(campo::ABREV)), l.dia.texto,
                                       l.hora.texto, recortar(l.marco));
        }
        resultado.cerrar();
        QString linea =
            QStringLiteral("%1 %2 %3")
                .arg(recortar(abreviatura), -12)
                .arg(colocadas, 7)
                .arg(colocadas == 1 ? QStringLiteral("lección") : QStringLiteral("lecciones"));
        // The names line up after the longer "lecciones".
        if (conNombre) {
            linea = linea.leftJustified(linea.size() + (colocadas == 1 ? 2 : 0)) +
                    QStringLiteral("  ") + recortar(proft.asString(campo::NOMBRE));
        }
        informe.agregarLinea(linea);
    }
    resultado.cerrar();
    // Lessons of a teacher PROFT does not have go nowhere; told in SOLUC's order.
    std::vector<int> sinProfesor;
    for (auto it = ix.leccionesDe.cbegin(); it != ix.leccionesDe.cend(); ++it) {
        if (!conProfesor.contains(it.key())) {
            sinProfesor.insert(sinProfesor.end(), it->begin(), it->end());
        }
    }
    std::sort(sinProfesor.begin(), sinProfesor.end());
    for (int i : sinProfesor) {
        informe.anotar(QStringLiteral("lección saltada: su profesor no está en PROFT"), lugar(i));
    }
    // The last moment to stop: past it the result takes the old one's place.
    const auto todas = static_cast<qint64>(ix.lecciones.size());
    informarAvance(avance, Avance::Fase::Lecciones, todas, todas);
    // Not one lesson in its slot: the tables do not belong to this solution (or
    // DIASHORAST lost its rows). A result without a single day or hour is not written.
    if (escritas > 0 && sinTramo.filas.size() == escritas) {
        throw ErrorVarnolo(
            QStringLiteral("Ninguna de las %1 lecciones colocadas en SOLUC tiene su día y su hora "
                           "en DIASHORAST, así que no se ha escrito el resultado. Vuelva a "
                           "exportar los datos desde Velna y a hacer el horario en Taviron, o "
                           "compruebe que SOLUC es la solución de estos datos.")
                .arg(escritas));
    }
    return sinTramo;
}

}  // namespace varnolo
