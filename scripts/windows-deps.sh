#!/usr/bin/env bash
# Builds the Windows (MinGW-w64) versions of Qt, libxml2 and GoogleTest from
# Debian's source packages into a cache outside the repository, once. Each part is
# skipped when its stamp file is already in the cache, so a warm run does nothing.
#
#   VARNOLO_MINGW_CACHE   the cache (default ~/.cache/varnolo-mingw)
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
cache="${VARNOLO_MINGW_CACHE:-$HOME/.cache/varnolo-mingw}"
mkdir -p "$cache/src"
trabajos="${VARNOLO_MINGW_JOBS:-$(nproc)}"
toolchain="$raiz/cmake/mingw-w64-x86_64.cmake"

paquetes=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine nsis xvfb xauth
  dpkg-dev cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  googletest perl python3)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando paquetes que faltan: ${faltan[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

# Source packages need a deb-src entry for the archive this machine already uses.
asegurar_fuentes() {
  if grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  local origen=/etc/apt/sources.list.d/debian.sources
  if [ -f "$origen" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$origen" |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/varnolo-src.sources >/dev/null
  else
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/varnolo-src.list >/dev/null
  fi
  "${sudo_cmd[@]}" apt-get update -qq
}

# Unpacks a Debian source package into $cache/src/<name> (once).
fuente() {
  local nombre=$1
  if [ ! -d "$cache/src/$nombre" ]; then
    asegurar_fuentes
    local tmp
    tmp="$(mktemp -d "$cache/src/.bajada.XXXXXX")"
    (cd "$tmp" && apt-get source -qq "$nombre" >/dev/null)
    local dir
    dir="$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n1)"
    mv "$dir" "$cache/src/$nombre"
    rm -rf "$tmp"
  fi
  echo "$cache/src/$nombre"
}

construir_qt() {
  [ -f "$cache/qt6/.hecho" ] && return
  local src
  src="$(fuente qt6-base)"
  local bld="$cache/build/qt6"
  # With OpenGL off, Qt 6.4's Windows plugin still asks the dynamic-GL context
  # whether it is a software renderer; that question only exists with OpenGL.
  sed -i '/isSoftwareGl/,/#endif/ s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(opengl) \&\& QT_CONFIG(dynamicgl)/' \
    "$src/src/plugins/platforms/windows/qwindowswindow.cpp"
  rm -rf "$cache/qt6"
  mkdir -p "$bld"
  echo "== Qt para Windows (la primera vez tarda casi una hora; un corte se reanuda)"
  cmake -S "$src" -B "$bld" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVARNOLO_MINGW_CACHE="$cache" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$cache/qt6" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF \
    -DFEATURE_direct2d=ON -DFEATURE_zstd=OFF -DFEATURE_pcre2=ON -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_sql_sqlite=OFF -DFEATURE_sqlmodel=OFF \
    >"$cache/build/qt6-configure.log" 2>&1 || { tail -40 "$cache/build/qt6-configure.log"; exit 1; }
  cmake --build "$bld" --parallel "$trabajos" >"$cache/build/qt6-build.log" 2>&1 ||
    { tail -40 "$cache/build/qt6-build.log"; exit 1; }
  cmake --install "$bld" >/dev/null
  touch "$cache/qt6/.hecho"
  rm -rf "$bld"
}

construir_libxml2() {
  [ -f "$cache/libxml2/.hecho" ] && return
  local src
  src="$(fuente libxml2)"
  local bld="$cache/build/libxml2"
  rm -rf "$bld" "$cache/libxml2"
  echo "== libxml2 para Windows"
  # No iconv for MinGW in Debian: the program registers its own Windows-1252
  # handler; UTF-8, UTF-16 and Latin-1 are built in.
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVARNOLO_MINGW_CACHE="$cache" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$cache/libxml2" -DBUILD_SHARED_LIBS=ON \
    -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_LZMA=OFF \
    -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_TESTS=OFF \
    -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF \
    -DLIBXML2_WITH_THREADS=ON -DLIBXML2_WITH_MODULES=OFF \
    >"$cache/build/libxml2.log" 2>&1 || { tail -40 "$cache/build/libxml2.log"; exit 1; }
  cmake --build "$bld" --parallel "$trabajos" >>"$cache/build/libxml2.log" 2>&1 ||
    { tail -40 "$cache/build/libxml2.log"; exit 1; }
  cmake --install "$bld" >/dev/null
  touch "$cache/libxml2/.hecho"
  rm -rf "$bld"
}

construir_gtest() {
  [ -f "$cache/gtest/.hecho" ] && return
  local bld="$cache/build/gtest"
  rm -rf "$bld" "$cache/gtest"
  echo "== GoogleTest para Windows"
  cmake -S /usr/src/googletest -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DVARNOLO_MINGW_CACHE="$cache" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$cache/gtest" -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF \
    >"$cache/build/gtest.log" 2>&1 || { tail -40 "$cache/build/gtest.log"; exit 1; }
  cmake --build "$bld" --parallel "$trabajos" >>"$cache/build/gtest.log" 2>&1 ||
    { tail -40 "$cache/build/gtest.log"; exit 1; }
  cmake --install "$bld" >/dev/null
  touch "$cache/gtest/.hecho"
  rm -rf "$bld"
}

mkdir -p "$cache/build"
construir_libxml2
construir_gtest
construir_qt
echo "Dependencias de Windows listas en $cache"
