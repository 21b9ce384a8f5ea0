// The import run: file choice, checks and their messages, the result document's
// envelope and header, the teacher data check, the save.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "base/Errores.h"
#include "dbf/Tabla.h"
#include "export/Exportacion.h"
#include "import/Importacion.h"
#include "tests/comun/Prueba.h"
#include "tests/importacion/MesaTrabajo.h"
#include "xml/DocumentoXml.h"

namespace varnolo {
namespace {

using prueba::agregarFilas;

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Overwrites the first occurrence of `antes` in the file with `despues` (same length):
/// values that our engine never writes, as another program may leave them.
void sustituirBytes(const QString& ruta, const QByteArray& antes, const QByteArray& despues) {
    ASSERT_EQ(antes.size(), despues.size());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray contenido = f.readAll();
    const qsizetype en = contenido.indexOf(antes);
    ASSERT_GE(en, 0);
    contenido.replace(en, antes.size(), despues);
    ASSERT_TRUE(f.seek(0));
    ASSERT_EQ(f.write(contenido), contenido.size());
}

/// Sets the type byte of field `indice` (from 0) of a dBase IV table, as another
/// program may have written it.
void cambiarTipo(const QString& ruta, int indice, char tipo) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(32 + 32 * indice + 11));
    ASSERT_EQ(f.write(&tipo, 1), 1);
}

/// Preparation of a case: one lesson in SOLUC, whose field `indice` then gets the
/// type byte `tipo`.
std::function<void(const Entorno&)> conTipo(int indice, char tipo) {
    return [indice, tipo](const Entorno& e) {
        agregarFilas(e, "SOLUC", {{"P1", "1", "3", "0", "MAT", "G1"}});
        cambiarTipo(e.rutaTrabajo("SOLUC.DBF"), indice, tipo);
    };
}

class Importacion : public ::testing::Test {
  protected:
    prueba::Carpetas carpetas;
    prueba::PreguntasPrueba ui;
    Desenlace desenlace;

    void SetUp() override {
        prueba::crearMesaVacia(carpetas.entorno());
        agregarFilas(carpetas.entorno(), "PROFT", {{"P1", "Uno", "", "", "", "E1", "01/09/2018"}});
        agregarFilas(carpetas.entorno(), "DIASHORAST",
                     {{"13", "T13", "1", "", "3", "", "08:30", "09:25", "55", "0"}});
        agregarFilas(carpetas.entorno(), "SOLUC", {{"P1", "1", "3", "0", "MAT", "G1"}});
    }

    QString documento(const QByteArray& contenido =
                          prueba::documentoIntercambio({}, QStringLiteral("2025/2026"))) {
        return carpetas.escribirDocumento(QStringLiteral("datos.xml"), contenido);
    }

    /// Runs the import of `doc`; its outcome is kept in `desenlace`.
    void importar(const QString& doc) {
        desenlace = varnolo::importar(carpetas.entorno(), doc, ui);
    }
};

TEST_F(Importacion, SinDocumentoAvisaSinTocarNada) {
    const QByteArray soluc = leer(carpetas.trabajo("SOLUC.DBF"));
    for (const QString& doc :
         {QString(), carpetas.programa("no-existe.xml"), carpetas.programa()}) {
        SCOPED_TRACE(doc.toStdString());
        importar(doc);
        EXPECT_EQ(desenlace.tipo, Desenlace::Tipo::Aviso);
        EXPECT_EQ(desenlace.motivo, Desenlace::Motivo::DocumentoInexistente);
        EXPECT_EQ(desenlace.texto, kNoExisteArchivo);
    }
    EXPECT_EQ(leer(carpetas.trabajo("SOLUC.DBF")), soluc);
}

TEST_F(Importacion, SinPeriodosAvisaYNoGuarda) {
    QFile::remove(carpetas.trabajo("PERIODOS.DBF"));
    const QString doc = documento();
    importar(doc);
    EXPECT_EQ(desenlace.tipo, Desenlace::Tipo::Aviso);
    EXPECT_EQ(desenlace.motivo, Desenlace::Motivo::PeriodosInexistentes);
    EXPECT_EQ(desenlace.texto, kPeriodosNoEncontrado);
    EXPECT_FALSE(QFile::exists(rutaResultado(doc)));

    CarpetaTrabajo(carpetas.entorno()).recrear({&catalogo::PERIODOS()});
    importar(doc);
    EXPECT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
    EXPECT_EQ(desenlace.texto, kProcesoFinalizado);
    EXPECT_TRUE(QFile::exists(rutaResultado(doc)));
}

TEST_F(Importacion, CabeceraAnnoYNombreDelResultado) {
    struct Caso {
        QString primeraSeccion;
        QString anno;
    };
    for (const Caso& c : {Caso{"2018/2019", "2018"}, Caso{"201", "201"}}) {
        SCOPED_TRACE(c.primeraSeccion.toStdString());
        const QString doc = documento(prueba::documentoIntercambio(
            {{"MATERIAS", {{"OF1", "M1", "Mates"}}}}, c.primeraSeccion));
        QFile viejo(rutaResultado(doc));
        ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
        viejo.write("resultado anterior");
        viejo.close();

        importar(doc);
        ASSERT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
        const QString texto = QString::fromUtf8(leer(rutaResultado(doc)));
        const QDateTime ahora = carpetas.entorno().ahora();
        const QString fecha = QLocale::system().toString(ahora.date(), QLocale::ShortFormat) + " " +
                              QLocale::system().toString(ahora.time(), QLocale::LongFormat);
        EXPECT_TRUE(texto.contains(QStringLiteral("<SERVICIO modulo=\"HORARIOS\" tipo=\"I\" "
                                                  "autor=\"VELNA\" fecha=\"%1\">")
                                       .arg(fecha)))
            << texto.toStdString();
        EXPECT_FALSE(texto.contains("MATERIAS"));
        DocumentoXml r;
        ASSERT_TRUE(r.load(rutaResultado(doc)));
        const auto secciones = r.selectNodes("/SERVICIO/BLOQUE_DATOS/grupo_datos");
        ASSERT_EQ(secciones.size(), 2u);
        EXPECT_EQ(secciones[0].attribute("seq"), "ANNO_ACADEMICO");
        EXPECT_EQ(secciones[0].attribute("registros"), "");
        EXPECT_EQ(secciones[1].attribute("seq"), "HORARIOS_REGULARES");
        const NodoXml anno =
            r.selectSingleNode("/SERVICIO/BLOQUE_DATOS/grupo_datos[@seq=\"ANNO_ACADEMICO\"]/dato");
        EXPECT_EQ(anno.attribute("nombre_dato"), "C_ANNO");
        EXPECT_EQ(anno.text(), c.anno);
        // only the first PERIODOS row counts
        EXPECT_EQ(r.selectSingleNode("//dato[@nombre_dato=\"F_INICIO\"]").text(), "01/09/2025");
        EXPECT_EQ(ui.vecesProfesores, 0);
    }
}

TEST(RutaResultado, JuntoAlDocumentoElegido) {
    EXPECT_EQ(rutaResultado("/srv/Centro/datos.xml"), "/srv/Centro/ResultadoZentordatos.xml");
    EXPECT_EQ(rutaResultado("/a/plan.xml"), "/a/ResultadoZentorplan.xml");
}

TEST_F(Importacion, DeclaracionYComentariosSeConservanAntesDeLaNuevaRaiz) {
    agregarFilas(carpetas.entorno(), "SOLUC", {{"P1", "1", "3", "0", "MAT", "G1", "", "AÑO"}});
    const QByteArray entrada =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- de Velna -->\n"
        "<SERVICIO><BLOQUE_DATOS><grupo_datos seq=\"A\"><dato>2018/2019 \xd1</dato>"
        "</grupo_datos></BLOQUE_DATOS></SERVICIO>\n<!-- fin de Velna -->\n";
    const QString doc = documento(entrada);
    importar(doc);
    ASSERT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
    const QByteArray salida = leer(rutaResultado(doc));
    EXPECT_TRUE(
        salida.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                          "<!-- de Velna -->\n<!-- fin de Velna -->\n<SERVICIO "))
        << salida.left(120).toStdString();
    // the new root is the document's last child
    EXPECT_TRUE(salida.endsWith("</SERVICIO>\n")) << salida.right(80).toStdString();
    EXPECT_TRUE(salida.contains("A\xd1O")) << "Latin-1 bytes expected";
    EXPECT_FALSE(salida.contains("A\xc3\x91O"));
}

TEST_F(Importacion, DocumentoSinSobreNoDejaResultado) {
    for (const QByteArray& contenido :
         {QByteArray("esto no es XML <"),
          QByteArray("<OTRO><BLOQUE_DATOS><x/></BLOQUE_DATOS></OTRO>"),
          QByteArray("<SERVICIO><BLOQUE_DATOS/></SERVICIO>"), QByteArray("<SERVICIO/>")}) {
        SCOPED_TRACE(contenido.toStdString());
        const QString doc = documento(contenido);
        importar(doc);
        EXPECT_EQ(desenlace.tipo, Desenlace::Tipo::Fallo);
        EXPECT_FALSE(QFile::exists(rutaResultado(doc)));
    }
}

TEST_F(Importacion, ProfesorIncompleto) {
    struct Caso {
        const char* nombre;
        bool completa;   // the dialog stand-in completes F_TOMAPOS
        bool respuesta;  // the dialog's result
    };
    for (const Caso& c : {Caso{"completado", true, true}, Caso{"sin completar", false, false}}) {
        SCOPED_TRACE(c.nombre);
        prueba::Carpetas otras;
        prueba::crearMesaVacia(otras.entorno());
        agregarFilas(otras.entorno(), "PROFT",
                     {{"P1", "Uno", "", "", "", "E1", "01/09/2018"},
                      {"P2", "Dos", "", "", "", "E2", "   "}});
        prueba::PreguntasPrueba i;
        i.profesores = [&](const Entorno& e) {
            if (c.completa) {
                Tabla proft(e.carpetaTrabajo, "proft.dbf");
                proft.open();
                proft.next();
                proft.edit();
                proft.setString("F_TOMAPOS", "31/02/2018");
                proft.post();
            }
            return c.respuesta;
        };
        const QString doc =
            otras.escribirDocumento("d.xml", prueba::documentoIntercambio({}, "2025"));
        const Desenlace d = varnolo::importar(otras.entorno(), doc, i);
        EXPECT_EQ(i.vecesProfesores, 1);
        if (c.completa) {
            EXPECT_TRUE(d.completada()) << prueba::describir(d);
            DocumentoXml r;
            ASSERT_TRUE(r.load(rutaResultado(doc)));
            EXPECT_EQ(r.selectSingleNode("//grupo_datos[@seq=\"HORARIO_REGULAR_PROFESOR_2\"]/"
                                         "dato[@nombre_dato=\"F_TOMAPOS\"]")
                          .text(),
                      "31/02/2018");
        } else {
            EXPECT_EQ(d.tipo, Desenlace::Tipo::Aviso);
            EXPECT_EQ(d.motivo, Desenlace::Motivo::ProfesoresIncompletos);
            EXPECT_EQ(d.texto, kProfesoresIncompletos);
            EXPECT_FALSE(QFile::exists(rutaResultado(doc)));
        }
    }
}

TEST_F(Importacion, ErroresTerminanSinGuardar) {
    struct Caso {
        const char* nombre;
        std::function<void(const Entorno&)> preparar;
        QStringList enElMensaje;
    };
    const QList<Caso> casos = {
        {"hora no entera",
         [](const Entorno& e) {
             agregarFilas(e, "DIASHORAST",
                          {{"12", "T12", "1", "", "2", "", "8:3", "09:25", "55", "0"}});
             agregarFilas(e, "SOLUC", {{"P1", "1", "2", "0", "MAT", "G1"}});
         },
         {"':3' is not a valid integer value\nEn la tabla DIASHORAST: registro 1, campo "
          "HORADESDE."}},
        {"DIA de texto no entero",
         [](const Entorno& e) {
             prueba::crearSoluc(e, /*diaHoraTexto=*/true);
             agregarFilas(e, "SOLUC",
                          {{"P1", "1", "3", "0", "MAT", "G1"}, {"P1", "x", "3", "0", "MAT", "G1"}});
         },
         {"'x' is not a valid integer value\nEn la tabla SOLUC: registro 2, campo DIA."}},
        // The result is written as it is built: the error comes at the last teacher,
        // long after the first part of the result went to its temporary file.
        {"DIA no entero del ultimo de muchos profesores",
         [](const Entorno& e) {
             QList<QStringList> profesores;
             for (int k = 2; k <= 2000; ++k) {
                 profesores << QStringList{QStringLiteral("P%1").arg(k), "Otro",      "", "", "",
                                           QStringLiteral("E%1").arg(k), "01/09/2018"};
             }
             agregarFilas(e, "PROFT", profesores);
             prueba::crearSoluc(e, /*diaHoraTexto=*/true);
             agregarFilas(
                 e, "SOLUC",
                 {{"P1", "1", "3", "0", "MAT", "G1"}, {"P2000", "x", "3", "0", "MAT", "G1"}});
         },
         {"'x' is not a valid integer value\nEn la tabla SOLUC: registro 2, campo DIA."}},
        {"SOLUC sin AULA",
         [](const Entorno& e) {
             Tabla t(e.carpetaTrabajo, "SOLUC");
             t.fieldDefs() = {{"PROF", TipoCampo::Cadena, 10}, {"DIA", TipoCampo::Entero, 0},
                              {"HORA", TipoCampo::Entero, 0},  {"MARCO", TipoCampo::Cadena, 1},
                              {"ASIG", TipoCampo::Cadena, 10}, {"CODGRUPO", TipoCampo::Cadena, 10},
                              {"TAREA", TipoCampo::Cadena, 10}};
             t.createTable();
         },
         {"SOLUC", "AULA"}},
        // A value that is no finite number is a conversion error, not a lesson left
        // unplaced (rounded to day 0) that would drop the whole timetable silently.
        {"DIA nan",
         [](const Entorno& e) {
             agregarFilas(e, "SOLUC", {{"P1", "7", "3", "0", "MAT", "G1"}});
             sustituirBytes(e.rutaTrabajo("SOLUC.DBF"), "          7", "        nan");
         },
         {"'nan' is not a valid integer value\nEn la tabla SOLUC: registro 1, campo DIA."}},
        {"HORA -inf",
         [](const Entorno& e) {
             agregarFilas(e, "SOLUC", {{"P1", "1", "7", "0", "MAT", "G1"}});
             sustituirBytes(e.rutaTrabajo("SOLUC.DBF"), "          7", "       -inf");
         },
         {"'-inf' is not a valid integer value\nEn la tabla SOLUC: registro 1, campo HORA."}},
        {"SOLUC no existe",
         [](const Entorno& e) { QFile::remove(e.rutaTrabajo("SOLUC.DBF")); },
         {"SOLUC"}},
        {"AULAT no existe, con SOLUC, GRUPOST y PROFT ya abiertas",
         [](const Entorno& e) { QFile::remove(e.rutaTrabajo("AULAT.DBF")); },
         {"AULAT"}},
        // DIASHORAST emptied (or every row deleted): not one lesson can be placed, and
        // a result without a day or an hour is not written.
        {"DIASHORAST sin filas",
         [](const Entorno& e) {
             agregarFilas(e, "SOLUC",
                          {{"P1", "1", "3", "0", "MAT", "G1"}, {"P1", "2", "3", "0", "MAT", "G1"}});
         },
         {"Ninguna de las 2 lecciones colocadas en SOLUC tiene su día y su hora en DIASHORAST, "
          "así que no se ha escrito el resultado."}},
        // A field of a type the import cannot read as it needs: refused, where every
        // lesson would otherwise be dropped or misread without a word.
        {"DIA de tipo memo",
         conTipo(1, 'M'),
         {"La tabla SOLUC tiene el campo DIA de tipo M, y la importación necesita en él un "
          "número."}},
        {"HORA lógica", conTipo(2, 'L'), {"el campo HORA de tipo L"}},
        {"PROF binario",
         conTipo(0, 'B'),
         {"La tabla SOLUC tiene el campo PROF de tipo B, y la importación necesita en él un "
          "texto."}},
        {"DIA de un tipo que no es de dBase",
         conTipo(1, 'Z'),
         {"La tabla SOLUC está dañada: el campo DIA es de un tipo desconocido (Z)"}},
        {"SOLUC dañada",
         [](const Entorno& e) {
             QFile f(e.rutaTrabajo("SOLUC.DBF"));
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.resize(40);
         },
         {"SOLUC"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        prueba::Carpetas otras;
        prueba::crearMesaVacia(otras.entorno());
        agregarFilas(otras.entorno(), "PROFT", {{"P1", "Uno", "", "", "", "E1", "01/09/2018"}});
        c.preparar(otras.entorno());
        prueba::PreguntasPrueba i;
        const QString doc =
            otras.escribirDocumento("d.xml", prueba::documentoIntercambio({}, "2025"));
        const Desenlace d = varnolo::importar(otras.entorno(), doc, i);
        EXPECT_EQ(d.tipo, Desenlace::Tipo::Fallo);
        for (const QString& parte : c.enElMensaje) {
            EXPECT_TRUE(d.texto.contains(parte)) << d.texto.toStdString();
        }
        EXPECT_FALSE(QFile::exists(rutaResultado(doc)));
        // nor a temporary file of it
        EXPECT_EQ(QDir(QFileInfo(doc).path())
                      .entryList({QStringLiteral("ResultadoZentor*")}, QDir::Files | QDir::Hidden),
                  QStringList());
        // the tables are closed again: one still open could not be created anew
        EXPECT_NO_THROW(CarpetaTrabajo(otras.entorno())
                            .recrear({&catalogo::SOLUC(), &catalogo::PROFT(), &catalogo::ASIGT()}));
    }
}

// "Cancelar" at any moment of an import, the very last one included, leaves the result
// of the import before exactly as it was, and no temporary file beside it. Without a
// result before, none appears.
TEST_F(Importacion, CanceladaDejaElResultadoAnterior) {
    QList<QStringList> profesores;
    QList<QStringList> lecciones;
    for (int k = 2; k <= 300; ++k) {
        profesores << QStringList{QStringLiteral("P%1").arg(k), "Otro",      "", "", "",
                                  QStringLiteral("E%1").arg(k), "01/09/2018"};
        lecciones << QStringList{QStringLiteral("P%1").arg(k), "1", "3", "0", "MAT", "G1"};
    }
    agregarFilas(carpetas.entorno(), "PROFT", profesores);
    agregarFilas(carpetas.entorno(), "SOLUC", lecciones);
    const QString doc = documento();
    struct Caso {
        const char* nombre;
        Avance::Fase fase;
        qint64 hecho;
    };
    const Caso casos[] = {
        {"al empezar a leer el documento", Avance::Fase::Lectura, 0},
        {"con el documento leído", Avance::Fase::Lectura, QFileInfo(doc).size()},
        {"en la primera lección", Avance::Fase::Lecciones, 0},
        {"a mitad de las lecciones", Avance::Fase::Lecciones, 150},
        {"con todas las lecciones, antes de guardar", Avance::Fase::Lecciones, 300},
    };
    for (const bool conAnterior : {false, true}) {
        QFile::remove(rutaResultado(doc));
        if (conAnterior) prueba::escribirBytes(rutaResultado(doc), "<anterior/>");
        for (const Caso& c : casos) {
            SCOPED_TRACE(std::string(c.nombre) + (conAnterior ? ", con resultado" : ""));
            prueba::CancelaEn cancela(c.fase, c.hecho);
            const Desenlace d = varnolo::importar(carpetas.entorno(), doc, ui, &cancela);
            EXPECT_EQ(d.tipo, Desenlace::Tipo::Cancelada) << prueba::describir(d);
            EXPECT_EQ(d.texto, kConversionCancelada);
            EXPECT_EQ(QFile::exists(rutaResultado(doc)), conAnterior);
            if (conAnterior) {
                EXPECT_EQ(leer(rutaResultado(doc)), QByteArray("<anterior/>"));
            }
            EXPECT_EQ(
                QDir(QFileInfo(doc).path())
                    .entryList({QStringLiteral("ResultadoZentor*")}, QDir::Files | QDir::Hidden)
                    .size(),
                conAnterior ? 1 : 0);
        }
    }
    // Not cancelled, the same import completes.
    prueba::CancelaEn nunca(Avance::Fase::Tablas, 0);
    EXPECT_TRUE(varnolo::importar(carpetas.entorno(), doc, ui, &nunca).completada());
}

TEST_F(Importacion, DiaYHoraComoTextoYFiltroExacto) {
    const auto& e = carpetas.entorno();
    prueba::crearSoluc(e, /*diaHoraTexto=*/true);
    agregarFilas(e, "PROFT",
                 {{"A'B", "Comillas", "", "", "", "E9", "09/09/2019"},
                  {"A%", "Por ciento", "", "", "", "E8", "08/09/2019"}});
    agregarFilas(e, "SOLUC",
                 {{"A'B", "1", "3", "0", "X", "G"},
                  {"A'B", "", "3", "0", "X", "G"},
                  {"A%B", "1", "3", "0", "X", "G"},
                  {"A%", "1", "3", "0", "Y", "G"},
                  {"P1", "0", "3", "0", "X", "G"}});
    const QString doc = documento();
    importar(doc);
    ASSERT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
    DocumentoXml r;
    ASSERT_TRUE(r.load(rutaResultado(doc)));
    const auto reg = [&](int k) {
        return r
            .selectSingleNode(
                QStringLiteral("//grupo_datos[@seq=\"HORARIO_REGULAR_PROFESOR_%1\"]").arg(k))
            .attribute("registros");
    };
    EXPECT_EQ(reg(1), "0");
    EXPECT_EQ(reg(2), "1");
    EXPECT_EQ(reg(3), "1");
    EXPECT_EQ(r.selectSingleNode("//grupo_datos[@seq=\"HORARIO_REGULAR_PROFESOR_2\"]/grupo_datos/"
                                 "dato[@nombre_dato=\"N_HORINI\"]")
                  .text(),
              "510");
}

// A lesson whose day and hour DIASHORAST does not have is written as before, and
// listed for the user; the lessons in their slots are not.
TEST_F(Importacion, LeccionSinTramoSeEscribeYSeAvisa) {
    const auto& e = carpetas.entorno();
    prueba::crearSoluc(e);
    agregarFilas(e, "SOLUC", {{"P1", "1", "3", "0", "X", "G"}, {"P1", "5", "9", "0", "X", "G"}});
    const QString doc = documento();
    importar(doc);
    ASSERT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
    EXPECT_EQ(desenlace.texto, QStringLiteral("Proceso finalizado"));
    EXPECT_EQ(desenlace.detalle,
              QStringLiteral("Lecciones de SOLUC cuyo día y hora no están en DIASHORAST (se han "
                             "escrito sin día ni tramo):\n  registro 2: PROF P1, DIA 5, HORA 9, "
                             "MARCO 0\n"));
    EXPECT_TRUE(QFile::exists(rutaResultado(doc)));
}

// The report: one line per teacher of PROFT with the lessons written for them, then
// the lessons left out or written without a slot, each with its row of SOLUC.
TEST_F(Importacion, InformeConLeccionesPorProfesorYSaltadas) {
    const auto& e = carpetas.entorno();
    agregarFilas(e, "PROFT", {{"P2", "Dos", "", "", "", "E2", "01/09/2019"}});
    struct Caso {
        const char* nombre;
        QList<QStringList> lecciones;
        QString informe;
    };
    const Caso casos[] = {
        {"todas_en_su_tramo",
         {{"P1", "1", "3", "0", "X", "G"}, {"P1", "1", "3", "0", "Y", "G"}},
         "P1                 2 lecciones  Uno\n"
         "P2                 0 lecciones  Dos\n"},
        {"sin_colocar_sin_tramo_y_sin_profesor",
         {{"P2", "1", "3", "0", "X", "G"},
          {"P1", "0", "0", "0", "X", "G"},
          {"P1", "5", "9", "0", "X", "G"},
          {"P9", "1", "3", "0", "X", "G"},
          {"P1", "1", "3", "0", "X", "G"},
          {"P1", "0", "0", "0", "Y", "G"}},
         "P1                 2 lecciones  Uno\n"
         "P2                 1 lección    Dos\n"
         "lección saltada: sin colocar (DIA 0): 2 (SOLUC registro 2, SOLUC registro 6)\n"
         "lección escrita sin día ni tramo: su día y hora no están en DIASHORAST: 1 "
         "(SOLUC registro 3)\n"
         "lección saltada: su profesor no está en PROFT: 1 (SOLUC registro 4)\n"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        prueba::crearSoluc(e);
        agregarFilas(e, "SOLUC", caso.lecciones);
        importar(documento());
        ASSERT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
        EXPECT_EQ(desenlace.texto, kProcesoFinalizado);
        EXPECT_EQ(desenlace.informe.toStdString(), caso.informe.toStdString());
    }
}

TEST_F(Importacion, DiaConDecimalesFormaLaClaveSinEllos) {
    // Taviron may keep DIA and HORA in numeric columns with decimals: day 1 is still
    // the "1" of the slot key 13, not "1.0000".
    const auto& e = carpetas.entorno();
    Tabla t(e.carpetaTrabajo, "SOLUC");
    t.fieldDefs() = {{"PROF", TipoCampo::Cadena, 10},  {"DIA", TipoCampo::Flotante, 0},
                     {"HORA", TipoCampo::Flotante, 0}, {"MARCO", TipoCampo::Cadena, 1},
                     {"ASIG", TipoCampo::Cadena, 10},  {"CODGRUPO", TipoCampo::Cadena, 10},
                     {"TAREA", TipoCampo::Cadena, 10}, {"AULA", TipoCampo::Cadena, 10}};
    t.createTable();
    t.open();
    t.append();
    t.setString("PROF", "P1");
    t.setFloat("DIA", 1);
    t.setFloat("HORA", 3);
    t.setString("MARCO", "0");
    t.post();
    t.close();
    const QString doc = documento();
    importar(doc);
    ASSERT_TRUE(desenlace.completada()) << prueba::describir(desenlace);
    DocumentoXml r;
    ASSERT_TRUE(r.load(rutaResultado(doc)));
    const auto dato = [&](const char* nombre) {
        return r
            .selectSingleNode(QStringLiteral("//grupo_datos[@seq=\"ACTIVIDAD_1\"]/"
                                             "dato[@nombre_dato=\"%1\"]")
                                  .arg(QString::fromLatin1(nombre)))
            .text();
    };
    EXPECT_EQ(dato("X_TRAMO"), "T13");
    EXPECT_EQ(dato("N_HORINI"), "510");
}

}  // namespace
}  // namespace varnolo
