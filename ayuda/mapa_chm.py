#!/usr/bin/env python3
"""Gives VELNA.chm, as chmcmd compiled it, the context map that the .hhp asks for.

chmcmd (Free Pascal 3.2) stores each [ALIAS] topic in the context map (#IVB, offsets into
#STRINGS) as the absolute path of the file on the build machine, e.g.
"/home/x/build/ayuda/proyecto/marcos.html": a help viewer looks that name up inside the
file, does not find it, and F1 opens nothing. The path is a prefix of the right name
"marcos.html", and #STRINGS keeps every string whole, so the right name already lies at
the same offset plus the length of the prefix. This script writes a new #IVB with those
offsets, uncompressed, at the end of the file, and points the directory entry of #IVB at
it; nothing else in the file changes.

Usage: mapa_chm.py PROYECTO.hhp COMPILADO.chm DESTINO.chm
The .hhp is the one chmcmd compiled, named by the same absolute path.
"""

import os
import re
import struct
import sys


def fallo(texto):
    sys.exit("mapa_chm: " + texto)


def leer_proyecto(ruta_hhp):
    """[FILES] in order, and the context number of each aliased file."""
    with open(ruta_hhp, encoding="cp1252") as f:
        lineas = f.read().splitlines()
    secciones = {}
    actual = None
    for linea in lineas:
        linea = linea.strip()
        if not linea or linea.startswith(";"):
            continue
        m = re.fullmatch(r"\[(.+)\]", linea)
        if m:
            actual = m.group(1).upper()
            secciones[actual] = []
        elif actual:
            secciones[actual].append(linea)
    archivos = secciones.get("FILES", [])
    alias = {}
    for linea in secciones.get("ALIAS", []):
        nombre, _, archivo = linea.partition("=")
        alias[nombre.strip()] = archivo.strip()
    numeros = {}
    for linea in secciones.get("MAP", []):
        m = re.fullmatch(r"#define\s+(\S+)\s+(\d+)", linea)
        if not m:
            fallo("línea de [MAP] no reconocida: " + linea)
        numeros[m.group(1)] = int(m.group(2))
    contexto_de = {}
    for nombre, archivo in alias.items():
        if nombre not in numeros:
            fallo("el alias %s no tiene número en [MAP]" % nombre)
        contexto_de[archivo.upper()] = numeros[nombre]
    return archivos, contexto_de


def cadenas_de_chmcmd(ruta_hhp, archivos, contexto_de):
    """The context entries as chmcmd wrote them: (context, string, offset in #STRINGS).

    chmcmd adds these strings first, in [FILES] order, to a #STRINGS that begins with a
    null byte; each string is followed by its null byte and none crosses a 4096-byte
    block."""
    base = os.path.dirname(os.path.abspath(ruta_hhp)) + "/"
    entradas = []
    posicion = 1
    for archivo in archivos:
        contexto = contexto_de.get(archivo.upper())
        if not contexto:
            continue
        texto = (base + archivo).encode("cp1252")
        siguiente_bloque = (posicion & 0xF000) + 0x1000
        if posicion + len(texto) + 1 > siguiente_bloque:
            posicion = siguiente_bloque
        entradas.append((contexto, archivo, posicion + len(base.encode("cp1252"))))
        posicion += len(texto) + 1
    if len(entradas) != len(contexto_de):
        fallo("algún alias no nombra un archivo de [FILES]")
    return entradas


def leer_encint(datos, i):
    valor = 0
    inicio = i
    while True:
        b = datos[i]
        i += 1
        valor = (valor << 7) | (b & 0x7F)
        if not b & 0x80:
            return valor, inicio, i


def encint(valor):
    grupos = []
    while True:
        grupos.append(valor & 0x7F)
        valor >>= 7
        if not valor:
            break
    grupos.reverse()
    return bytes([g | 0x80 for g in grupos[:-1]] + [grupos[-1]])


def cambiar_entrada_ivb(datos, seccion, desplazamiento, longitud):
    """Rewrites the directory entry /#IVB in place with new values.

    The entry lies in a PMGL chunk: a 0x14-byte header, the entries, free space, and at
    the end a quickref area of WORD offsets of every few entries (counted from the first
    entry) before a WORD count of entries. A longer entry takes bytes from the free
    space; the entries after it move, and so do their quickref offsets."""
    if datos[:4] != b"ITSF":
        fallo("no es un archivo CHM")
    directorio = struct.unpack_from("<Q", datos, 0x48)[0]
    if datos[directorio:directorio + 4] != b"ITSP":
        fallo("directorio no reconocido")
    largo_cabecera = struct.unpack_from("<I", datos, directorio + 8)[0]
    tamano_bloque = struct.unpack_from("<I", datos, directorio + 0x10)[0]
    densidad = struct.unpack_from("<I", datos, directorio + 0x14)[0]
    bloques = struct.unpack_from("<I", datos, directorio + 0x2C)[0]
    for n in range(bloques):
        inicio = directorio + largo_cabecera + n * tamano_bloque
        bloque = bytearray(datos[inicio:inicio + tamano_bloque])
        if bloque[:4] != b"PMGL":
            continue
        libre = struct.unpack_from("<I", bloque, 4)[0]
        fin = tamano_bloque - libre
        i = 0x14
        while i < fin:
            entrada = i
            largo, _, i = leer_encint(bloque, i)
            nombre = bytes(bloque[i:i + largo])
            i += largo
            campos = i
            for _ in range(3):
                i = leer_encint(bloque, i)[2]
            if nombre != b"/#IVB":
                continue
            nuevos = encint(seccion) + encint(desplazamiento) + encint(longitud)
            crece = len(nuevos) - (i - campos)
            entradas = struct.unpack_from("<H", bloque, tamano_bloque - 2)[0]
            rapidas = entradas // (1 + (1 << densidad))
            cola = 2 * (rapidas + 1)
            if libre - crece < cola:
                fallo("no cabe la entrada de #IVB en su bloque del directorio")
            cuerpo = bloque[:campos] + nuevos + bloque[i:fin]
            final = bloque[tamano_bloque - cola:]
            for k in range(rapidas):
                q = struct.unpack_from("<H", final, 2 * k)[0]
                if q + 0x14 > entrada:
                    struct.pack_into("<H", final, 2 * k, q + crece)
            bloque = cuerpo + bytes(tamano_bloque - len(cuerpo) - len(final)) + final
            struct.pack_into("<I", bloque, 4, libre - crece)
            datos[inicio:inicio + tamano_bloque] = bloque
            return
    fallo("el archivo no tiene mapa de contextos (#IVB)")


def main():
    if len(sys.argv) != 4:
        fallo("uso: mapa_chm.py PROYECTO.hhp COMPILADO.chm DESTINO.chm")
    ruta_hhp, compilado, destino = sys.argv[1:]
    archivos, contexto_de = leer_proyecto(ruta_hhp)
    entradas = cadenas_de_chmcmd(ruta_hhp, archivos, contexto_de)
    with open(compilado, "rb") as f:
        datos = bytearray(f.read())

    ivb = struct.pack("<I", 8 * len(entradas))
    for contexto, _, posicion in entradas:
        ivb += struct.pack("<II", contexto, posicion)

    # Section 0 holds data uncompressed from the content offset to the end of the file.
    contenido = struct.unpack_from("<Q", datos, 0x58)[0]
    cambiar_entrada_ivb(datos, 0, len(datos) - contenido, len(ivb))
    datos += ivb

    # Header section 0 records the size of the whole file.
    seccion0 = struct.unpack_from("<Q", datos, 0x38)[0]
    struct.pack_into("<Q", datos, seccion0 + 8, len(datos))

    with open(destino, "wb") as f:
        f.write(datos)


if __name__ == "__main__":
    main()
