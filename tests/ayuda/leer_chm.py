#!/usr/bin/python3
"""Reads the built VELNA.chm with Debian's CHM reader (python3-chm, on CHMLib) and checks
what the Windows help viewer relies on: every page and the stylesheet as in the
repository, the start page, the contents and the index, and the context map that F1 uses
(context 1: the teacher data dialog, context 3: the time-frame dialog).

Usage: leer_chm.py VELNA.chm CARPETA_DE_LAS_PAGINAS
Exit status 0: all good; 1: a check failed; 77: skipped (no reader, no VELNA.chm).
"""

import os
import re
import struct
import sys

CONTEXTOS = {1: "profesores.html", 3: "marcos.html"}

fallos = []


def comprobar(condicion, texto):
    if not condicion:
        fallos.append(texto)


def saltar(texto):
    print("SKIP: " + texto)
    sys.exit(77)


def main():
    if len(sys.argv) != 3:
        sys.exit("uso: leer_chm.py VELNA.chm CARPETA_DE_LAS_PAGINAS")
    ruta_chm, carpeta = sys.argv[1:]
    try:
        from chm import chm
    except ImportError:
        saltar("falta el lector de CHM de Debian (paquete python3-chm)")
    if not os.path.isfile(ruta_chm):
        saltar("no se compiló %s (falta chmcmd, paquete fp-utils)" % ruta_chm)

    archivo = chm.CHMFile()
    if not archivo.LoadCHM(ruta_chm):
        print("FALLO: el lector no abre %s" % ruta_chm)
        sys.exit(1)

    def leer(nombre):
        resultado, unidad = archivo.ResolveObject(nombre.encode("ascii"))
        if resultado != 0:
            return None
        return archivo.RetrieveObject(unidad)[1]

    # Every page and the stylesheet, byte for byte.
    paginas = sorted(n for n in os.listdir(carpeta) if n.endswith((".html", ".css")))
    comprobar(paginas, "no hay páginas en " + carpeta)
    for nombre in paginas:
        with open(os.path.join(carpeta, nombre), "rb") as f:
            comprobar(leer("/" + nombre) == f.read(), "/%s falta o no es la del repositorio" % nombre)

    # Start page, contents, index, language.
    comprobar(archivo.home == b"/index.html", "página de inicio: %r" % archivo.home)
    comprobar(archivo.topics == b"/VELNA.hhc", "contenido: %r" % archivo.topics)
    comprobar(archivo.index == b"/VELNA.hhk", "índice: %r" % archivo.index)
    comprobar(archivo.GetLCID() is not None and b"Spanish" in archivo.GetLCID()[1],
              "idioma: %r" % (archivo.GetLCID(),))

    local = re.compile(rb'<param name="Local" value="([^"#]*)(?:#[^"]*)?">')
    contenido = archivo.GetTopicsTree() or b""
    en_contenido = local.findall(contenido)
    comprobar(en_contenido[:1] == [b"index.html"], "el contenido no empieza por index.html")
    for nombre in paginas:
        if nombre.endswith(".html"):
            comprobar(nombre.encode() in en_contenido, "%s no está en el contenido" % nombre)
    indice = archivo.GetIndex() or b""
    en_indice = local.findall(indice)
    comprobar(len(en_indice) > 0, "el índice está vacío")
    for destino in set(en_contenido + en_indice):
        comprobar(leer("/" + destino.decode("cp1252")) is not None,
                  "el contenido o el índice llevan a %r, que no está" % destino)

    # The context map: #IVB holds pairs (context, offset into #STRINGS).
    ivb = leer("/#IVB")
    cadenas = leer("/#STRINGS")
    comprobar(ivb is not None and cadenas is not None, "no hay mapa de contextos (#IVB)")
    mapa = {}
    if ivb and cadenas:
        largo = struct.unpack_from("<I", ivb)[0]
        for i in range(largo // 8):
            contexto, posicion = struct.unpack_from("<II", ivb, 4 + 8 * i)
            fin = cadenas.index(b"\0", posicion)
            mapa[contexto] = cadenas[posicion:fin].decode("cp1252")
    for contexto, pagina in CONTEXTOS.items():
        comprobar(mapa.get(contexto) == pagina,
                  "el contexto %d lleva a %r, no a %r" % (contexto, mapa.get(contexto), pagina))
        if contexto in mapa:
            comprobar(leer("/" + mapa[contexto].lstrip("/")) is not None,
                      "el contexto %d lleva a una página que no está" % contexto)

    archivo.CloseCHM()
    for f in fallos:
        print("FALLO: " + f)
    if not fallos:
        print("VELNA.chm: %d archivos, contexto 1 -> %s, contexto 3 -> %s"
              % (len(paginas), mapa.get(1), mapa.get(3)))
    sys.exit(1 if fallos else 0)


if __name__ == "__main__":
    main()
