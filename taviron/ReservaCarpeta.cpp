#include "taviron/ReservaCarpeta.h"

#include <QDir>
#include <QFileInfo>

#include "base/BloqueoArchivo.h"
#include "base/Errores.h"
#include "dbf/TablasCreadas.h"

namespace varnolo {

using plataforma::ArchivoBloqueado;

ReservaCarpeta::ReservaCarpeta(const QString& carpeta) {
    const QString ruta = QDir(carpeta).filePath(kArchivoReserva);
    // A folder (or anything else that is not a file) in the lock file's place would
    // let every conversion run without the lock.
    if (const QFileInfo info(ruta); info.exists() && !info.isFile()) {
        throw ErrorVarnolo(
            QStringLiteral("En la carpeta de trabajo %1 hay una carpeta u otro elemento llamado "
                           "%2 que no es un archivo, y sin ese archivo no se puede asegurar que "
                           "no haya otra conversión en marcha. Bórrelo o cámbiele el nombre y "
                           "vuelva a intentarlo.")
                .arg(QDir::toNativeSeparators(carpeta), kArchivoReserva));
    }
    ArchivoBloqueado::Fallo fallo = ArchivoBloqueado::Fallo::Ninguno;
    QString detalle;
    archivo_ =
        ArchivoBloqueado::abrir(ruta, ArchivoBloqueado::Acceso::Exclusivo, true, fallo, detalle);
    if (fallo == ArchivoBloqueado::Fallo::EnUso) {
        throw ErrorVarnolo(
            QStringLiteral("La carpeta de trabajo %1 está ocupada por otra conversión de "
                           "Varnolo. Espere a que termine y vuelva a intentarlo.")
                .arg(QDir::toNativeSeparators(carpeta)));
    }
    motor::tablasCreadas::reservar(true);
}

ReservaCarpeta::~ReservaCarpeta() { motor::tablasCreadas::reservar(false); }

}  // namespace varnolo
