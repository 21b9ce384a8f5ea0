#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Varnolo need.
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

paquetes=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6opengl6-dev
  libxml2-dev libgtest-dev googletest
  python3 python3-dbfread python3-dbf python3-chm
  fp-utils
  fonts-liberation fonts-dejavu-core
  lintian
)

faltan=()
for p in "${paquetes[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    faltan+=("$p")
  fi
done

if [ ${#faltan[@]} -eq 0 ]; then
  exit 0
fi

echo "Instalando paquetes que faltan: ${faltan[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
