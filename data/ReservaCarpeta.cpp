#include "ReservaCarpeta.h"

#include <QDir>

#include "Errores.h"
#include "motor/TablasCreadas.h"
#include "plataforma/BloqueoArchivo.h"

namespace varnolo {

using plataforma::ArchivoBloqueado;

ReservaCarpeta::ReservaCarpeta(const QString& carpeta) {
    ArchivoBloqueado::Fallo fallo = ArchivoBloqueado::Fallo::Ninguno;
    QString detalle;
    archivo_ = ArchivoBloqueado::abrir(QDir(carpeta).filePath(kArchivoReserva),
                                       ArchivoBloqueado::Acceso::Exclusivo, true, fallo, detalle);
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
