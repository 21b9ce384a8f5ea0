// The export as one change of the work folder: whatever stops it (a bad value in the
// last section, a full disk at any write, a time-frame question closed, a copy that
// cannot be made) leaves every file as it was; a completed one keeps a copy of what
// it replaced, the last ten copies stay, and a copy restores all at once. A journal
// left by a cut is finished, and a staging folder left before one is dropped.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <optional>

#include "base/Archivos.h"
#include "base/Errores.h"
#include "export/Exportacion.h"
#include "taviron/Copias.h"
#include "taviron/ReservaCarpeta.h"
#include "taviron/Transaccion.h"
#include "tests/comun/Prueba.h"

namespace varnolo::prueba {
namespace {

/// The tables of the folder (no copies, no lock), SOLUC aside.
QMap<QString, QByteArray> tablas(const QString& carpeta) {
    QMap<QString, QByteArray> r = tablasDe(carpeta);
    r.remove(QStringLiteral("SOLUC.DBF"));
    return r;
}

Desenlace exportarCon(const Carpetas& c, const QString& documento, const QStringList& marcos) {
    PreguntasPrueba preguntas;
    preguntas.marcos = [&](const MarcosHorarios& m) { return posicionesDe(m, marcos); };
    return exportar(c.entorno(), documento, {}, preguntas);
}

/// A work folder that an export of ORD has filled, with SOLUC and a file of the
/// school's own beside the tables.
struct Preparada {
    Carpetas c;
    Preparada() {
        c.instalarNivelcan();
        crearSoluc(c.entorno());
        EXPECT_TRUE(
            exportarCon(c, ejemplo(QStringLiteral("centro-marcos.xml")), {"ORD"}).completada());
        escribirBytes(c.trabajo(QStringLiteral("NOTAS.TXT")), "del centro");
    }
};

/// The file operations, failing the nth table write, or every copy made.
class Fallos : public ArchivosQueFallan {
  public:
    bool fallarCopia = false;
    bool copiar(const QString& origen, const QString& destino, QString& motivo) override {
        if (fallarCopia) {
            motivo = QStringLiteral("el disco está lleno");
            return false;
        }
        return Archivos::copiar(origen, destino, motivo);
    }
};

TEST(Transaccion, LoQueDetieneLaExportacionDejaLaCarpetaComoEstaba) {
    // How many table writes a whole export of ORD and JUN takes.
    int escrituras = 0;
    {
        Preparada p;
        ArchivosQueFallan contador;
        const ArchivosInstalados instalados(contador);
        ASSERT_TRUE(exportarCon(p.c, ejemplo(QStringLiteral("centro-marcos.xml")), {"ORD", "JUN"})
                        .completada());
        escrituras = contador.escriturasTabla;
    }
    ASSERT_GT(escrituras, 20);

    QByteArray malo;
    {
        QFile f(ejemplo(QStringLiteral("centro-marcos.xml")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        malo = f.readAll();
        const QByteArray bien = "<dato nombre_dato=\"N_INICIO\">495</dato>";
        ASSERT_TRUE(malo.contains(bien));
        malo.replace(bien, "<dato nombre_dato=\"N_INICIO\">4x5</dato>");
    }

    struct Caso {
        std::string nombre;
        int fallarEscritura = 0;
        bool fallarCopia = false;
        bool cerrarMarcos = false;
        bool documentoMalo = false;
        std::optional<std::pair<Avance::Fase, qint64>> cancelarEn = {};
    };
    std::vector<Caso> casos;
    // A full disk at writes spread over the seven steps, the last one included.
    for (int k = 0; k <= 8; ++k) {
        const int n = std::max(1, escrituras * k / 8);
        casos.push_back({"disco lleno en la escritura " + std::to_string(n), n});
    }
    casos.push_back({"un valor malo en la última sección", 0, false, false, true});
    casos.push_back({"la pregunta de los marcos se cierra", 0, false, true});
    casos.push_back({"la copia de las tablas no se puede hacer", 0, true});
    // "Cancelar" while the document is read, before each step and after the last one.
    casos.push_back({"cancelada al empezar a leer", 0, false, false, false,
                     std::pair{Avance::Fase::Lectura, qint64{0}}});
    casos.push_back({"cancelada a media lectura", 0, false, false, false,
                     std::pair{Avance::Fase::Lectura, qint64{10000}}});
    for (int paso = 0; paso <= 7; ++paso) {
        casos.push_back({"cancelada con " + std::to_string(paso) + " pasos hechos", 0, false, false,
                         false, std::pair{Avance::Fase::Tablas, qint64{paso}}});
    }

    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Preparada p;
        const QMap<QString, QByteArray> antes = archivosDe(p.c.trabajo(), true);
        const QString documento = caso.documentoMalo
                                      ? p.c.escribirDocumento(QStringLiteral("malo.xml"), malo)
                                      : ejemplo(QStringLiteral("centro-marcos.xml"));
        Fallos fallos;
        fallos.fallarEscrituraTabla = caso.fallarEscritura;
        fallos.fallarCopia = caso.fallarCopia;
        PreguntasPrueba preguntas;
        preguntas.marcos = [&](const MarcosHorarios& m) -> QList<int> {
            if (caso.cerrarMarcos) throw ErrorVarnolo(QStringLiteral("cerrada"));
            return posicionesDe(m, {"ORD", "JUN"});
        };
        std::optional<CancelaEn> cancela;
        OpcionesExportacion opciones;
        if (caso.cancelarEn) {
            cancela.emplace(caso.cancelarEn->first, caso.cancelarEn->second);
            opciones.avance = &*cancela;
        }
        Desenlace d;
        {
            const ArchivosInstalados instalados(fallos);
            d = exportar(p.c.entorno(), documento, opciones, preguntas);
        }
        EXPECT_EQ(d.tipo, caso.cancelarEn ? Desenlace::Tipo::Cancelada : Desenlace::Tipo::Fallo)
            << describir(d);
        if (cancela) {
            EXPECT_TRUE(cancela->cancelado);
        }
        // Messages name the work folder's tables, never the staging folder.
        EXPECT_FALSE(d.texto.contains(kCarpetaPreparacion)) << d.texto.toStdString();
        EXPECT_TRUE(archivosDe(p.c.trabajo(), true) == antes);
    }
}

// What the progress shows: every byte of the document read, then the seven steps one
// after the other; the tables are those of an export nobody watched.
TEST(Transaccion, ElAvanceLlegaAlFinal) {
    Preparada vista;
    Preparada sinVer;
    const QString documento = ejemplo(QStringLiteral("centro-marcos.xml"));
    CancelaEn nunca(Avance::Fase::Lecciones, 0);
    PreguntasPrueba preguntas;
    preguntas.marcos = [&](const MarcosHorarios& m) { return posicionesDe(m, {"ORD"}); };
    OpcionesExportacion opciones;
    opciones.avance = &nunca;
    ASSERT_TRUE(exportar(vista.c.entorno(), documento, opciones, preguntas).completada());
    ASSERT_TRUE(exportarCon(sinVer.c, documento, {"ORD"}).completada());
    EXPECT_TRUE(tablas(vista.c.trabajo()) == tablas(sinVer.c.trabajo()));

    const qint64 tamano = QFileInfo(documento).size();
    qint64 leido = -1;
    qint64 pasos = -1;
    for (const CancelaEn::Informe& i : nunca.informes) {
        if (i.fase == Avance::Fase::Lectura) {
            EXPECT_EQ(pasos, -1) << "lectura después de los pasos";
            EXPECT_EQ(i.total, tamano);
            EXPECT_GE(i.hecho, leido);
            leido = i.hecho;
        } else {
            ASSERT_EQ(i.fase, Avance::Fase::Tablas);
            EXPECT_EQ(i.total, 7);
            EXPECT_GE(i.hecho, pasos);
            pasos = i.hecho;
        }
    }
    EXPECT_EQ(leido, tamano);
    EXPECT_EQ(pasos, 7);
}

TEST(Transaccion, CadaExportacionGuardaUnaCopiaYQuedanLasDiezUltimas) {
    Preparada p;
    const QString trabajo = p.c.trabajo();
    QList<QMap<QString, QByteArray>> reemplazadas;
    for (int i = 0; i < kCopiasGuardadas + 2; ++i) {
        reemplazadas.prepend(tablas(trabajo));
        // A different moment each time: the clock moves a minute per export.
        Entorno e = p.c.entorno();
        e.reloj = std::make_shared<RelojFijo>(QDateTime(QDate(2026, 3, 15), QTime(10, 30 + i, 0)));
        PreguntasPrueba preguntas;
        preguntas.marcos = [&](const MarcosHorarios& m) {
            return posicionesDe(m, {i % 2 == 0 ? "JUN" : "ORD"});
        };
        ASSERT_TRUE(
            exportar(e, ejemplo(QStringLiteral("centro-marcos.xml")), {}, preguntas).completada());
    }
    const QList<Copia> copias = listarCopias(trabajo);
    ASSERT_EQ(copias.size(), kCopiasGuardadas);
    for (int i = 0; i < copias.size(); ++i) {
        SCOPED_TRACE(copias[i].nombre.toStdString());
        EXPECT_EQ(copias[i].origen, QStringLiteral("centro-marcos.xml"));
        EXPECT_EQ(copias[i].tablas.size(), 10);
        EXPECT_TRUE(archivosDe(copias[i].ruta, true) == reemplazadas[i]);
    }
    EXPECT_EQ(copias.first().nombre, QStringLiteral("2026-03-15 10-41-00 centro-marcos.xml"));

    // Restoring the newest copy puts back what the last export replaced, and keeps
    // what it replaces as the newest copy.
    const QMap<QString, QByteArray> actuales = tablas(trabajo);
    {
        const ReservaCarpeta reserva(trabajo);
        restaurarCopia(trabajo, copias.first().nombre,
                       QDateTime(QDate(2026, 3, 15), QTime(12, 0, 0)));
    }
    EXPECT_TRUE(tablas(trabajo) == reemplazadas.first());
    const QList<Copia> despues = listarCopias(trabajo);
    ASSERT_EQ(despues.size(), kCopiasGuardadas);
    EXPECT_EQ(despues.first().origen, QStringLiteral("antes de restaurar 2026-03-15 10-41-00"));
    EXPECT_TRUE(archivosDe(despues.first().ruta, true) == actuales);
    EXPECT_FALSE(QFileInfo::exists(QDir(trabajo).filePath(kCarpetaPreparacion)));
    EXPECT_FALSE(QFileInfo::exists(QDir(trabajo).filePath(kArchivoDiario)));
    EXPECT_THROW(restaurarCopia(trabajo, QStringLiteral("no existe"), QDateTime::currentDateTime()),
                 ErrorVarnolo);
}

// What a cut leaves, and what the next start makes of it: a complete journal is
// finished (the new tables), anything else is dropped (the old ones).
TEST(Transaccion, LaSiguienteArrancadaTerminaODeshaceLoQueDejoUnCorte) {
    Preparada p;
    const QString trabajo = p.c.trabajo();
    const QMap<QString, QByteArray> viejas = tablas(trabajo);
    // The new tables: those of an export of JUN, made in another folder.
    Carpetas otra;
    otra.instalarNivelcan();
    ASSERT_TRUE(
        exportarCon(otra, ejemplo(QStringLiteral("centro-marcos.xml")), {"JUN"}).completada());
    const QMap<QString, QByteArray> nuevas = tablas(otra.trabajo());
    ASSERT_FALSE(nuevas == viejas);

    const auto preparar = [&] {
        const QString prep = QDir(trabajo).filePath(kCarpetaPreparacion);
        QDir().mkpath(prep);
        for (auto it = nuevas.cbegin(); it != nuevas.cend(); ++it) {
            escribirBytes(QDir(prep).filePath(it.key()), it.value());
        }
    };
    QByteArray diario = "VARNOLO-DIARIO 1\n";
    for (auto it = nuevas.cbegin(); it != nuevas.cend(); ++it) {
        diario += "MOVER\t" + it.key().toUtf8() + '\t' + it.key().toUtf8() + '\n';
    }
    diario += "FIN\n";

    struct Caso {
        std::string nombre;
        QByteArray diario;  ///< empty: none
        int movidas;        ///< tables already moved before the cut
        bool nuevasAlFinal;
    };
    const Caso casos[] = {
        {"cortada al preparar", {}, 0, false},
        {"diario a medio escribir", diario.left(diario.size() / 2), 0, false},
        {"cortada tras escribir el diario", diario, 0, true},
        {"cortada a mitad de los movimientos", diario, 4, true},
        {"cortada tras el último movimiento", diario, int(nuevas.size()), true},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        for (auto it = viejas.cbegin(); it != viejas.cend(); ++it) {
            escribirBytes(QDir(trabajo).filePath(it.key()), it.value());
        }
        preparar();
        int n = 0;
        for (auto it = nuevas.cbegin(); it != nuevas.cend() && n < caso.movidas; ++it, ++n) {
            QFile::remove(QDir(trabajo).filePath(it.key()));
            ASSERT_TRUE(QFile::rename(QDir(trabajo).filePath(kCarpetaPreparacion + u'/' + it.key()),
                                      QDir(trabajo).filePath(it.key())));
        }
        if (!caso.diario.isEmpty())
            escribirBytes(QDir(trabajo).filePath(kArchivoDiario), caso.diario);
        QDir().mkpath(QDir(trabajo).filePath(kCarpetaCopias + QStringLiteral("/x.parcial")));

        recuperarCarpetaSiLibre(trabajo);
        EXPECT_TRUE(tablas(trabajo) == (caso.nuevasAlFinal ? nuevas : viejas));
        EXPECT_FALSE(QFileInfo::exists(QDir(trabajo).filePath(kCarpetaPreparacion)));
        EXPECT_FALSE(QFileInfo::exists(QDir(trabajo).filePath(kArchivoDiario)));
        EXPECT_FALSE(QFileInfo::exists(
            QDir(trabajo).filePath(kCarpetaCopias + QStringLiteral("/x.parcial"))));
        EXPECT_EQ(archivosDe(trabajo, true).value(QStringLiteral("NOTAS.TXT")),
                  QByteArray("del centro"));
    }
}

}  // namespace
}  // namespace varnolo::prueba
