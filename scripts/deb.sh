#!/usr/bin/env bash
# Builds the Linux package build/varnolo_<version>_amd64.deb: the program folder in
# /usr/lib/varnolo, links in /usr/bin, a .desktop file and an icon; it depends on
# Debian's Qt and libxml2 packages.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target varnolo varnolo-cli nivelcan
(cd build && cpack -G DEB >/dev/null)
ls -l build/varnolo_*_amd64.deb
