"""Prints work tables as text, read with dbfread (independent of our engine).

    volcar_tablas.py FOLDER TABLE...

For each table: a line "== NAME", a line with the field names, then one line per
record, values joined by "|": blank fields empty, logical T/F, numbers as %g.
"""
import os
import sys

from dbfread import DBF


def texto(valor):
    if valor is None:
        return ""
    if isinstance(valor, bool):
        return "T" if valor else "F"
    if isinstance(valor, (int, float)):
        return "%g" % valor
    return str(valor)


def main():
    carpeta = sys.argv[1]
    for nombre in sys.argv[2:]:
        tabla = DBF(os.path.join(carpeta, nombre + ".DBF"), char_decode_errors="strict")
        print("== " + nombre)
        print("|".join(tabla.field_names))
        for registro in tabla:
            print("|".join(texto(v) for v in registro.values()))


if __name__ == "__main__":
    main()
