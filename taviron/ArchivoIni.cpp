#include "taviron/ArchivoIni.h"
#include "base/Archivos.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <optional>
#include <vector>

#include "base/Errores.h"

namespace varnolo {

namespace {

/// One line of the file: its text and its own line ending (empty on a last line
/// without one).
struct Linea {
    QByteArray texto;
    QByteArray fin;
};

std::vector<Linea> partirLineas(const QByteArray& bytes) {
    std::vector<Linea> lineas;
    qsizetype inicio = 0;
    while (inicio < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', inicio);
        if (lf < 0) {
            lineas.push_back({bytes.mid(inicio), {}});
            break;
        }
        const bool conCr = lf > inicio && bytes[lf - 1] == '\r';
        const qsizetype finTexto = conCr ? lf - 1 : lf;
        lineas.push_back({bytes.mid(inicio, finTexto - inicio), conCr ? "\r\n" : "\n"});
        inicio = lf + 1;
    }
    return lineas;
}

bool igualesSinCaso(const QByteArray& a, const QByteArray& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

/// The section name of a "[name]" line, or nothing.
std::optional<QByteArray> nombreSeccion(const QByteArray& texto) {
    const QByteArray t = texto.trimmed();
    if (!t.startsWith('[')) return std::nullopt;
    const qsizetype cierre = t.indexOf(']');
    if (cierre < 0) return std::nullopt;
    return t.mid(1, cierre - 1);
}

/// The position of the '=' of a "key=value" line whose key is `clave`, or -1.
qsizetype igualDeClave(const QByteArray& texto, const QByteArray& clave) {
    const qsizetype igual = texto.indexOf('=');
    if (igual < 0) return -1;
    return igualesSinCaso(texto.left(igual), clave) ? igual : -1;
}

QByteArray finDeLineaDelArchivo(const std::vector<Linea>& lineas) {
    for (const Linea& l : lineas) {
        if (!l.fin.isEmpty()) return l.fin;
    }
    return "\r\n";
}

[[noreturn]] void noSePuedeEscribir(const QString& ruta) {
    throw ErrorVarnolo(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(ruta)));
}

/// Removes the temporaries that an earlier write left behind when it was killed
/// between creating and renaming them: files named like the target plus "." and six
/// letters or digits, as the save file names them, last written over a minute ago
/// (a younger one may belong to a write still under way). Failures are ignored.
void borrarTemporalesAbandonados(const QString& ruta) {
    const QFileInfo destino(ruta);
    const QDir carpeta = destino.absoluteDir();
    const QString prefijo = destino.fileName() + u'.';
    const QDateTime limite = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QStringList candidatos =
        carpeta.entryList({prefijo + QStringLiteral("??????")}, QDir::Files | QDir::Hidden);
    for (const QString& nombre : candidatos) {
        const QStringView sufijo = QStringView(nombre).mid(prefijo.size());
        const bool propio = nombre.startsWith(prefijo, Qt::CaseInsensitive) && sufijo.size() == 6 &&
                            std::all_of(sufijo.begin(), sufijo.end(), [](QChar c) {
                                return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                                       (c >= u'0' && c <= u'9');
                            });
        const QFileInfo info(carpeta.filePath(nombre));
        if (propio && info.lastModified().toUTC() < limite) QFile::remove(info.filePath());
    }
}

}  // namespace

void escribirValorIni(const QString& ruta, const QString& seccion, const QString& clave,
                      const QString& valor) {
    QByteArray original;
    QFile existente(ruta);
    if (existente.exists()) {
        // A file we cannot read must not be replaced by our single entry.
        if (!existente.open(QIODevice::ReadOnly)) noSePuedeEscribir(ruta);
        original = existente.readAll();
        existente.close();
    }

    // A UTF-16 file cannot take our one-byte lines without being damaged: it is left
    // as it is.
    if (original.startsWith("\xFF\xFE") || original.startsWith("\xFE\xFF")) {
        noSePuedeEscribir(ruta);
    }

    // Byte-order mark of a UTF-8 file: kept, but not part of the first line's text.
    QByteArray bom;
    if (original.startsWith("\xEF\xBB\xBF")) {
        bom = original.left(3);
        original.remove(0, 3);
    }

    std::vector<Linea> lineas = partirLineas(original);
    const QByteArray fin = finDeLineaDelArchivo(lineas);
    const QByteArray seccionBytes = seccion.toLocal8Bit();
    const QByteArray claveBytes = clave.toLocal8Bit();
    const QByteArray valorBytes = valor.toLocal8Bit();

    // The first section of that name: its header line and the end of its lines.
    std::optional<size_t> cabecera;
    size_t finSeccion = lineas.size();
    for (size_t i = 0; i < lineas.size(); ++i) {
        const auto nombre = nombreSeccion(lineas[i].texto);
        if (!nombre) continue;
        if (cabecera) {
            finSeccion = i;
            break;
        }
        if (igualesSinCaso(*nombre, seccionBytes)) cabecera = i;
    }

    bool hecho = false;
    if (cabecera) {
        for (size_t i = *cabecera + 1; i < finSeccion && !hecho; ++i) {
            const qsizetype igual = igualDeClave(lineas[i].texto, claveBytes);
            if (igual < 0) continue;
            lineas[i].texto = lineas[i].texto.left(igual + 1) + valorBytes;
            hecho = true;
        }
        if (!hecho) {
            size_t ultima = *cabecera;
            for (size_t i = *cabecera + 1; i < finSeccion; ++i) {
                if (!lineas[i].texto.trimmed().isEmpty()) ultima = i;
            }
            if (lineas[ultima].fin.isEmpty()) lineas[ultima].fin = fin;
            lineas.insert(lineas.begin() + static_cast<std::ptrdiff_t>(ultima) + 1,
                          Linea{claveBytes + '=' + valorBytes, fin});
        }
    } else {
        if (!lineas.empty() && lineas.back().fin.isEmpty()) lineas.back().fin = fin;
        lineas.push_back({'[' + seccionBytes + ']', fin});
        lineas.push_back({claveBytes + '=' + valorBytes, fin});
    }

    QByteArray nuevo = bom;
    for (const Linea& l : lineas) nuevo += l.texto + l.fin;

    borrarTemporalesAbandonados(ruta);
    QSaveFile salida(ruta);
    if (!salida.open(QIODevice::WriteOnly)) noSePuedeEscribir(ruta);
    Archivos& archivos = Archivos::actuales();
    // The message is the fixed one Taviron's users know; the reason is not added.
    QString motivo;
    if (!archivos.escribir(salida, nuevo.constData(), nuevo.size(), motivo) ||
        !archivos.confirmar(salida, motivo)) {
        noSePuedeEscribir(ruta);
    }
}

void escribirTransformado(const QString& rutaIni, int transformado) {
    escribirValorIni(rutaIni, QStringLiteral("Transformadores"), QStringLiteral("Transformado"),
                     QString::number(transformado));
}

}  // namespace varnolo
