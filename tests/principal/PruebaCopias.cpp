// "Restaurar…" in the free right part of the main window's bottom band, and the dialog
// of the tables' copies: it lists them newest first, restores the chosen one only once
// confirmed, tells how it went, and keeps what it replaced as a new copy.

#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QPushButton>

#include "app/DialogoCopias.h"
#include "export/Exportacion.h"
#include "tests/principal/VentanaPrueba.h"

namespace varnolo::prueba {
namespace {

TEST(Copias, BotonRestaurarEnLaParteLibreDeLaBandaDeAbajo) {
    VentanaPrueba p;
    int veces = 0;
    VentanaPrincipal& v = p.crear({});
    QPushButton* restaurar = p.boton("BotonRestaurar");
    ASSERT_NE(restaurar, nullptr);
    EXPECT_EQ(restaurar->text(), QStringLiteral("&Restaurar…"));
    EXPECT_EQ(restaurar->parentWidget()->objectName(), QStringLiteral("Draw3D1"));
    // Right of every control that was there, inside the band.
    for (const char* otro : {"BClose", "Button1", "Label1"}) {
        const auto* w = v.findChild<QWidget*>(QString::fromLatin1(otro));
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->geometry().intersects(restaurar->geometry())) << otro;
        EXPECT_GT(restaurar->x(), w->geometry().right()) << otro;
    }
    EXPECT_LE(restaurar->geometry().right(), 632);
    EXPECT_LE(restaurar->geometry().bottom(), 96);

    // The click opens the dialog over the work folder.
    VentanaPrueba q;
    DialogosVentana d;
    d.copias = [&](QWidget*, const Entorno& e) {
        ++veces;
        EXPECT_EQ(e.carpetaTrabajo, q.carpetas.trabajo());
    };
    VentanaPrincipal w(q.carpetas.entorno(), {}, d);
    w.findChild<QPushButton*>(QStringLiteral("BotonRestaurar"))->click();
    EXPECT_EQ(veces, 1);
}

TEST(Copias, ElDialogoRestauraLaCopiaElegidaSoloSiSeConfirma) {
    Carpetas c;
    c.instalarNivelcan();
    QList<QMap<QString, QByteArray>> reemplazadas;  // newest first
    for (const char* marco : {"ORD", "JUN", "ORD"}) {
        reemplazadas.prepend(tablasDe(c.trabajo()));
        Entorno e = c.entorno();
        e.reloj = std::make_shared<RelojFijo>(
            QDateTime(QDate(2026, 3, 15), QTime(10, int(reemplazadas.size()), 0)));
        PreguntasPrueba preguntas;
        preguntas.marcos = [&](const MarcosHorarios& m) { return posicionesDe(m, {marco}); };
        ASSERT_TRUE(
            exportar(e, ejemplo(QStringLiteral("centro-marcos.xml")), {}, preguntas).completada());
    }
    // The first export replaced nothing: two copies.
    bool respuesta = false;
    QStringList preguntas, avisos;
    DialogoCopias dialogo(
        nullptr, c.entorno(),
        [&](QWidget*, const QString& pregunta) {
            preguntas << pregunta;
            return respuesta;
        },
        [&](QWidget*, const QString& texto, bool error) {
            avisos << (error ? QStringLiteral("error: ") : QString()) + texto;
        });
    auto* lista = dialogo.findChild<QListWidget*>(QStringLiteral("ListaCopias"));
    auto* boton = dialogo.findChild<QPushButton*>(QStringLiteral("BotonRestaurarCopia"));
    ASSERT_TRUE(lista && boton);
    ASSERT_EQ(lista->count(), 2);
    EXPECT_TRUE(lista->item(0)->text().startsWith(QStringLiteral("15/03/2026 10:03:00")))
        << lista->item(0)->text().toStdString();
    EXPECT_TRUE(lista->item(0)->text().contains(QStringLiteral("centro-marcos.xml")));
    EXPECT_TRUE(lista->item(0)->text().contains(QStringLiteral("(10 tablas)")));
    EXPECT_EQ(dialogo.windowTitle(), QStringLiteral("Copias de las tablas"));

    const QMap<QString, QByteArray> actuales = tablasDe(c.trabajo());
    lista->setCurrentRow(1);  // the older one: the tables of the first export
    boton->click();
    ASSERT_EQ(preguntas.size(), 1);
    EXPECT_TRUE(preguntas[0].contains(QStringLiteral("15/03/2026 10:02:00")))
        << preguntas[0].toStdString();
    EXPECT_TRUE(tablasDe(c.trabajo()) == actuales) << "sin confirmar no cambia nada";
    EXPECT_TRUE(avisos.isEmpty());

    respuesta = true;
    lista->setCurrentRow(1);
    boton->click();
    EXPECT_TRUE(tablasDe(c.trabajo()) == reemplazadas[1]);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_EQ(avisos[0],
              QStringLiteral("Se han restaurado las tablas de la copia del 15/03/2026 10:02:00."));
    // What the restore replaced is the newest copy now.
    ASSERT_EQ(dialogo.copias().size(), 3);
    EXPECT_TRUE(dialogo.copias().first().origen.startsWith(QStringLiteral("antes de restaurar")));

    dialogo.show();
    const QString carpeta = QStringLiteral(VARNOLO_CAPTURAS);
    ASSERT_TRUE(QDir().mkpath(carpeta));
    EXPECT_TRUE(
        dialogo.grab().toImage().save(QDir(carpeta).filePath(QStringLiteral("DialogoCopias.png"))));
}

TEST(Copias, SinCopiasLoDiceYNoSePuedeRestaurar) {
    Carpetas c;
    DialogoCopias dialogo(nullptr, c.entorno(), [](QWidget*, const QString&) {
        ADD_FAILURE() << "no hay nada que confirmar";
        return false;
    });
    auto* lista = dialogo.findChild<QListWidget*>(QStringLiteral("ListaCopias"));
    ASSERT_NE(lista, nullptr);
    ASSERT_EQ(lista->count(), 1);
    EXPECT_EQ(lista->item(0)->text(),
              QStringLiteral("No hay copias de las tablas en la carpeta de trabajo."));
    EXPECT_FALSE(
        dialogo.findChild<QPushButton*>(QStringLiteral("BotonRestaurarCopia"))->isEnabled());
}

}  // namespace
}  // namespace varnolo::prueba
