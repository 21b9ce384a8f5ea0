#!/usr/bin/env bash
# Checks the Windows package that scripts/windows.sh made: the folder the installer
# puts on disk (CPack's staging folder) at most 30 MB, the installer at most 12 MB,
# and nothing in it that still carries its symbols. Prints the sizes.
set -euo pipefail
cd "$(dirname "$0")/.."
carpeta="$(find build-windows/_CPack_Packages -maxdepth 3 -type d -name 'Varnolo-*-win64' | head -1)"
instalador="$(ls build-windows/Varnolo-*-win64.exe | head -1)"
[ -d "$carpeta" ] || { echo "paquete: no está la carpeta del instalador"; exit 1; }
instalada=$(du -sb "$carpeta" | cut -f1)
paquete=$(stat -c %s "$instalador")
mb() { awk -v b="$1" 'BEGIN { printf "%.2f MB", b / 1048576 }'; }
echo "paquete: carpeta instalada $(mb "$instalada"), instalador $(mb "$paquete")"
fallo=0
if [ "$instalada" -gt $((30 * 1048576)) ]; then
  echo "paquete: la carpeta instalada pasa de 30 MB"
  fallo=1
fi
if [ "$paquete" -gt $((12 * 1048576)) ]; then
  echo "paquete: el instalador pasa de 12 MB"
  fallo=1
fi
while IFS= read -r -d '' f; do
  if x86_64-w64-mingw32-objdump -h "$f" | grep -q '\.debug_'; then
    echo "paquete: $f lleva aún información de depuración"
    fallo=1
  fi
done < <(find "$carpeta" \( -name '*.dll' -o -name '*.exe' \) -print0)
exit "$fallo"
