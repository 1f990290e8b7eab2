#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Finds Qt for 64-bit Windows (MinGW-w64) for the Windows build and prints
# its folder as the last line:
# - YOMORISU_QT_MINGW names an unpacked folder: that one;
# - YOMORISU_QT_MINGW names an archive (qt6-mingw-<version>.tar.xz): unpacked
#   once into the cache folder, in a folder named by its checksum (an
#   archive can change under the same name);
# - otherwise the cache folder's, built there once from Debian's own qt6-base
#   source package with the MinGW-w64 cross compiler, the same Qt version as
#   Debian's (its moc, rcc and uic are the host tools). That takes 30 to 60
#   minutes on two cores.
# The cache folder is ${XDG_CACHE_HOME:-~/.cache}/yomorisu. Needs
# scripts/setup.sh --windows first; building needs root or sudo (apt-get).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/+.*//')
cache="${XDG_CACHE_HOME:-$HOME/.cache}/yomorisu"
folder="$cache/qt6-mingw-$version"
given="${YOMORISU_QT_MINGW:-}"

if [ -n "$given" ] && [ -d "$given" ]; then
  echo "$given"
  exit 0
fi
if [ -n "$given" ]; then
  [ -f "$given" ] || { echo "YOMORISU_QT_MINGW names neither a folder nor an archive: $given" >&2; exit 1; }
  # Keyed by the archive's checksum: one changed under the same name gets a
  # folder of its own, and a build using the earlier one keeps it.
  folder="$folder-$(sha256sum "$given" | cut -c1-16)"
  if [ ! -f "$folder/.complete" ]; then
    # Unpacked aside and moved in whole, so builds started at the same time
    # never see half a folder.
    rm -rf "$folder"
    mkdir -p "$cache"
    partial=$(mktemp -d "$folder.partial.XXXXXX")
    tar -C "$partial" -xJf "$given"
    inner=("$partial"/qt6-mingw-*)
    touch "${inner[0]}/.complete"
    mv -T "${inner[0]}" "$folder" 2>/dev/null || true
    rm -rf "$partial"
  fi
  echo "$folder"
  exit 0
fi
# The marker names the recipe: a folder built by an earlier one (without Qt
# Sql) is built again.
recipe=.complete-sql
if [ -f "$folder/$recipe" ]; then
  echo "$folder"
  exit 0
fi

echo "Building Qt $version for Windows from Debian's source into $folder: 30 to 60 minutes" >&2
work="$cache/qt6-mingw-build"
rm -rf "$work" "$folder"
mkdir -p "$work"
cd "$work"
# Source packages come from the same archive as the binary ones.
if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
    $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  $sudo apt-get update -qq
fi
apt-get source --download-only "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" >/dev/null
tar xJf qt6-base_*.orig.tar.xz
source="qtbase-everywhere-src-$version"
# Debian's Qt source leaves out the SQLite Qt bundles; the SQL driver gets
# the single-file SQLite made from Debian's own sqlite3 source, where Qt
# looks for it.
apt-get source --download-only sqlite3 >/dev/null
tar xJf sqlite3_*.orig.tar.xz
(cd sqlite3-*/ && ./configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
mkdir -p "$source/src/3rdparty/sqlite"
cp sqlite3-*/sqlite3.c sqlite3-*/sqlite3.h "$source/src/3rdparty/sqlite/"
sqlite_version=$(sed -n 's/^#define SQLITE_VERSION *"\(.*\)"/\1/p' sqlite3-*/sqlite3.h)

# Core, Gui, Widgets, PrintSupport, Concurrent, Sql (its SQLite driver
# alone) and Test, as DLLs, with the bundled image, font-shaping and
# regular-expression libraries. No ICU: on
# Windows the system converts code page 932 itself. No tablet events: Debian's
# source leaves out the Wintab header they need. Direct2D stays on, since the
# printing code uses the DirectWrite font engine that comes with it. No
# dynamic OpenGL, which Qt 6.4's Windows plugin cannot build without OpenGL.
cmake -G Ninja -S "$source" -B build \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$folder" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=ON -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=OFF \
  -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF \
  -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
  -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_xml=OFF -DFEATURE_system_zlib=OFF -DFEATURE_pkg_config=OFF \
  -DFEATURE_zstd=OFF -DFEATURE_icu=OFF \
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_printsupport=ON -DFEATURE_concurrent=ON \
  -DFEATURE_testlib=ON -DFEATURE_accessibility=ON \
  -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF >configure.log
cmake --build build --parallel
cmake --install build >/dev/null
# The compiler's own runtime DLLs, which every program built with it needs.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$folder/bin/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$folder/bin/"
mkdir -p "$folder/LICENSES"
cp "$source"/LICENSES/* "$folder/LICENSES/"
echo "SQLite $sqlite_version, from Debian's sqlite3 source, inside plugins/sqldrivers/qsqlite.dll" \
  >"$folder/LICENSES/SQLite.txt"
x86_64-w64-mingw32-strip --strip-unneeded "$folder"/bin/*.dll "$folder"/plugins/*/*.dll
touch "$folder/$recipe"
cd /
rm -rf "$work"
echo "$folder"
