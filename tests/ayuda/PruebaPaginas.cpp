// The help pages against the program: every window text and message that they quote
// is one the program shows, every message constant is explained, every link and every
// entry of the help project leads somewhere, and the windows' topics exist.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include "app/Ayuda.h"
#include "base/Errores.h"
#include "export/Exportacion.h"
#include "export/SeleccionMarcos.h"
#include "import/Importacion.h"
#include "tests/ayuda/TextosPrograma.h"
#include "velna/DocumentoIntercambio.h"

namespace varnolo::prueba {
namespace {

const QString kFuentes = QStringLiteral(VARNOLO_FUENTES);

QString carpetaAyuda() { return kFuentes + QStringLiteral("/ayuda"); }

QByteArray bytes(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList paginas() {
    return QDir(carpetaAyuda()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString pagina(const QString& nombre) {
    return QString::fromUtf8(bytes(QDir(carpetaAyuda()).filePath(nombre)));
}

/// The project's sections: name → lines, without blanks and comments.
QMap<QString, QStringList> proyecto() {
    QMap<QString, QStringList> secciones;
    QString actual;
    const QString texto = QString::fromLatin1(bytes(carpetaAyuda() + QStringLiteral("/VELNA.hhp")));
    for (QString linea : texto.split(u'\n')) {
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(u';')) continue;
        if (linea.startsWith(u'[') && linea.endsWith(u']')) {
            actual = linea.mid(1, linea.size() - 2).toUpper();
        } else {
            secciones[actual] << linea;
        }
    }
    return secciones;
}

/// Help context → page, from [ALIAS] and [MAP].
QMap<int, QString> mapaContextos() {
    const auto secciones = proyecto();
    QMap<QString, QString> alias;
    for (const QString& l : secciones.value(QStringLiteral("ALIAS"))) {
        alias.insert(l.section(u'=', 0, 0).trimmed(), l.section(u'=', 1).trimmed());
    }
    QMap<int, QString> mapa;
    static const QRegularExpression define(QStringLiteral("^#define\\s+(\\S+)\\s+(\\d+)$"));
    for (const QString& l : secciones.value(QStringLiteral("MAP"))) {
        const auto m = define.match(l);
        if (m.hasMatch()) mapa.insert(m.captured(2).toInt(), alias.value(m.captured(1)));
    }
    return mapa;
}

CatalogoTextos catalogoDelPrograma() {
    QList<TextoPrograma> textos = textosDelPrograma(
        kFuentes, {QStringLiteral("app"), QStringLiteral("data"), QStringLiteral("export"),
                   QStringLiteral("import"), QStringLiteral("cli")});
    // The OK buttons of the main window and of every message box carry Qt's own
    // caption in the user's language.
    textos << TextoPrograma{QCoreApplication::translate("QPlatformTheme", "OK"),
                            QStringLiteral("Qt"), false};
    return CatalogoTextos(textos);
}

TEST(CatalogoTextos, ReconoceLosTextosConSusHuecos) {
    const QList<TextoPrograma> textos = literalesCpp(
        QStringLiteral(R"cpp(
            // "No es un texto" en un comentario
            const QString a = QStringLiteral("No existe archivo");
            throw ErrorTabla(
                QStringLiteral("La tabla %1 está en uso por otro programa (%2)").arg(nombre, ruta));
            inline const QString b = QStringLiteral(
                "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede "
                "seleccionar 5 Marcos Horarios");
            avisar(QStringLiteral("Invalid characters. Field : ") + campo);
            if (c == u'"') texto += '\'';
        )cpp"),
        QStringLiteral("prueba.cpp"));
    ASSERT_EQ(textos.size(), 4);
    EXPECT_EQ(textos[2].texto,
              QStringLiteral("Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede "
                             "seleccionar 5 Marcos Horarios"));
    EXPECT_FALSE(textos[0].seCompleta);
    EXPECT_TRUE(textos[3].seCompleta);

    QList<TextoPrograma> conForma = textos;
    conForma << TextoPrograma{QStringLiteral("&Salir"), QStringLiteral("VentanaPrincipal.ui"),
                              false};
    const CatalogoTextos catalogo(conForma);
    const QString var(QChar(1));
    const struct {
        QString cita;
        bool esDelPrograma;
    } casos[] = {
        {QStringLiteral("No existe archivo"), true},
        {QStringLiteral("No existe el archivo"), false},
        {QStringLiteral("No existe archivo."), false},
        {QStringLiteral("La tabla ") + var + QStringLiteral(" está en uso por otro programa (") +
             var + u')',
         true},
        {QStringLiteral("La tabla PROFT está en uso por otro programa (C:\\QWORK\\PROFT.DBF)"),
         true},
        {QStringLiteral("La tabla PROFT está en uso por otro programa"), false},
        {QStringLiteral("Demasiados Marcos Horarios seleccionados. Como máximo puede seleccionar "
                        "5 Marcos Horarios"),
         true},
        {QStringLiteral("Invalid characters. Field : ") + var, true},
        {QStringLiteral("Invalid characters. Field :"), false},
        {QStringLiteral("Salir"), true},
        {QStringLiteral("&Salir"), true},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(catalogo.contiene(c.cita), c.esDelPrograma) << c.cita.toStdString();
    }
    EXPECT_EQ(textoDeCita(QStringLiteral("La tabla <var>tabla</var>\n   est&aacute;")),
              QStringLiteral("La tabla ") + var + QStringLiteral(" est&aacute;"));
}

TEST(PaginasAyuda, CadaTextoCitadoLoMuestraElPrograma) {
    const CatalogoTextos catalogo = catalogoDelPrograma();
    QStringList ajenas;
    int citas = 0;
    for (const QString& nombre : paginas()) {
        for (const Cita& c : citasDePagina(nombre, pagina(nombre))) {
            ++citas;
            if (!catalogo.contiene(c.texto)) {
                ajenas << c.pagina + u' ' + c.clase + QStringLiteral(": ") +
                              QString(c.texto).replace(QChar(1), QStringLiteral("<var>"));
            }
        }
    }
    EXPECT_GT(citas, 0);
    EXPECT_TRUE(ajenas.isEmpty()) << "Textos citados que el programa no muestra:\n"
                                  << ajenas.join(u'\n').toStdString();
}

TEST(PaginasAyuda, LosMensajesDelProgramaEstanExplicados) {
    QList<Cita> citas;
    for (const QString& nombre : paginas()) citas << citasDePagina(nombre, pagina(nombre));
    const QString mensajes[] = {
        kNoExisteArchivo,
        kProcesoFinalizado,
        kNivelcanNoEncontrado,
        kPeriodosNoEncontrado,
        kProfesoresIncompletos,
        kDemasiadosMarcos,
        kNingunMarco,
        kSinMarcosHorarios,
        ErrorConversion(QStringLiteral("%1")).texto(),
    };
    for (const QString& m : mensajes) {
        const CatalogoTextos uno({TextoPrograma{m, {}, false}});
        bool explicado = false;
        for (const Cita& c : citas) {
            if (c.pagina == QLatin1String("mensajes.html") && uno.contiene(c.texto))
                explicado = true;
        }
        EXPECT_TRUE(explicado) << "mensajes.html no explica: " << m.toStdString();
    }
}

/// Whether `destino` (a page name with an optional #fragment, relative to the help
/// folder) names a file of the folder and, with a fragment, an id of that page.
bool llevaASitio(const QString& destino, const QString& desde) {
    const QString archivo = destino.section(u'#', 0, 0);
    const QString fragmento = destino.section(u'#', 1);
    const QString pag = archivo.isEmpty() ? desde : archivo;
    if (!QDir(carpetaAyuda()).entryList(QDir::Files).contains(pag)) return false;
    if (fragmento.isEmpty()) return true;
    return pagina(pag).contains(QStringLiteral("id=\"%1\"").arg(fragmento));
}

TEST(PaginasAyuda, CadaEnlaceLlevaASuSitio) {
    static const QRegularExpression enlace(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
    QStringList rotos;
    for (const QString& nombre : paginas()) {
        for (auto it = enlace.globalMatch(pagina(nombre)); it.hasNext();) {
            const QString destino = it.next().captured(1);
            if (destino.contains(u':')) {
                rotos << nombre + QStringLiteral(": enlace externo ") + destino;
            } else if (!llevaASitio(destino, nombre)) {
                rotos << nombre + QStringLiteral(": ") + destino;
            }
        }
    }
    // The contents and the index of the compiled help.
    static const QRegularExpression local(
        QStringLiteral("<param name=\"Local\" value=\"([^\"]*)\">"));
    for (const QString& mapa : {QStringLiteral("VELNA.hhc"), QStringLiteral("VELNA.hhk")}) {
        const QString texto = QString::fromLatin1(bytes(carpetaAyuda() + u'/' + mapa));
        EXPECT_TRUE(texto.contains(QLatin1String("Local"))) << mapa.toStdString();
        for (auto it = local.globalMatch(texto); it.hasNext();) {
            const QString destino = it.next().captured(1);
            if (!llevaASitio(destino, {})) rotos << mapa + QStringLiteral(": ") + destino;
        }
    }
    EXPECT_TRUE(rotos.isEmpty()) << "Enlaces rotos:\n" << rotos.join(u'\n').toStdString();
}

TEST(PaginasAyuda, ElProyectoCompilaTodasLasPaginasYLasPoneEnElContenido) {
    const auto secciones = proyecto();
    const QStringList archivos = secciones.value(QStringLiteral("FILES"));
    const QString contenido =
        QString::fromLatin1(bytes(carpetaAyuda() + QStringLiteral("/VELNA.hhc")));
    for (const QString& p : paginas()) {
        EXPECT_TRUE(archivos.contains(p)) << p.toStdString() << " falta en [FILES]";
        EXPECT_TRUE(contenido.contains(QStringLiteral("value=\"%1\"").arg(p)))
            << p.toStdString() << " falta en el contenido";
        EXPECT_TRUE(pagina(p).contains(QLatin1String("href=\"estilo.css\""))) << p.toStdString();
    }
    for (const QString& a : archivos) {
        EXPECT_TRUE(QFile::exists(carpetaAyuda() + u'/' + a)) << a.toStdString();
    }
    EXPECT_TRUE(secciones.value(QStringLiteral("OPTIONS"))
                    .contains(QStringLiteral("Default topic=") + kAyudaContenido.pagina));
}

TEST(PaginasAyuda, CadaVentanaTieneSuTema) {
    const QMap<int, QString> mapa = mapaContextos();
    // The dialogs' contexts open their own pages in the compiled help too.
    for (const TemaAyuda& t : {kAyudaMarcos, kAyudaProfesores}) {
        EXPECT_EQ(mapa.value(t.contexto), t.pagina) << t.contexto;
    }
    // The main window's context is the time-frame dialog's; it must be mapped.
    EXPECT_TRUE(mapa.contains(kAyudaVentanaPrincipal.contexto));
    for (const TemaAyuda& t :
         {kAyudaContenido, kAyudaVentanaPrincipal, kAyudaMarcos, kAyudaProfesores}) {
        EXPECT_TRUE(paginas().contains(t.pagina)) << t.pagina.toStdString();
    }
}

TEST(PaginasAyuda, LaCopiaJuntoAlProgramaEstaAlDia) {
    const QDir copia(QStringLiteral(VARNOLO_BIN) + u'/' + kCarpetaAyuda);
    for (const QString& nombre :
         QDir(carpetaAyuda())
             .entryList({QStringLiteral("*.html"), QStringLiteral("*.css")}, QDir::Files)) {
        EXPECT_EQ(bytes(copia.filePath(nombre)), bytes(QDir(carpetaAyuda()).filePath(nombre)))
            << nombre.toStdString();
    }
}

}  // namespace
}  // namespace varnolo::prueba
