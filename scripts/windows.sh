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
# Wine's server and services start with the first Windows program and keep its
# standard streams open for as long as they run: started by a test, they would hold
# that test's pipe until ctest's timeout. So the server is started here (once the
# prefix is made), persistent and with its streams closed, with one small console
# program to bring up the services; it is stopped after the tests. A test that Wine's console host still
# leaves hanging gets one more run (a real failure fails twice).
export WINEPREFIX="${VARNOLO_WINEPREFIX:-$VARNOLO_MINGW_CACHE/wine}"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  bash cmake/wine-run.sh build-windows/bin/varnolo-cli.exe --version </dev/null >/dev/null 2>&1
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1
  bash cmake/wine-run.sh build-windows/bin/varnolo-cli.exe --version </dev/null >/dev/null 2>&1
  estado=0
  ctest --preset windows --parallel "$0" --timeout 600 --repeat until-pass:2 "${@}" || estado=$?
  wineserver -k >/dev/null 2>&1 || true
  exit "$estado"' "$trabajos" "$@"

echo "== Mismos archivos que la compilación de Linux"
bash scripts/compare-windows.sh

echo "== Instalador"
(cd build-windows && cpack -G NSIS >/dev/null)
ls -l build-windows/Varnolo-*-win64.exe
bash scripts/check-windows-package.sh
