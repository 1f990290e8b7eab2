# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that build or run the Windows program: sets it up,
# finds Qt for MinGW (scripts/qt-mingw.sh), configures and builds the
# Windows build folder, and readies its Wine prefix.
#   windows_build        the build folder: build-windows
#   WINEPREFIX           the build's own Wine prefix
#   WINEPATH             Qt's DLLs, for the build's programs that have none
#                        beside them (tests, tools)
# Plain sh, so that sh scripts can source it too.
scripts/setup.sh --windows
windows_build=build-windows
qt_mingw="$(scripts/qt-mingw.sh | tail -n 1)"
scripts/build.sh "$windows_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt_mingw"
export WINEPREFIX="$PWD/$windows_build/wine"
export WINEPATH="Z:$qt_mingw/bin"
export WINEDEBUG="${WINEDEBUG:--all}"
# No offers to fetch .NET or a browser engine, which this machine cannot.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# A new prefix is made once, before anything runs in it at the same time.
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
