#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in the project's own Wine
# prefix (made on first use): no crash dialog, no Mono or Gecko prompts, quiet.
#   VARNOLO_WINEPREFIX  the prefix (default: wine/ in the MinGW cache)
# With "--dlls FOLDER" first, the program also finds DLLs in FOLDER (a Unix path).
set -euo pipefail
if [ "${1:-}" = "--dlls" ]; then
  carpeta="$(cd "$2" && pwd)"
  export WINEPATH="Z:${carpeta//\//\\}${WINEPATH:+;$WINEPATH}"
  shift 2
fi
cache="${VARNOLO_MINGW_CACHE:-$HOME/.cache/varnolo-mingw}"
export WINEPREFIX="${VARNOLO_WINEPREFIX:-$cache/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/.varnolo" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.varnolo" ]; then
      wineboot --init >/dev/null 2>&1
      # A crashed test ends at once instead of waiting in the crash dialog.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.varnolo"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
