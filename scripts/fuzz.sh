#!/usr/bin/env bash
# Builds the fuzz targets of the XML loader and of the dBase table reader with clang
# and libFuzzer, and runs each over its seed corpus for SECONDS (default 60). Without
# clang it says so and ends with success: the targets need clang's libFuzzer.
#
# The mutations start from a fixed seed, so that a run that fails fails again for
# whoever repeats it; VARNOLO_FUZZ_SEMILLA=0 lets libFuzzer pick one (longer searches).
set -euo pipefail
cd "$(dirname "$0")/.."
segundos="${1:-60}"
semilla="${VARNOLO_FUZZ_SEMILLA:-1}"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: no hay clang++; no se construyen ni se ejecutan los objetivos de fuzzing"
  exit 0
fi
# libFuzzer's runtime comes apart from the compiler on Debian.
version="$(clang++ -dumpversion | cut -d. -f1)"
paquete="libclang-rt-${version}-dev"
if ! dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$paquete"
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVARNOLO_FUZZ=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
cmake --build build-fuzz --target fuzz_documento_xml fuzz_tabla

trabajo="$(mktemp -d)"
trap 'rm -rf "$trabajo"' EXIT
# Besides the fixed seeds, tables of our own engine: the work folder of an export run
# by the ordinary build, when it is there.
mkdir -p "$trabajo/tablas" "$trabajo/xml"
cp tests/data/dbf/*.dbf "$trabajo/tablas/"
if [ -x build/bin/varnolo-cli ] && [ -f build/bin/NIVELCAN.DBF ]; then
  mkdir -p "$trabajo/qwork"
  if build/bin/varnolo-cli exportar tests/data/principal/completo.xml --qwork "$trabajo/qwork" \
      --niveles build/bin/NIVELCAN.DBF >/dev/null 2>&1; then
    cp "$trabajo"/qwork/*.DBF "$trabajo/tablas/"
  fi
fi

export ASAN_OPTIONS=detect_leaks=0
# An input that makes a target fail is kept here, to be run again as a file argument.
mkdir -p build-fuzz/hallazgos
for objetivo in fuzz_documento_xml:tests/data/xml fuzz_tabla:"$trabajo/tablas"; do
  programa="${objetivo%%:*}"
  semillas="${objetivo#*:}"
  mkdir -p "$trabajo/corpus-$programa"
  echo "fuzz: $programa durante ${segundos} s (semilla $semilla)"
  build-fuzz/bin/"$programa" -seed="$semilla" -max_total_time="$segundos" -timeout=20 -rss_limit_mb=4096 \
    -artifact_prefix=build-fuzz/hallazgos/ \
    -print_final_stats=1 "$trabajo/corpus-$programa" "$semillas"
done
# A target that finds a crash ends the script above with its failure.
echo "fuzz: ningún objetivo ha fallado"
