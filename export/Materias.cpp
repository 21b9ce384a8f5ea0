// Steps 1 and 2: the subjects of MATERIAS into ASIGNOMT (one row per distinct
// subject, with a unique short code) and ASIGNOMT2 (one row per offering), then the
// activities of ACTIVIDADES appended to ASIGNOMT.

#include <QHash>
#include <QSet>

#include "base/Textos.h"
#include "export/Abreviaturas.h"
#include "export/CadenaExportacion.h"
#include "export/FormaAlmacenada.h"
#include "export/ReglasTexto.h"
#include "export/Secciones.h"
#include "velna/Sobre.h"

namespace varnolo {

namespace {

const QString kActividadPorDefecto = QStringLiteral("513");

// Field widths of ASIGNOMT and ASIGNOMT2 that the lookups compare on.
constexpr int kAnchoCod = 10;
constexpr int kAnchoCodLargo = 10;
constexpr int kAnchoNombre = 80;
constexpr int kAnchoClave = 20;

// What the two tables hold so far, kept beside them so that each lookup is a hash
// probe instead of a scan; every key is in the form the table stores.
struct ContenidoMaterias {
    // ASIGNOMT2: every (MATERIA, OFERTAMATRI) pair written.
    QSet<std::pair<QString, QString>> ofertas;
    // ASIGNOMT: the COD of the first row for each (CODLARGO, NOMBRE).
    QHash<std::pair<QString, QString>, QString> codigoPorCodLargoNombre;
    // ASIGNOMT: every COD written, so that two short codes never store alike.
    QSet<QString> codigosAlmacenados;

    static std::pair<QString, QString> oferta(const QString& materia, const QString& oferta) {
        return {formaAlmacenada(materia, kAnchoClave), formaAlmacenada(oferta, kAnchoClave)};
    }
    static std::pair<QString, QString> codLargoNombre(const QString& codLargo,
                                                      const QString& nombre) {
        return {formaAlmacenada(codLargo, kAnchoCodLargo), formaAlmacenada(nombre, kAnchoNombre)};
    }
};

struct Materia {
    QString oferta;    // item 0
    QString materia;   // item 1
    QString nombre;    // item 2
    QString codLargo;  // item 3, or the start of the name
};

void escribirAsignomt(Tabla& t, const QString& cod, const Materia& m, Informe& informe,
                      const LugarRegistro& lugar) {
    agregarFila(t, [&](Tabla& f) {
        const TextosFila texto(f, informe, lugar);
        texto(campo::COD, cod);
        texto(campo::CODLARGO, m.codLargo);
        texto(campo::NOMBRE, m.nombre);
        f.setBoolean(campo::ESTAREA, false);
    });
}

void escribirAsignomt2(Tabla& t, const QString& cod, const Materia& m, Informe& informe,
                       const LugarRegistro& lugar) {
    agregarFila(t, [&](Tabla& f) {
        const TextosFila texto(f, informe, lugar);
        texto(campo::COD, cod);
        texto(campo::CODLARGO, m.codLargo);
        texto(campo::NOMBRE, m.nombre);
        texto(campo::MATERIA, m.materia);
        texto(campo::OFERTAMATRI, m.oferta);
        f.setBoolean(campo::ESTAREA, false);
    });
}

}  // namespace

void CadenaExportacion::ExportarMaterias() {
    ListasMaterias& listas = estado_.listas;

    estado_.carpeta.recrear({&catalogo::ASIGNOMT()});
    estado_.carpeta.recrear({&catalogo::ASIGNOMT2()});

    const QList<Registro> registros = documento().registros(seccion::MATERIAS);
    Tabla asignomt = estado_.carpeta.abrir(catalogo::ASIGNOMT(), Acceso::Compartida);
    Tabla asignomt2 = estado_.carpeta.abrir(catalogo::ASIGNOMT2(), Acceso::Compartida);

    ContenidoMaterias tablas;
    Sufijador sufijador;
    const auto codigoOcupado = [&](const QString& c) {
        return listas.listaCodigos.count(c) > 0 ||
               tablas.codigosAlmacenados.contains(formaAlmacenada(c, kAnchoCod));
    };

    int registro = 0;
    for (const Registro& r : registros) {
        ++registro;
        if (r.count() < 2) {
            saltado(seccion::MATERIAS, registro, kRegistroCorto);
            continue;
        }
        const LugarRegistro lugar{seccion::MATERIAS, registro};
        Materia m;
        const QString codigo = r.dato(3);
        m.nombre = r.dato(2);
        m.materia = r.dato(1);
        m.oferta = r.dato(0);
        m.codLargo = codigo.isEmpty() ? m.nombre.left(10) : codigo;
        const QString primera = m.codLargo.left(10);
        const QString nombreMayusculas = mayusculasAscii(m.nombre);
        const QString codNombre = m.codLargo + m.nombre;

        const bool repetida = listas.listaNombres.count(nombreMayusculas) > 0 &&
                              listas.listaCodLargos.count(m.codLargo) > 0 &&
                              listas.listaCodNombres.count(codNombre) > 0;
        if (repetida) {
            const auto oferta = ContenidoMaterias::oferta(m.materia, m.oferta);
            if (tablas.ofertas.contains(oferta)) {
                saltado(seccion::MATERIAS, registro,
                        QStringLiteral("materia y oferta ya escritas"));
                continue;
            }
            const auto existente = tablas.codigoPorCodLargoNombre.constFind(
                ContenidoMaterias::codLargoNombre(m.codLargo, m.nombre));
            if (existente == tablas.codigoPorCodLargoNombre.constEnd()) {
                saltado(seccion::MATERIAS, registro,
                        QStringLiteral("materia repetida sin fila propia en ASIGNOMT"));
                continue;
            }
            escribirAsignomt2(asignomt2, *existente, m, estado_.informe, lugar);
            tablas.ofertas.insert(oferta);
            continue;
        }

        listas.listaNombres.insert(nombreMayusculas);  // a set keeps one of each
        listas.listaCodLargos.insert(m.codLargo);
        listas.listaCodNombres.insert(codNombre);
        const QString cod = sufijador.hacerUnica(primera, codigoOcupado, candidatoDiez);
        listas.listaCodigos.insert(cod);
        // A code cut to 10 characters is told by its CODLARGO, cut alike.
        if (cod != primera)
            hechoUnico(seccion::MATERIAS, registro, catalogo::ASIGNOMT().nombre, campo::COD);

        escribirAsignomt(asignomt, cod, m, estado_.informe, lugar);
        escribirAsignomt2(asignomt2, cod, m, estado_.informe, lugar);
        const QString codAlmacenado = formaAlmacenada(cod, kAnchoCod);
        tablas.codigosAlmacenados.insert(codAlmacenado);
        const auto clave = ContenidoMaterias::codLargoNombre(m.codLargo, m.nombre);
        if (!tablas.codigoPorCodLargoNombre.contains(clave)) {
            tablas.codigoPorCodLargoNombre.insert(clave, codAlmacenado);  // the first row wins
        }
        tablas.ofertas.insert(ContenidoMaterias::oferta(m.materia, m.oferta));
    }
    asignomt.close();
    asignomt2.close();
}

void CadenaExportacion::ExportarActividades() {
    estado_.actividadPorDefecto = 0;

    const QList<Registro> registros = documento().registros(seccion::ACTIVIDADES);
    Tabla asignomt = estado_.carpeta.abrir(catalogo::ASIGNOMT(), Acceso::Compartida);
    int registro = 0;
    for (const Registro& r : registros) {
        ++registro;
        if (r.count() < 2) {
            saltado(seccion::ACTIVIDADES, registro, kRegistroCorto);
            continue;
        }
        const QString nombre = r.dato(2);
        const QString codigo = r.dato(1);
        agregarFila(asignomt, [&](Tabla& f) {
            const TextosFila texto(f, estado_.informe,
                                   LugarRegistro{seccion::ACTIVIDADES, registro});
            texto(campo::COD, codigo);
            texto(campo::CODLARGO, nombre.left(10));
            texto(campo::NOMBRE, nombre);
            texto(campo::CODTAREA, codigo);
            f.setBoolean(campo::ESTAREA, true);
        });
        if (codigo == kActividadPorDefecto) estado_.actividadPorDefecto = 1;
    }
    asignomt.close();
    estado_.listas.vaciar();
}

}  // namespace varnolo
