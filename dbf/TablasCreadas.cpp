#include "dbf/TablasCreadas.h"

#include <QFileInfo>
#include <map>

namespace varnolo::motor::tablasCreadas {

namespace {

struct Guardadas {
    bool activo = false;
    std::map<QString, std::unique_ptr<plataforma::ArchivoBloqueado>> porRuta;
};

Guardadas& guardadas() {
    static Guardadas g;
    return g;
}

QString clave(const QString& ruta) {
    QString c = QFileInfo(ruta).absoluteFilePath();
#ifdef Q_OS_WIN
    c = c.toLower();
#endif
    return c;
}

}  // namespace

void reservar(bool activo) {
    guardadas().activo = activo;
    if (!activo) guardadas().porRuta.clear();
}

void guardar(const QString& ruta, std::unique_ptr<plataforma::ArchivoBloqueado> archivo) {
    if (!guardadas().activo || !archivo) return;
    guardadas().porRuta[clave(ruta)] = std::move(archivo);
}

std::unique_ptr<plataforma::ArchivoBloqueado> retirar(const QString& ruta) {
    auto& porRuta = guardadas().porRuta;
    const auto it = porRuta.find(clave(ruta));
    if (it == porRuta.end()) return nullptr;
    std::unique_ptr<plataforma::ArchivoBloqueado> archivo = std::move(it->second);
    porRuta.erase(it);
    return archivo;
}

}  // namespace varnolo::motor::tablasCreadas
