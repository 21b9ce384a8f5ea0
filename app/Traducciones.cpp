#include "app/Traducciones.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace varnolo {

bool cargarTraduccionesQt(QCoreApplication& aplicacion) {
    auto* traductor = new QTranslator(&aplicacion);
    if (!traductor->load(QStringLiteral("qtbase_es"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    return QCoreApplication::installTranslator(traductor);
}

}  // namespace varnolo
