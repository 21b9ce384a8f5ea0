#!/usr/bin/python3
"""Writes a sample SOLUC into a work folder that an export has filled.

This is a sample placement to try the import with, not a timetable: every row of
ASIGT gets HORAS lessons, placed round-robin over the cells of DIASHORAST, and the
teachers of PROFT take the assignments round-robin. Run it with the system Python,
which has python3-dbf:

    /usr/bin/python3 examples/soluc_ejemplo.py /path/to/QWORK

With --extras the table also carries a field the import does not read, one lesson
not placed (DIA 0) and one deleted row, as tables written by other programs may.
"""

import argparse
import os
import sys

import dbf

CAMPOS = ("PROF C(10); DIA N(2,0); HORA N(2,0); MARCO C(1); ASIG C(10); "
          "CODGRUPO C(10); TAREA C(10); AULA C(10)")


def abrir(carpeta, nombre):
    for f in os.listdir(carpeta):
        if f.upper() == nombre + ".DBF":
            t = dbf.Table(os.path.join(carpeta, f))
            t.open(dbf.READ_ONLY)
            return t
    sys.exit("No existe %s.DBF en %s" % (nombre, carpeta))


def texto(valor):
    return "" if valor is None else str(valor).rstrip()


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("carpeta", help="work folder with the exported tables")
    p.add_argument("--extras", action="store_true")
    a = p.parse_args()

    profesores = [texto(r.abrev) for r in abrir(a.carpeta, "PROFT")]
    celdas = [(int(texto(r.dia)), int(texto(r.hora)), texto(r.marco))
              for r in abrir(a.carpeta, "DIASHORAST")
              if texto(r.dia).isdigit() and texto(r.hora).isdigit()]
    aulas = [texto(r.abrev) for r in abrir(a.carpeta, "AULAT")] or [""]
    asignaciones = [(texto(r.casig), texto(r.cgrup), texto(r.ctarea),
                     max(1, int(r.horas or 1)))
                    for r in abrir(a.carpeta, "ASIGT")]
    if not profesores or not celdas:
        sys.exit("PROFT o DIASHORAST están vacías: exporte primero")

    campos = CAMPOS + ("; NOTA C(20)" if a.extras else "")
    ruta = os.path.join(a.carpeta, "SOLUC.DBF")
    for f in os.listdir(a.carpeta):
        if f.upper() in ("SOLUC.DBF", "SOLUC.MDX"):
            os.remove(os.path.join(a.carpeta, f))
    t = dbf.Table(ruta, campos, dbf_type="db3", codepage="cp1252")
    t.open(dbf.READ_WRITE)
    celda = 0
    for n, (asig, grupo, tarea, horas) in enumerate(asignaciones):
        prof = profesores[n % len(profesores)]
        for _ in range(horas):
            dia, hora, marco = celdas[celda % len(celdas)]
            celda += 1
            t.append({"prof": prof, "dia": dia, "hora": hora, "marco": marco,
                      "asig": asig, "codgrupo": grupo, "tarea": tarea,
                      "aula": aulas[celda % len(aulas)]})
    if a.extras:
        t.append({"prof": profesores[0], "dia": 0, "hora": 1, "marco": "0",
                  "asig": "SINCOLOCAR", "nota": "no colocada"})
        t.append({"prof": profesores[0], "dia": 1, "hora": 1, "marco": "0",
                  "asig": "BORRADA", "nota": "borrada"})
        dbf.delete(t[len(t) - 1])
    t.close()
    print("SOLUC: %d lecciones en %s" % (celda, ruta))


if __name__ == "__main__":
    main()
