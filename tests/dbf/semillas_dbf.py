#!/usr/bin/env python3
"""Writes the seed tables of the dBase reader's fuzz target into the folder given:
a dBase III table with a deleted row, a level 7 table with binary integers and
doubles, a FoxPro table with its 263-byte backlink, and one written by python-dbf
when that module is present. Our own tables are added by the fuzz script from a
real export."""
import os
import struct
import sys


def tabla(version, campos, filas, nivel7=False, foxpro=False, controlador=0x57):
    inicio, paso = (68, 48) if nivel7 else (32, 32)
    largo = 1 + sum(c[2] for c in campos)
    cabecera_largo = inicio + paso * len(campos) + 1 + (263 if foxpro else 0)
    b = bytearray(cabecera_largo)
    b[0] = version
    b[1:4] = bytes([126, 3, 15])
    struct.pack_into("<IHH", b, 4, len(filas), cabecera_largo, largo)
    b[29] = controlador
    if nivel7:
        b[32:40] = b"DB437US0"
    pos = inicio
    for nombre, tipo, ancho, decimales in campos:
        n = nombre.encode("ascii")
        b[pos:pos + len(n)] = n
        t, a = (32, 33) if nivel7 else (11, 16)
        b[pos + t] = ord(tipo)
        b[pos + a] = ancho
        b[pos + a + 1] = decimales
        pos += paso
    b[pos] = 0x0D
    for borrada, valores in filas:
        b += b"*" if borrada else b" "
        for v in valores:
            b += v
    return bytes(b) + b"\x1a"


def escribir(carpeta, nombre, datos):
    with open(os.path.join(carpeta, nombre), "wb") as f:
        f.write(datos)


def main(carpeta):
    os.makedirs(carpeta, exist_ok=True)
    escribir(carpeta, "dbase3.dbf", tabla(
        0x03,
        [("NOMBRE", "C", 8, 0), ("FECHA", "D", 8, 0), ("CANT", "N", 5, 1), ("ACTIVO", "L", 1, 0)],
        [(False, [b"Garc\xa1a ", b"20260315", b"  1.5", b"T"]),
         (True, [b"Borrada ", b"        ", b"     ", b" "]),
         (False, [b"Ana     ", b"20251201", b"-12.0", b"F"])],
        controlador=0x01))
    escribir(carpeta, "nivel7.dbf", tabla(
        0x04,
        [("NOMBRE_LARGO_DE_CAMPO", "C", 6, 0), ("ENTERO", "I", 4, 0), ("DOBLE", "O", 8, 0),
         ("AUTO", "+", 4, 0)],
        [(False, [b"uno   ", struct.pack(">I", 0x80000005), struct.pack(">d", -2.5),
                  struct.pack(">I", 0x80000001)]),
         (False, [b"dos   ", struct.pack(">I", 0x7FFFFFFF), struct.pack(">d", 1e300),
                  struct.pack(">I", 0x80000002)])],
        nivel7=True, controlador=0))
    escribir(carpeta, "foxpro.dbf", tabla(
        0x30,
        [("COD", "C", 4, 0), ("NUM", "I", 4, 0), ("IMPORTE", "Y", 8, 4), ("NOTA", "N", 6, 2)],
        [(False, [b"A1  ", struct.pack("<i", -7), struct.pack("<q", 12345), b"  3.25"]),
         (False, [b"B2  ", struct.pack("<i", 42), struct.pack("<q", 0), b"   nan"])],
        foxpro=True, controlador=0x03))
    try:
        import dbf
    except ImportError:
        return
    ruta = os.path.join(carpeta, "python_dbf.dbf")
    t = dbf.Table(ruta, "prof C(10); nombre C(30); dia N(2,0); hora N(2,0); alta D; ok L",
                  dbf_type="db3", codepage="cp1252")
    t.open(dbf.READ_WRITE)
    t.append(("P1", "Núñez", 1, 3, dbf.Date(2026, 3, 15), True))
    t.append(("P2", "Otro", 5, 6, None, False))
    t.close()


if __name__ == "__main__":
    main(sys.argv[1])
