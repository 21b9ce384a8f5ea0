#include "export/SeleccionMarcos.h"

#include <algorithm>

#include "base/Errores.h"
#include "base/Textos.h"
#include "export/Secciones.h"
#include "velna/Sobre.h"

namespace varnolo {

QStringList listaDeMarcos(const SeccionesDocumento& documento) {
    QStringList lista;
    for (const Registro& r : documento.registros(seccion::JORNADAS_ESCOLARES)) {
        lista << r.datoSinRecortar(0);
    }
    return lista;
}

MarcosHorarios leerMarcosHorarios(const SeccionesDocumento& documento) {
    MarcosHorarios m;
    for (const Registro& r : documento.registros(seccion::JORNADAS_ESCOLARES)) {
        m.jornadas.push_back({r.datoSinRecortar(0), r.datoSinRecortar(1), r.datoSinRecortar(2),
                              r.datoSinRecortar(3)});
    }
    for (const Registro& r : documento.registros(seccion::TRAMOS_HORARIOS)) {
        m.tramos.push_back({r.datoSinRecortar(1), r.datoSinRecortar(4)});
    }
    return m;
}

CierreMarcos cerrarSeleccionMarcos(const QStringList& entradas, const QList<bool>& seleccionadas) {
    CierreMarcos c;
    c.seleccion.entradas = static_cast<int>(entradas.size());
    const auto elegidas = std::count(seleccionadas.begin(), seleccionadas.end(), true);
    c.seleccion.resultMH = true;
    if (elegidas > 5) {
        c.mensaje = kDemasiadosMarcos;
        c.seleccion.resultMH = false;
    } else if (elegidas == 0) {
        c.mensaje = kNingunMarco;
        c.seleccion.resultMH = false;
    }
    for (qsizetype i = 0; i < entradas.size() && i < seleccionadas.size(); ++i) {
        if (seleccionadas[i]) c.seleccion.resultado += entradas[i].leftJustified(10, u' ', true);
    }
    return c;
}

std::array<QString, 5> codigosElegidos(const QString& resultado) {
    std::array<QString, 5> codigos;
    const int columnas = resultado.size() <= 10 ? 1 : 5;
    for (int i = 0; i < columnas; ++i) codigos[i] = recortar(resultado.mid(i * 10, 10));
    return codigos;
}

SeleccionMarcos seleccionarMarcosDe(const SeccionesDocumento& documento,
                                    const QStringList& marcos) {
    const QStringList entradas = listaDeMarcos(documento);
    if (entradas.isEmpty()) throw ErrorVarnolo(kSinMarcosHorarios);

    QStringList codigos;
    for (const QString& e : entradas) codigos << recortar(e);
    // A code that names no frame is told as such, before the rule about how many
    // frames are selected would hide it.
    for (const QString& m : marcos) {
        if (!entradas.contains(m) && !codigos.contains(m)) {
            throw ErrorVarnolo(
                QStringLiteral("El marco horario \"%1\" no está en el documento (%2).")
                    .arg(m, codigos.join(QStringLiteral(", "))));
        }
    }
    if (marcos.isEmpty() && entradas.size() >= 2) {
        throw ErrorVarnolo(QStringLiteral("El documento tiene varios marcos horarios (%1): "
                                          "indique cuáles exportar con --marco CODIGO.")
                               .arg(codigos.join(QStringLiteral(", "))));
    }

    QList<bool> seleccionadas;
    for (qsizetype i = 0; i < entradas.size(); ++i) {
        seleccionadas << (marcos.contains(entradas[i]) || marcos.contains(codigos[i]));
    }
    CierreMarcos cierre = cerrarSeleccionMarcos(entradas, seleccionadas);
    if (!cierre.seleccion.resultMH) throw ErrorVarnolo(cierre.mensaje);
    return cierre.seleccion;
}

SeleccionMarcos preguntarMarcos(const SeccionesDocumento& documento, Preguntas& preguntas) {
    const MarcosHorarios marcos = leerMarcosHorarios(documento);
    const QStringList entradas = marcos.entradas();
    for (;;) {
        QList<bool> seleccionadas(entradas.size(), false);
        for (const int i : preguntas.elegirMarcos(marcos)) {
            if (i >= 0 && i < seleccionadas.size()) seleccionadas[i] = true;
        }
        const CierreMarcos cierre = cerrarSeleccionMarcos(entradas, seleccionadas);
        if (cierre.seleccion.resultMH) return cierre.seleccion;
    }
}

}  // namespace varnolo
