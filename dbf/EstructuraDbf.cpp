#include "dbf/EstructuraDbf.h"

#include <cstring>

#include <QDir>
#include <QSet>
#include <algorithm>

#include "base/Errores.h"

namespace varnolo::motor {

namespace {

constexpr int kCabeceraBase = 32;
constexpr int kDescriptor = 32;
constexpr int kCabeceraNivel7 = 68;
constexpr int kDescriptorNivel7 = 48;
constexpr char kFinDescriptores = 0x0D;
constexpr int kNombreNivel4 = 11;
constexpr int kNombreNivel7 = 32;

quint16 leer16(const char* p) {
    return static_cast<quint16>(static_cast<unsigned char>(p[0]) |
                                (static_cast<unsigned char>(p[1]) << 8));
}

quint32 leer32(const char* p) {
    return static_cast<quint32>(static_cast<unsigned char>(p[0])) |
           (static_cast<quint32>(static_cast<unsigned char>(p[1])) << 8) |
           (static_cast<quint32>(static_cast<unsigned char>(p[2])) << 16) |
           (static_cast<quint32>(static_cast<unsigned char>(p[3])) << 24);
}

void poner16(char* p, int v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
}

void poner32(char* p, quint32 v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

/// A type byte as a person can read it: the letter, or its code when it is none.
QString describirTipo(char tipo) {
    const auto b = static_cast<unsigned char>(tipo);
    if (b > 0x20 && b < 0x7F) return QString(QLatin1Char(tipo));
    return QStringLiteral("código %1").arg(b);
}

[[noreturn]] void danada(const QString& nombre, const QString& ruta, const QString& detalle) {
    throw ErrorTabla(QStringLiteral("La tabla %1 está dañada: %2 (%3)")
                         .arg(nombre, detalle, QDir::toNativeSeparators(ruta)));
}

[[noreturn]] void definicionInvalida(const QString& nombre, const QString& detalle) {
    throw ErrorTabla(QStringLiteral("No se puede crear la tabla %1: %2").arg(nombre, detalle));
}

QString nombreDescriptor(const char* p, int largo) {
    int n = 0;
    while (n < largo && p[n] != '\0') ++n;
    return QString::fromLatin1(p, n).trimmed().toUpper();
}

// Widths that the binary types must have for their value to be read safely.
int anchoFijo(char tipo, bool foxpro, bool nivel7) {
    if (tipo == 'I' && (foxpro || nivel7)) return 4;
    if (tipo == '+' && nivel7) return 4;
    if (tipo == 'O' && nivel7) return 8;
    return 0;
}

/// The field types of the dBase family (dBase III to 7, FoxPro); any other byte is
/// damage, for no program can tell how to read it.
bool tipoConocido(char tipo) {
    static const char kTipos[] = "CNFDLMBGPYTIV@O+0WQ";
    return tipo != '\0' && std::strchr(kTipos, tipo) != nullptr;
}

bool nombreValido(const QString& campo) {
    if (campo.isEmpty()) return false;
    for (QChar c : campo) {
        const bool ascii = (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
        if (!ascii) return false;
    }
    return true;
}

}  // namespace

EstructuraDbf leerEstructura(const QByteArray& archivo, const QString& nombre,
                             const QString& ruta) {
    if (archivo.size() < kCabeceraBase)
        danada(nombre, ruta, QStringLiteral("archivo demasiado corto"));
    const char* p = archivo.constData();
    EstructuraDbf e;
    e.version = static_cast<unsigned char>(p[0]);
    const int nivel = e.version & 0x07;
    e.foxpro = e.version == 0x30 || e.version == 0x31 || e.version == 0x32;
    e.nivel7 = nivel == 4 && !e.foxpro;
    if (!e.foxpro && nivel != 3 && nivel != 5 && nivel != 4) {
        danada(nombre, ruta,
               QStringLiteral("versión %1 desconocida").arg(e.version, 2, 16, QLatin1Char('0')));
    }
    const auto anio = static_cast<unsigned char>(p[1]);
    e.fecha =
        QDate(1900 + anio, static_cast<unsigned char>(p[2]), static_cast<unsigned char>(p[3]));
    e.registrosCabecera = leer32(p + 4);
    e.largoCabecera = leer16(p + 8);
    e.largoRegistro = leer16(p + 10);
    e.indiceProduccion = p[28] != 0;

    const int inicio = e.nivel7 ? kCabeceraNivel7 : kCabeceraBase;
    const int paso = e.nivel7 ? kDescriptorNivel7 : kDescriptor;
    if (e.largoCabecera < inicio + 1 || e.largoCabecera > archivo.size()) {
        danada(nombre, ruta, QStringLiteral("largo de cabecera %1 imposible").arg(e.largoCabecera));
    }
    if (e.nivel7) {
        e.pagina = paginaDeNombreControlador(QByteArray(p + 32, 32).split('\0').first());
    } else {
        e.pagina = paginaDeControlador(static_cast<unsigned char>(p[29]));
    }

    int desplazamiento = 1;
    int pos = inicio;
    QSet<QString> vistos;
    while (pos < e.largoCabecera && p[pos] != kFinDescriptores) {
        if (pos + paso > e.largoCabecera) {
            danada(nombre, ruta, QStringLiteral("descriptor de campo incompleto"));
        }
        const char* d = p + pos;
        CampoDbf c;
        if (e.nivel7) {
            c.fisico.nombre = nombreDescriptor(d, kNombreNivel7);
            c.fisico.tipo = d[32];
            c.fisico.ancho = static_cast<unsigned char>(d[33]);
            c.fisico.decimales = static_cast<unsigned char>(d[34]);
            c.indexado = d[37] != 0;
        } else {
            c.fisico.nombre = nombreDescriptor(d, kNombreNivel4);
            c.fisico.tipo = d[11];
            c.fisico.ancho = static_cast<unsigned char>(d[16]);
            c.fisico.decimales = static_cast<unsigned char>(d[17]);
            c.indexado = d[31] != 0;
        }
        if (c.fisico.nombre.isEmpty()) danada(nombre, ruta, QStringLiteral("campo sin nombre"));
        if (!tipoConocido(c.fisico.tipo)) {
            danada(nombre, ruta,
                   QStringLiteral("el campo %1 es de un tipo desconocido (%2)")
                       .arg(c.fisico.nombre, describirTipo(c.fisico.tipo)));
        }
        if (c.fisico.ancho == 0) {
            danada(nombre, ruta, QStringLiteral("el campo %1 tiene ancho 0").arg(c.fisico.nombre));
        }
        const int fijo = anchoFijo(c.fisico.tipo, e.foxpro, e.nivel7);
        if (fijo != 0 && c.fisico.ancho != fijo) {
            danada(nombre, ruta,
                   QStringLiteral("el campo %1 tiene un ancho imposible").arg(c.fisico.nombre));
        }
        c.desplazamiento = desplazamiento;
        desplazamiento += c.fisico.ancho;
        if (desplazamiento > e.largoRegistro) {
            danada(nombre, ruta,
                   QStringLiteral("el campo %1 pasa del final del registro").arg(c.fisico.nombre));
        }
        // A repeated name would hide the second field; keep the first.
        if (!vistos.contains(c.fisico.nombre)) {
            vistos.insert(c.fisico.nombre);
            e.campos.append(c);
        }
        pos += paso;
    }
    // The list of fields ends with its marker inside the header; a header that ends
    // first puts the rows where they are not.
    if (pos >= e.largoCabecera) {
        danada(nombre, ruta,
               QStringLiteral("la cabecera mide %1 bytes y no le caben los campos que describe")
                   .arg(e.largoCabecera));
    }
    if (e.campos.isEmpty()) danada(nombre, ruta, QStringLiteral("no tiene campos"));
    if (desplazamiento != e.largoRegistro) {
        danada(nombre, ruta,
               QStringLiteral("largo de registro %1 y campos de %2 bytes no cuadran")
                   .arg(e.largoRegistro)
                   .arg(desplazamiento));
    }
    return e;
}

EstructuraDbf estructuraNueva(const QList<DefCampo>& campos, const QList<DefIndice>& indices,
                              QDate fecha, const QString& nombre) {
    if (campos.isEmpty()) definicionInvalida(nombre, QStringLiteral("no tiene campos"));
    EstructuraDbf e;
    e.fecha = fecha;
    e.pagina = PaginaCodigos::Windows1252;
    QSet<QString> nombres;
    int desplazamiento = 1;
    for (const DefCampo& def : campos) {
        CampoDbf c;
        c.fisico.nombre = def.nombre.trimmed().toUpper();
        if (!nombreValido(c.fisico.nombre) || c.fisico.nombre.size() > kNombreNivel7) {
            definicionInvalida(nombre,
                               QStringLiteral("nombre de campo no válido '%1'").arg(def.nombre));
        }
        if (nombres.contains(c.fisico.nombre)) {
            definicionInvalida(nombre,
                               QStringLiteral("el campo %1 está repetido").arg(c.fisico.nombre));
        }
        nombres.insert(c.fisico.nombre);
        switch (def.tipo) {
            case TipoCampo::Cadena:
                if (def.ancho < 1 || def.ancho > 254) {
                    definicionInvalida(nombre, QStringLiteral("el campo %1 tiene ancho %2")
                                                   .arg(c.fisico.nombre)
                                                   .arg(def.ancho));
                }
                c.fisico.tipo = 'C';
                c.fisico.ancho = def.ancho;
                break;
            case TipoCampo::Entero:
                c.fisico.tipo = 'N';
                c.fisico.ancho = 11;
                break;
            case TipoCampo::Flotante:
                c.fisico.tipo = 'N';
                c.fisico.ancho = 20;
                c.fisico.decimales = 4;
                break;
            case TipoCampo::Logico:
                c.fisico.tipo = 'L';
                c.fisico.ancho = 1;
                break;
        }
        if (c.fisico.nombre.size() > kNombreNivel4) e.nivel7 = true;
        c.desplazamiento = desplazamiento;
        desplazamiento += c.fisico.ancho;
        e.campos.append(c);
    }
    for (const DefIndice& indice : indices) {
        const QString clave = indice.campo.trimmed().toUpper();
        bool hallado = false;
        for (CampoDbf& c : e.campos) {
            if (c.fisico.nombre == clave) {
                c.indexado = true;
                hallado = true;
            }
        }
        if (!hallado) {
            definicionInvalida(nombre, QStringLiteral("el índice %1 usa el campo %2, que no existe")
                                           .arg(indice.nombre, indice.campo));
        }
        e.indiceProduccion = true;
    }
    e.version = e.nivel7 ? 0x04 : 0x03;
    e.largoRegistro = desplazamiento;
    if (e.largoRegistro > 0xFFFF)
        definicionInvalida(nombre, QStringLiteral("registro demasiado largo"));
    e.largoCabecera = e.nivel7 ? kCabeceraNivel7 + kDescriptorNivel7 * int(e.campos.size()) + 1
                               : kCabeceraBase + kDescriptor * int(e.campos.size()) + 1;
    if (e.largoCabecera > 0xFFFF) definicionInvalida(nombre, QStringLiteral("demasiados campos"));
    return e;
}

QByteArray codificarCabecera(const EstructuraDbf& e) {
    QByteArray b(e.largoCabecera, '\0');
    char* p = b.data();
    p[0] = static_cast<char>(e.version);
    b.replace(1, 7, codificarFechaYCuenta(e.fecha, e.registrosCabecera));
    poner16(p + 8, e.largoCabecera);
    poner16(p + 10, e.largoRegistro);
    p[28] = e.indiceProduccion ? 0x01 : 0x00;
    p[29] = 0x03;  // Windows ANSI, code page 1252
    int pos = kCabeceraBase;
    if (e.nivel7) {
        const QByteArray controlador("DBWINWE0");
        std::copy(controlador.begin(), controlador.end(), p + 32);
        pos = kCabeceraNivel7;
    }
    for (const CampoDbf& c : e.campos) {
        char* d = p + pos;
        const QByteArray n = c.fisico.nombre.toLatin1();
        std::copy(n.begin(), n.end(), d);
        if (e.nivel7) {
            d[32] = c.fisico.tipo;
            d[33] = static_cast<char>(c.fisico.ancho);
            d[34] = static_cast<char>(c.fisico.decimales);
            d[37] = c.indexado ? 0x01 : 0x00;
            pos += kDescriptorNivel7;
        } else {
            d[11] = c.fisico.tipo;
            d[16] = static_cast<char>(c.fisico.ancho);
            d[17] = static_cast<char>(c.fisico.decimales);
            d[31] = c.indexado ? 0x01 : 0x00;
            pos += kDescriptor;
        }
    }
    p[pos] = kFinDescriptores;
    return b;
}

QByteArray codificarFechaYCuenta(QDate fecha, quint32 registros) {
    QByteArray b(7, '\0');
    ponerFechaYCuenta(b.data(), fecha, registros);
    return b;
}

void ponerFechaYCuenta(char* destino, QDate fecha, quint32 registros) {
    if (fecha.isValid()) {
        destino[0] = static_cast<char>(qBound(0, fecha.year() - 1900, 255));
        destino[1] = static_cast<char>(fecha.month());
        destino[2] = static_cast<char>(fecha.day());
    } else {
        std::fill_n(destino, 3, '\0');
    }
    poner32(destino + 3, registros);
}

}  // namespace varnolo::motor
