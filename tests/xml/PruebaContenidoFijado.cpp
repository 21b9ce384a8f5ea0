// A finished part of a document kept as its serialised bytes: the saved document is
// the same byte for byte, whatever the encoding and whatever the texts hold.

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

#include "data/DocumentoXml.h"
#include "data/Errores.h"

namespace varnolo {
namespace {

/// A document loaded from `xml`, with a record of awkward texts appended to its root.
NodoXml construir(DocumentoXml& doc, const QByteArray& xml) {
    EXPECT_TRUE(doc.loadXml(xml));
    NodoXml raiz = doc.documentElement();
    NodoXml registro = doc.createElement(QStringLiteral("grupo_datos"));
    registro.setAttribute(QStringLiteral("seq"), QStringLiteral("PROFESOR_1"));
    raiz.appendChild(registro);
    const QStringList textos = {QStringLiteral("José Muñoz"),
                                QStringLiteral("a < b & c > d \"e\" 'f'"),
                                QStringLiteral("línea\r\nnueva\ttab"),
                                QStringLiteral("€ 中文 \U0001F600"),
                                QString(),
                                QStringLiteral("   ")};
    int i = 0;
    for (const QString& t : textos) {
        NodoXml act = doc.createElement(QStringLiteral("grupo_datos"));
        act.setAttribute(QStringLiteral("seq"),
                         QStringLiteral("ACTIVIDAD_") + QString::number(++i));
        registro.appendChild(act);
        NodoXml dato = doc.createElement(QStringLiteral("dato"));
        dato.setAttribute(QStringLiteral("nombre_dato"), t);
        dato.setText(t);
        act.appendChild(dato);
        act.appendChild(doc.createElement(QStringLiteral("vacio")));
    }
    return registro;
}

TEST(ContenidoFijado, GuardaLosMismosBytes) {
    const QList<QByteArray> documentos = {
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<SERVICIO a=\"1\"/>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO/>",
        "<?xml version=\"1.0\"?>\n<SERVICIO/>",
        "<SERVICIO/>",
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<!-- c -->\n<SERVICIO/>",
    };
    for (const QByteArray& xml : documentos) {
        SCOPED_TRACE(xml.toStdString());
        DocumentoXml esperado;
        construir(esperado, xml);
        DocumentoXml fijado;
        NodoXml registro = construir(fijado, xml);
        registro.fijarContenido();
        // Still an element that takes attributes and is saved in its place.
        registro.setAttribute(QStringLiteral("registros"), QStringLiteral("6"));
        esperado.documentElement().firstChild().setAttribute(QStringLiteral("registros"),
                                                             QStringLiteral("6"));
        NodoXml vacio = fijado.createElement(QStringLiteral("sin_hijos"));
        fijado.documentElement().appendChild(vacio);
        vacio.fijarContenido();
        esperado.documentElement().appendChild(esperado.createElement(QStringLiteral("sin_hijos")));
        EXPECT_EQ(fijado.toByteArray(), esperado.toByteArray());
    }
}

TEST(ContenidoFijado, SoloUnElemento) {
    DocumentoXml doc;
    ASSERT_TRUE(doc.loadXml("<a>texto</a>"));
    EXPECT_THROW(doc.documentElement().firstChild().fijarContenido(), ErrorVarnolo);
    EXPECT_THROW(NodoXml().fijarContenido(), ErrorVarnolo);
}

}  // namespace
}  // namespace varnolo
