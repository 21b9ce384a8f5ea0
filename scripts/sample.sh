#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole round trip on the bundled
# sample: export examples/centro.xml into a fresh work folder, let a sample
# placement stand in for Taviron's SOLUC, import, and show where the result is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target varnolo-cli

bin=build/bin
muestra=build/muestra
rm -rf "$muestra"
mkdir -p "$muestra/QWORK"
cp examples/centro.xml "$muestra/centro.xml"

echo "== Exportación: $muestra/centro.xml -> $muestra/QWORK"
"$bin/varnolo-cli" exportar "$muestra/centro.xml" --qwork "$muestra/QWORK"

echo "== Colocación de ejemplo (SOLUC), en lugar de Taviron"
/usr/bin/python3 examples/soluc_ejemplo.py "$muestra/QWORK"

echo "== Importación"
"$bin/varnolo-cli" importar "$muestra/centro.xml" --qwork "$muestra/QWORK"
echo "Documento de resultado: $muestra/ResultadoZentorcentro.xml"
