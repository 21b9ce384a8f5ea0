#include "bench/GeneradorDocumentos.h"

#include <QString>
#include <QStringList>
#include <initializer_list>

namespace varnolo::banco {

namespace {

void registroCompacto(QString& x, std::initializer_list<QString> datos) {
    x += QStringLiteral("<grupo_datos>");
    for (const QString& d : datos) x += QStringLiteral("<dato>") + d + QStringLiteral("</dato>");
    x += QStringLiteral("</grupo_datos>\n");
}

// A document in Velna's layout, written straight into Latin-1 bytes.
class Escritor {
  public:
    Escritor() {
        x_.reserve(8 << 20);
        x_ += "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO>\n  <BLOQUE_DATOS>\n";
    }
    void seccion(const char* seq) {
        cerrarSeccion();
        x_ += "    <grupo_datos seq=\"";
        x_ += seq;
        x_ += "\">\n";
        abierta_ = true;
    }
    /// One record: pairs of item name and value.
    void registro(std::initializer_list<std::pair<const char*, QString>> datos) {
        x_ += "      <grupo_datos>\n";
        for (const auto& [nombre, valor] : datos) {
            x_ += "        <dato nombre_dato=\"";
            x_ += nombre;
            x_ += "\">";
            x_ += valor.toLatin1();
            x_ += "</dato>\n";
        }
        x_ += "      </grupo_datos>\n";
    }
    QByteArray terminar() {
        cerrarSeccion();
        x_ += "  </BLOQUE_DATOS>\n</SERVICIO>\n";
        return x_;
    }

  private:
    void cerrarSeccion() {
        if (abierta_) x_ += "    </grupo_datos>\n";
        abierta_ = false;
    }
    QByteArray x_;
    bool abierta_ = false;
};

const QStringList kMaterias = {
    QStringLiteral("Lengua Castellana y Literatura"),
    QStringLiteral("Matemáticas"),
    QStringLiteral("Primera Lengua Extranjera: Inglés"),
    QStringLiteral("Geografía e Historia"),
    QStringLiteral("Educación Física"),
    QStringLiteral("Biología y Geología"),
    QStringLiteral("Física y Química"),
    QStringLiteral("Tecnología y Digitalización"),
    QStringLiteral("Música"),
    QStringLiteral("Educación Plástica, Visual y Audiovisual"),
    QStringLiteral("Latín"),
    QStringLiteral("Griego"),
    QStringLiteral("Filosofía"),
    QStringLiteral("Economía y Emprendimiento"),
    QStringLiteral("Segunda Lengua Extranjera: Francés"),
    QStringLiteral("Religión"),
    QStringLiteral("Atención Educativa"),
    QStringLiteral("Dibujo Técnico"),
    QStringLiteral("Historia del Arte"),
    QStringLiteral("Tutoría"),
};
const QStringList kCodigos = {
    QStringLiteral("LCL"), QStringLiteral("MAT"), QStringLiteral("ING"), QStringLiteral("GH"),
    QStringLiteral("EF"),  QStringLiteral("BG"),  QStringLiteral("FQ"),  QStringLiteral("TEC"),
    QStringLiteral("MUS"), QStringLiteral("EPV"), QStringLiteral("LAT"), QStringLiteral("GRI"),
    QStringLiteral("FIL"), QStringLiteral("ECO"), QStringLiteral("FRA"), QStringLiteral("REL"),
    QStringLiteral("ATE"), QStringLiteral("DT"),  QStringLiteral("HA"),  QString(),
};
const QStringList kNombres = {
    QStringLiteral("Ana"),    QStringLiteral("Luis"),   QStringLiteral("María"),
    QStringLiteral("Javier"), QStringLiteral("Lucía"),  QStringLiteral("Carmen"),
    QStringLiteral("José"),   QStringLiteral("Elena"),  QStringLiteral("Pablo"),
    QStringLiteral("Marta"),  QStringLiteral("Andrés"), QStringLiteral("Sofía"),
    QStringLiteral("Miguel"), QStringLiteral("Laura"),  QStringLiteral("Jesús"),
    QStringLiteral("Raquel"), QStringLiteral("Tomás"),
};
const QStringList kApellidos = {
    QStringLiteral("García"),    QStringLiteral("López"),   QStringLiteral("Martínez"),
    QStringLiteral("Sánchez"),   QStringLiteral("Pérez"),   QStringLiteral("Gómez"),
    QStringLiteral("Fernández"), QStringLiteral("Ruiz"),    QStringLiteral("Díaz"),
    QStringLiteral("Moreno"),    QStringLiteral("Muñoz"),   QStringLiteral("Álvarez"),
    QStringLiteral("Romero"),    QStringLiteral("Navarro"), QStringLiteral("Torres"),
    QStringLiteral("Domínguez"), QStringLiteral("Vázquez"), QStringLiteral("Ramos"),
    QStringLiteral("Gil"),       QStringLiteral("Serrano"), QStringLiteral("Castro"),
    QStringLiteral("Ortega"),    QStringLiteral("Rubio"),
};
const char* const kCursos[] = {"1º ESO", "2º ESO",          "3º ESO",
                               "4º ESO", "1º Bachillerato", "2º Bachillerato"};
constexpr int kMarcos = 5;
constexpr int kDiasMarco = 5;
constexpr int kHorasDia = 6;

QString n(qint64 v) { return QString::number(v); }

}  // namespace

QByteArray documentoCentro(int materias, int grupos) {
    const int cursos = qMax(1, grupos / 3);
    QString x =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><BLOQUE_DATOS>\n");
    x += QStringLiteral("<grupo_datos seq=\"MATERIAS\">\n");
    for (int i = 0; i < materias; ++i) {
        const int materia = i % (materias / 10 + 1);
        const QString codigo =
            materia % 4 == 0 ? QStringLiteral("MAT") : QStringLiteral("M%1").arg(materia);
        registroCompacto(
            x, {n(1000 + i % cursos), n(i), QStringLiteral("Materia número %1").arg(materia),
                codigo, QStringLiteral("180")});
    }
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"ACTIVIDADES\">\n");
    registroCompacto(x, {QStringLiteral("1"), QStringLiteral("513"), QStringLiteral("Docencia")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"EMPLEADOS\">\n");
    for (int i = 0; i < 400; ++i) {
        registroCompacto(x, {n(100000 + i), QStringLiteral("01/09/2015"),
                             QStringLiteral("Ciencias"), QStringLiteral("García"),
                             QStringLiteral("López"), QStringLiteral("Ana"), QString()});
    }
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"DEPENDENCIAS\">\n");
    for (int i = 0; i < 200; ++i)
        registroCompacto(x, {QStringLiteral("AULA-INFORMATICA"), QStringLiteral("Aula")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"CURSOS_DEL_CENTRO\">\n");
    for (int i = 0; i < cursos; ++i) registroCompacto(x, {n(1000 + i), QStringLiteral("1º Curso")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"UNIDADES\">\n");
    for (int i = 0; i < grupos; ++i) {
        registroCompacto(x, {n(i), QStringLiteral("1º Grupo A"), n(1000 + i % cursos)});
    }
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"JORNADAS_ESCOLARES\">\n");
    registroCompacto(x, {QStringLiteral("ORD"), QStringLiteral("Horario ordinario"),
                         QStringLiteral("15/09/2026"), QStringLiteral("31/05/2027")});
    x += QStringLiteral("</grupo_datos>\n<grupo_datos seq=\"TRAMOS_HORARIOS\">\n");
    for (int h = 0; h < kHorasDia; ++h) {
        registroCompacto(x,
                         {QStringLiteral("O%1").arg(h + 1), QStringLiteral("%1ª hora").arg(h + 1),
                          n(495 + 55 * h), n(550 + 55 * h), QStringLiteral("ORD")});
    }
    x += QStringLiteral("</grupo_datos>\n</BLOQUE_DATOS></SERVICIO>\n");
    return x.toUtf8();
}

QByteArray documentoDistrito(int escala) {
    const int materias = 20000 * escala;
    const int profesores = 1500 * escala;
    const int grupos = 600 * escala;
    const int cursos = 126 * escala;
    const int aulas = 300 * escala;
    // 2,000 subjects per 20,000 records; each base name and code is shared by a
    // hundred of them, so short codes get long suffix runs.
    const int distintas = materias / 10;
    const auto curso = [](int c) { return n(100 + c); };
    const auto nombreCurso = [](int c) {
        return QString::fromUtf8(kCursos[c % 6]) + QStringLiteral(" (centro %1)").arg(c / 6 + 1);
    };

    Escritor e;
    e.seccion("ANNO_ACADEMICO");
    e.registro({{"C_ANNO", QStringLiteral("2026/2027")}});

    e.seccion("MATERIAS");
    static const int kMinutos[] = {60, 120, 180, 240};
    for (int i = 0; i < materias; ++i) {
        const int m = i % distintas;
        const int base = m % kMaterias.size();
        const QString nombre =
            m < kMaterias.size()
                ? kMaterias[base]
                : kMaterias[base] +
                      QStringLiteral(" - optativa de nivel %1").arg(m / kMaterias.size());
        const QString codigo =
            kCodigos[base].isEmpty() ? QString() : kCodigos[base] + n(m / kMaterias.size() % 4);
        e.registro({{"X_OFERTAMATRIG", curso(i % cursos)},
                    {"X_MATERIAOMG", n(700000 + i)},
                    {"D_MATERIAC", nombre},
                    {"C_MATERIA", codigo},
                    {"N_MINUTOS", n(kMinutos[i % 4])}});
    }

    e.seccion("ACTIVIDADES");
    e.registro({{"X_ACTIVIDAD", QStringLiteral("1")},
                {"C_ACTIVIDAD", QStringLiteral("513")},
                {"D_ACTIVIDAD", QStringLiteral("Docencia directa con alumnado")}});
    e.registro({{"X_ACTIVIDAD", QStringLiteral("2")},
                {"C_ACTIVIDAD", QStringLiteral("514")},
                {"D_ACTIVIDAD", QStringLiteral("Guardia")}});

    e.seccion("EMPLEADOS");
    for (int i = 0; i < profesores; ++i) {
        e.registro({{"X_EMPLEADO", n(100000 + i)},
                    {"F_TOMAPOS", QStringLiteral("01/09/%1").arg(2000 + i % 25)},
                    {"D_DEPARTAMENTO", kMaterias[i % kMaterias.size()]},
                    {"APELLIDO1", kApellidos[i % kApellidos.size()]},
                    {"APELLIDO2", kApellidos[(i / 7) % kApellidos.size()]},
                    {"NOMBRE", kNombres[(i / 3) % kNombres.size()]},
                    {"C_ABREV", i % 3 == 0 ? QStringLiteral("P%1").arg(i) : QString()}});
    }

    e.seccion("DEPENDENCIAS");
    for (int i = 0; i < aulas; ++i) {
        e.registro({{"C_DEPENDENCIA", i % 10 == 0 ? QStringLiteral("LABORATORIO-%1").arg(i)
                                                  : QStringLiteral("A%1").arg(100 + i)},
                    {"D_DEPENDENCIA", QStringLiteral("Aula %1").arg(100 + i)}});
    }

    e.seccion("CURSOS_DEL_CENTRO");
    for (int c = 0; c < cursos; ++c) {
        e.registro({{"X_OFERTAMATRIG", curso(c)}, {"D_OFERTAMATRIG", nombreCurso(c)}});
    }

    e.seccion("UNIDADES");
    for (int g = 0; g < grupos; ++g) {
        const int c = g % cursos;
        e.registro({{"X_UNIDAD", n(40000 + g)},
                    {"T_NOMBRE",
                     QString::fromUtf8(kCursos[c % 6]) + u' ' + QChar(u'A' + (g / cursos) % 26)},
                    {"X_OFERTAMATRIG", curso(c)}});
    }

    static const char* const kCodigosMarco[kMarcos] = {"ORD", "JUN", "SEP", "INT", "VER"};
    e.seccion("JORNADAS_ESCOLARES");
    for (int j = 0; j < kMarcos; ++j) {
        e.registro({{"X_JORNADA", QString::fromLatin1(kCodigosMarco[j])},
                    {"D_JORNADA", QStringLiteral("Horario %1").arg(j + 1)},
                    {"F_INICIO", QStringLiteral("15/09/2026")},
                    {"F_FIN", QStringLiteral("31/05/2027")}});
    }
    e.seccion("TRAMOS_HORARIOS");
    for (int j = 0; j < kMarcos; ++j) {
        for (int d = 0; d < kDiasMarco; ++d) {
            for (int h = 0; h < kHorasDia; ++h) {
                e.registro({{"X_TRAMO", QStringLiteral("%1%2%3").arg(j).arg(d).arg(h)},
                            {"D_TRAMO", QStringLiteral("%1ª hora").arg(h + 1)},
                            {"N_INICIO", n(495 + 55 * h + 5 * j)},
                            {"N_FIN", n(550 + 55 * h + 5 * j)},
                            {"X_JORNADA", QString::fromLatin1(kCodigosMarco[j])}});
            }
        }
    }
    return e.terminar();
}

}  // namespace varnolo::banco
