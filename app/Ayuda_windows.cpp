#include <QDir>
#include <QProcess>

#include "Ayuda.h"

namespace varnolo::plataforma {

// The HTML help viewer hh.exe: "-mapid N file" opens the topic of help context N,
// the bare file its contents.
bool abrirVisorAyuda(const QString& ruta, int tema) {
    QStringList argumentos;
    if (tema != 0) argumentos << QStringLiteral("-mapid") << QString::number(tema);
    argumentos << QDir::toNativeSeparators(ruta);
    return QProcess::startDetached(QStringLiteral("hh.exe"), argumentos);
}

}  // namespace varnolo::plataforma
