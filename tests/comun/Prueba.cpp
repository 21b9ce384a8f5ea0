#include "tests/comun/Prueba.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "dbf/Tabla.h"

namespace varnolo::prueba {

Carpetas::Carpetas() {
    entorno_.carpetaTrabajo = trabajo_.path();
    entorno_.carpetaPrograma = programa_.path();
    entorno_.reloj = std::make_shared<RelojFijo>(QDateTime(QDate(2026, 3, 15), QTime(10, 30, 0)));
}

QString Carpetas::trabajo(const QString& archivo) const {
    return archivo.isEmpty() ? trabajo_.path() : QDir(trabajo_.path()).filePath(archivo);
}

QString Carpetas::programa(const QString& archivo) const {
    return archivo.isEmpty() ? programa_.path() : QDir(programa_.path()).filePath(archivo);
}

void Carpetas::instalarNivelcan() const {
    const QString origen = QDir(carpetaBinarios()).filePath(QStringLiteral("NIVELCAN.DBF"));
    QFile::remove(programa(QStringLiteral("NIVELCAN.DBF")));
    if (!QFile::copy(origen, programa(QStringLiteral("NIVELCAN.DBF")))) {
        ADD_FAILURE() << "No se pudo copiar " << origen.toStdString();
    }
}

QString Carpetas::escribirDocumento(const QString& nombre, const QByteArray& contenido) const {
    const QString ruta = QDir(documentos_.path()).filePath(nombre);
    escribirBytes(ruta, contenido);
    return ruta;
}

void crearSoluc(const Entorno& entorno, bool diaHoraTexto) {
    Tabla t(entorno.carpetaTrabajo, QStringLiteral("SOLUC"));
    t.setReloj(entorno.reloj);
    const auto num = [&](const char* n) {
        return diaHoraTexto ? DefCampo{QString::fromLatin1(n), TipoCampo::Cadena, 2}
                            : DefCampo{QString::fromLatin1(n), TipoCampo::Entero, 0};
    };
    const auto txt = [](const char* n) {
        return DefCampo{QString::fromLatin1(n), TipoCampo::Cadena, 10};
    };
    t.fieldDefs() = {txt("PROF"), num("DIA"),      num("HORA"),  txt("MARCO"),
                     txt("ASIG"), txt("CODGRUPO"), txt("TAREA"), txt("AULA")};
    t.createTable();
}

QList<int> PreguntasPrueba::elegirMarcos(const MarcosHorarios& m) {
    ++vecesMarcos;
    if (!marcos) {
        ADD_FAILURE() << "Se preguntaron los marcos horarios sin respuesta preparada";
        return {0};
    }
    return marcos(m);
}

bool PreguntasPrueba::completarProfesores(const Entorno& entorno) {
    ++vecesProfesores;
    return profesores ? profesores(entorno) : false;
}

bool CancelaEn::seguir(Fase fase, qint64 hecho, qint64 total) {
    informes.push_back({fase, hecho, total});
    if (fase == fase_ && hecho >= hecho_) cancelado = true;
    return !cancelado;
}

QList<int> posicionesDe(const MarcosHorarios& m, const QStringList& codigos) {
    QList<int> r;
    const QStringList entradas = m.entradas();
    for (int i = 0; i < entradas.size(); ++i) {
        if (codigos.contains(entradas[i]) || codigos.contains(entradas[i].trimmed())) r << i;
    }
    return r;
}

std::string describir(const Desenlace& d) {
    const char* tipo = d.tipo == Desenlace::Tipo::Completada ? "Completada"
                       : d.tipo == Desenlace::Tipo::Aviso    ? "Aviso"
                                                             : "Fallo";
    return (QString::fromLatin1(tipo) + QStringLiteral(": ") + d.texto).toStdString();
}

namespace {
QString escapar(const QString& t) { return t.toHtmlEscaped(); }
}  // namespace

QByteArray documentoIntercambio(const QList<std::pair<QString, QList<QStringList>>>& secciones,
                                const QString& primeraSeccionTexto) {
    QString x =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO>\n<BLOQUE_DATOS>\n");
    if (!primeraSeccionTexto.isNull()) {
        x += QStringLiteral("<grupo_datos seq=\"ANNO\"><dato>%1</dato></grupo_datos>\n")
                 .arg(escapar(primeraSeccionTexto));
    }
    for (const auto& [seq, registros] : secciones) {
        x += QStringLiteral("<grupo_datos seq=\"%1\">\n").arg(escapar(seq));
        for (const QStringList& r : registros) {
            x += QStringLiteral("  <grupo_datos>");
            for (const QString& d : r) x += QStringLiteral("<dato>%1</dato>").arg(escapar(d));
            x += QStringLiteral("</grupo_datos>\n");
        }
        x += QStringLiteral("</grupo_datos>\n");
    }
    x += QStringLiteral("</BLOQUE_DATOS>\n</SERVICIO>\n");
    return x.toUtf8();
}

}  // namespace varnolo::prueba
