// Step 7 of the export: the school's days, time slots and the period of the first
// chosen time frame, into DIASHORAST, DIASHORAST2 and PERIODOS.

#include <QList>
#include <algorithm>

#include "base/Errores.h"
#include "export/CadenaExportacion.h"
#include "export/Secciones.h"
#include "export/SeleccionMarcos.h"
#include "velna/Sobre.h"

namespace varnolo {

namespace {

/// A minute count as "hh:mm": hours rounded down, not wrapped at 24; each part
/// gets a leading "0" when it has fewer than two characters.
QString textoReloj(int minutos) {
    const qint64 horas = (qint64(minutos) - ((minutos % 60 + 60) % 60)) / 60;
    const int resto = (minutos % 60 + 60) % 60;
    auto dos = [](const QString& t) { return t.size() < 2 ? QStringLiteral("0") + t : t; };
    return dos(QString::number(horas)) + u':' + dos(QString::number(resto));
}

/// The chosen frames: the five codes and the day count of the numbering.
struct Eleccion {
    std::array<QString, 5> codigos;
    int nDiasPlanti = 1;
};

bool elegido(const Eleccion& e, const QString& marco) {
    return std::find(e.codigos.begin(), e.codigos.end(), marco) != e.codigos.end();
}

}  // namespace

void CadenaExportacion::ExportarDiasHoras() {
    // 1. The three tables, recreated empty before anything is asked.
    estado_.carpeta.recrear(
        {&catalogo::DIASHORAST(), &catalogo::DIASHORAST2(), &catalogo::PERIODOS()});

    // 2. Which time frames: the only one, those given in advance, or those the user
    // accepts.
    const QList<Registro> marcos = documento().registros(seccion::JORNADAS_ESCOLARES);
    if (marcos.isEmpty()) throw ErrorVarnolo(kSinMarcosHorarios);
    Eleccion eleccion;
    if (marcos.size() == 1) {
        // The code is the only one chosen, held to 10 characters like any other.
        eleccion.codigos[0] = marcos.front().dato(0).left(10);
        eleccion.nDiasPlanti = 1;
    } else {
        const SeleccionMarcos seleccion =
            estado_.opciones.marcos ? seleccionarMarcosDe(documento(), *estado_.opciones.marcos)
                                    : preguntarMarcos(documento(), estado_.preguntas);
        eleccion.codigos = codigosElegidos(seleccion.resultado);
        // The days of the numbering: one for a single frame, else one per listed frame.
        eleccion.nDiasPlanti =
            seleccion.resultado.size() <= 10 ? 1 : std::max(1, seleccion.entradas);
    }

    // 3. The chosen slots into DIASHORAST2, with the day of their place in the cycle.
    {
        Tabla t2 = estado_.carpeta.abrir(catalogo::DIASHORAST2(), Acceso::Exclusiva);
        int dia = 1;
        int registro = 0;
        for (const Registro& r : documento().registros(seccion::TRAMOS_HORARIOS)) {
            ++registro;
            if (r.count() < 2) {
                saltado(seccion::TRAMOS_HORARIOS, registro, kRegistroCorto);
                continue;
            }
            const QString marco = r.dato(4).left(10);
            if (elegido(eleccion, marco)) {
                const auto lugar = [&] {
                    return lugarEnDocumento(seccion::TRAMOS_HORARIOS, registro);
                };
                const int desde = enLugar(lugar, [&] { return aEntero(r.dato(2)); });
                const int hasta = enLugar(lugar, [&] { return aEntero(r.dato(3)); });
                agregarFila(t2, [&](Tabla& f) {
                    const TextosFila texto(f, estado_.informe,
                                           LugarRegistro{seccion::TRAMOS_HORARIOS, registro});
                    texto(campo::DIHO, QString());
                    texto(campo::CODDIHO, r.dato(0));
                    texto(campo::DIA, QString::number(dia));
                    texto(campo::HORA, QString());
                    texto(campo::TEXTOHOR, r.dato(1));
                    texto(campo::HORADESDE, textoReloj(desde));
                    texto(campo::HORAHASTA, textoReloj(hasta));
                    texto(campo::MINUTOS, QString::number(qint64(hasta) - desde));
                    texto(campo::MARCOXML, marco);
                    f.setInteger(campo::ORDEN, desde);
                });
            }
            dia = dia == eleccion.nDiasPlanti ? 1 : dia + 1;
        }

        // 4. The grid cells, walking the slots by start minute.
        t2.setIndexFieldNames(campo::ORDEN);
        t2.first();
        int ultimoInicio = t2.eof() ? 0 : t2.asInteger(campo::ORDEN);
        Tabla t1 = estado_.carpeta.abrir(catalogo::DIASHORAST(), Acceso::Exclusiva);
        auto agregarCelda = [&](const QString& dia, int hora) {
            agregarFila(t1, [&](Tabla& f) {
                f.setString(campo::DIHO, dia + QString::number(hora));
                for (const QString& nombre : {campo::CODDIHO, campo::TEXTOHOR, campo::HORADESDE,
                                              campo::HORAHASTA, campo::MINUTOS, campo::MARCOXML}) {
                    f.setString(nombre, t2.asString(nombre));
                }
                f.setString(campo::DIA, dia);
                f.setString(campo::HORA, QString::number(hora));
                f.setString(campo::MARCO, QStringLiteral("0"));
            });
        };
        if (eleccion.nDiasPlanti == 1) {
            // Every slot is its own hour, on all seven days of the week.
            int hora = 0;
            for (; !t2.eof(); t2.next()) {
                ++hora;
                for (int d = 1; d <= 7; ++d) agregarCelda(QString::number(d), hora);
            }
        } else {
            // Slots that start at the same minute share an hour, whatever their day.
            int hora = 1;
            for (; !t2.eof(); t2.next()) {
                const int orden = t2.asInteger(campo::ORDEN);
                if (orden > ultimoInicio) {
                    ++hora;
                    ultimoInicio = orden;
                }
                agregarCelda(t2.asString(campo::DIA), hora);
            }
        }
        t1.close();
        t2.close();
    }

    // 5. The period of the first chosen frame.
    Tabla periodos = estado_.carpeta.abrir(catalogo::PERIODOS(), Acceso::Exclusiva);
    int registro = 0;
    for (const Registro& r : marcos) {
        ++registro;
        if (r.dato(0) != eleccion.codigos[0]) continue;
        agregarFila(periodos, [&](Tabla& f) {
            const TextosFila texto(f, estado_.informe,
                                   LugarRegistro{seccion::JORNADAS_ESCOLARES, registro});
            texto(campo::CJORNADA, r.dato(0));
            texto(campo::JORNADA, r.dato(1));
            texto(campo::FECINI, r.dato(2));
            texto(campo::FECFIN, r.dato(3));
        });
    }
    periodos.close();
}

}  // namespace varnolo
