#!/usr/bin/env bash
# The Windows build (under Wine) and the Linux build must write the same files: each
# bundled sample is exported by both, and every table and index is compared byte for
# byte but for the date of the last update in the header (bytes 1 to 3); then both
# import the same SOLUC and the result documents are compared but for "fecha".
# Run by scripts/windows.sh after the Windows build; builds the Linux CLI when needed.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
cmake --preset default >/dev/null
cmake --build --preset default --target varnolo-cli nivelcan >/dev/null

linux=build/bin/varnolo-cli
windows="cmake/wine-run.sh build-windows/bin/varnolo-cli.exe"
raiz=build-windows/comparacion
rm -rf "$raiz"

# Each sample and the time frames it is exported with.
muestras=("centro.xml" "centro-marcos.xml --marco ORD --marco JUN" "centro-sin-toma.xml")

comparar_tablas() {
  python3 - "$1" "$2" <<'PY'
import os, sys
a, b = sys.argv[1], sys.argv[2]
nombres = sorted(os.listdir(a))
if nombres != sorted(os.listdir(b)):
    sys.exit(f"archivos distintos: {nombres} / {sorted(os.listdir(b))}")
for n in nombres:
    x = open(os.path.join(a, n), "rb").read()
    y = open(os.path.join(b, n), "rb").read()
    if n.upper().endswith((".DBF", ".MDX")):
        x, y = x[:1] + x[4:], y[:1] + y[4:]
    if x != y:
        i = next((k for k in range(min(len(x), len(y))) if x[k] != y[k]), min(len(x), len(y)))
        sys.exit(f"{n}: distinto desde el byte {i} ({len(x)} / {len(y)} bytes)")
print(f"  {len(nombres)} archivos iguales")
PY
}

for muestra in "${muestras[@]}"; do
  read -r documento marcos <<<"$muestra"
  for sistema in linux windows; do
    mkdir -p "$raiz/$sistema/${documento%.xml}/QWORK"
    cp "examples/$documento" "$raiz/$sistema/${documento%.xml}/"
  done
  echo "$documento $marcos"
  # shellcheck disable=SC2086
  "$linux" exportar "$raiz/linux/${documento%.xml}/$documento" $marcos \
    --qwork "$raiz/linux/${documento%.xml}/QWORK" >/dev/null
  # shellcheck disable=SC2086
  $windows exportar "$raiz/windows/${documento%.xml}/$documento" $marcos \
    --qwork "$raiz/windows/${documento%.xml}/QWORK" >/dev/null
  comparar_tablas "$raiz/linux/${documento%.xml}/QWORK" "$raiz/windows/${documento%.xml}/QWORK"
done

echo "importación de centro.xml"
/usr/bin/python3 examples/soluc_ejemplo.py "$raiz/linux/centro/QWORK" >/dev/null
cp "$raiz/linux/centro/QWORK/SOLUC.DBF" "$raiz/windows/centro/QWORK/"
"$linux" importar "$raiz/linux/centro/centro.xml" --qwork "$raiz/linux/centro/QWORK" >/dev/null
$windows importar "$raiz/windows/centro/centro.xml" --qwork "$raiz/windows/centro/QWORK" >/dev/null
sin_fecha() { sed 's/ fecha="[^"]*"/ fecha=""/' "$1"; }
if ! cmp -s <(sin_fecha "$raiz/linux/centro/ResultadoZentorcentro.xml") \
  <(sin_fecha "$raiz/windows/centro/ResultadoZentorcentro.xml"); then
  echo "ResultadoZentorcentro.xml: distinto" >&2
  exit 1
fi
echo "  ResultadoZentorcentro.xml igual (salvo fecha)"
