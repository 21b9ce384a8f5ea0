// varnolo-cli's streams: redirected, the bytes are the text in UTF-8; to a console,
// whole characters reach the console's wide-character writer, however the bytes of
// one character come split between writes.

#include <gtest/gtest.h>

#include <QTemporaryFile>
#include <QTextStream>
#include <cstdio>

#include "cli/Consola.h"

namespace varnolo::cli {
namespace {

const QString kTexto = QStringLiteral("Acción desconocida: año, €, 𝄞.\n");

TEST(SalidaConsola, RedirigidaEscribeUtf8) {
    QTemporaryFile temporal;
    ASSERT_TRUE(temporal.open());
    temporal.close();
    std::FILE* archivo = std::fopen(QFile::encodeName(temporal.fileName()).constData(), "w+b");
    ASSERT_NE(archivo, nullptr);
    {
        SalidaConsola salida(archivo);
        EXPECT_FALSE(salida.esConsola());
        QTextStream flujo(&salida);
        flujo << kTexto << Qt::flush;
    }
    std::rewind(archivo);
    QByteArray leido(256, '\0');
    leido.resize(static_cast<qsizetype>(std::fread(leido.data(), 1, 256, archivo)));
    std::fclose(archivo);
    EXPECT_EQ(leido, kTexto.toUtf8());
}

TEST(SalidaConsola, LaConsolaRecibeCaracteresEnteros) {
    const QByteArray bytes = kTexto.toUtf8();
    for (qsizetype trozo : {qsizetype(1), qsizetype(2), qsizetype(3), bytes.size()}) {
        SCOPED_TRACE(trozo);
        QString recibido;
        bool partido = false;
        SalidaConsola salida(stdout, [&](const QString& t) {
            for (const QChar c : t) partido |= c == QChar::ReplacementCharacter;
            recibido += t;
            return true;
        });
        ASSERT_TRUE(salida.esConsola());
        for (qsizetype i = 0; i < bytes.size(); i += trozo) {
            EXPECT_EQ(salida.write(bytes.mid(i, trozo)), bytes.mid(i, trozo).size());
        }
        EXPECT_EQ(recibido, kTexto);
        EXPECT_FALSE(partido);
    }
}

}  // namespace
}  // namespace varnolo::cli
