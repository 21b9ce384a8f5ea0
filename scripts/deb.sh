#!/usr/bin/env bash
# Builds the Linux package build/varnolo_<version>_amd64.deb: the program folder in
# /usr/lib/varnolo, links in /usr/bin, a .desktop file, an icon, manual pages, the
# changelog and the copyright file; it depends on Debian's Qt and libxml2 packages.
# Then checks it with lintian (no error or warning allowed) and that the manual page
# of varnolo-cli names every action and option of its usage.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target varnolo varnolo-cli nivelcan documentos_paquete
(cd build && cpack -G DEB >/dev/null)
ls -l build/varnolo_*_amd64.deb
paquete="$(ls build/varnolo_*_amd64.deb | head -1)"

# The package as Debian's own checker sees it: any error or warning fails.
if [ "$(id -u)" -eq 0 ]; then lintian_root=(--allow-root); else lintian_root=(); fi
informe="$(lintian "${lintian_root[@]}" --fail-on error,warning "$paquete" 2>&1)" || {
  echo "$informe"
  echo "deb: lintian encuentra errores o avisos en $paquete"
  exit 1
}
[ -z "$informe" ] || echo "$informe"

# The manual page names every action and option that varnolo-cli --help lists.
manual="$(gzip -dc build/documentos/varnolo-cli.1.gz | sed 's/\\-/-/g')"
for palabra in $(build/bin/varnolo-cli --help | grep -oE -- '(^| )(--?[a-z]+|exportar|importar|comprobar|copias|restaurar)' | sort -u); do
  if ! grep -qF -- "$palabra" <<<"$manual"; then
    echo "deb: la página de manual de varnolo-cli no nombra $palabra"
    exit 1
  fi
done
echo "deb: lintian sin avisos; la página de manual nombra todas las acciones y opciones"
