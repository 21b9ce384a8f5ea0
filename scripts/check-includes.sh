#!/usr/bin/env bash
# Keeps the core's layers: each folder includes only itself and the folders listed for
# it below (includes are written from the project's root, "dbf/Tabla.h"). Also refuses
# a relative include of our own headers and two headers of the same name. Prints every
# offending line and ends with 1 when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A permitidas=(
  [base]=""
  [dbf]="base"
  [xml]="base"
  [velna]="xml base"
  [taviron]="dbf base"
  [conversion]="taviron dbf base"
  [export]="conversion velna taviron xml dbf base"
  [import]="conversion velna taviron xml dbf base"
  [cli]="export import conversion velna taviron xml dbf base"
  [app]="export import conversion velna taviron xml dbf base"
)
propias="base dbf xml velna taviron conversion export import cli app tests bench"

fallos=0
for carpeta in "${!permitidas[@]}"; do
  while IFS= read -r linea; do
    archivo="${linea%%:*}"
    incluido="$(sed -E 's/.*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/' <<<"$linea")"
    raiz="${incluido%%/*}"
    if [[ "$incluido" != */* ]]; then
      # Generated headers (ui_*.h, *.moc) are the only ones without a folder.
      [[ "$incluido" == ui_*.h || "$incluido" == *.moc ]] && continue
      echo "$linea: se escribe desde la raíz del proyecto"
      fallos=1
      continue
    fi
    [[ " $propias " == *" $raiz "* ]] || continue
    [[ "$raiz" == "$carpeta" ]] && continue
    if [[ " ${permitidas[$carpeta]} " != *" $raiz "* ]]; then
      echo "$linea: $carpeta/ no puede incluir $raiz/"
      fallos=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$carpeta" \
             --include='*.h' --include='*.cpp' || true)
done

# Two headers of the same name would make an include mean one or the other.
repetidos="$(git ls-files '*.h' | xargs -n1 basename | sort | uniq -d)"
if [ -n "$repetidos" ]; then
  echo "cabeceras con el mismo nombre: $repetidos"
  fallos=1
fi

# The core reads libxml2's parser through its public functions only.
if grep -rnE 'ctxt->|->sax->' xml/ velna/; then
  echo "xml/ y velna/ no leen ni cambian el estado interno del analizador de libxml2"
  fallos=1
fi

if [ "$fallos" -ne 0 ]; then exit 1; fi
echo "check-includes: las capas se respetan"
