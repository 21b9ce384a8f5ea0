#!/usr/bin/env bash
# The Windows command: on a Debian machine, builds Varnolo for 64-bit Windows with
# MinGW-w64, runs the whole test suite under Wine, checks that the Windows build
# writes the same files as the Linux build, and makes the installer
# build-windows/Varnolo-<version>-win64.exe.
#
# The first run builds Qt, libxml2 and GoogleTest for Windows into
# ${VARNOLO_MINGW_CACHE:-~/.cache/varnolo-mingw} (about an hour on two cores); later
# runs reuse them. Extra arguments go to ctest (e.g. -R Cursor).
set -euo pipefail
cd "$(dirname "$0")/.."
export VARNOLO_MINGW_CACHE="${VARNOLO_MINGW_CACHE:-$HOME/.cache/varnolo-mingw}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
trabajos="${VARNOLO_MINGW_JOBS:-$(nproc)}"

bash scripts/install-deps.sh
bash scripts/windows-deps.sh

echo "== Compilación para Windows (build-windows/)"
cmake --preset windows >/dev/null
cmake --build --preset windows --parallel "$trabajos"

# Wine's own windows (and the GUI tests that need one) get a virtual screen; Qt's
# tests pick the offscreen platform themselves, since Wine does not pass QT_*
# variables on to Windows programs.
echo "== Pruebas bajo Wine"
# Wine's server and its console host are started by one small console program first,
# so that the tests do not all race to start them. A test whose console host Wine
# leaves behind would hold ctest's pipe until the timeout; such a test gets one more
# run (a real failure fails twice), and no test under Wine needs ten minutes.
bash cmake/wine-run.sh build-windows/bin/varnolo-cli.exe --version >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --preset windows --parallel "$trabajos" --timeout 600 --repeat until-pass:2 "$@"

echo "== Mismos archivos que la compilación de Linux"
bash scripts/compare-windows.sh

echo "== Instalador"
(cd build-windows && cpack -G NSIS >/dev/null)
ls -l build-windows/Varnolo-*-win64.exe
bash scripts/check-windows-package.sh
