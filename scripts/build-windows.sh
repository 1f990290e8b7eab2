#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what building for Windows needs, finds Qt for MinGW
# (scripts/qt-mingw.sh), configures and builds the Windows program, its
# tests and tools with MinGW-w64 in build-windows/, and readies the build's
# own Wine prefix, where its tests run. scripts/windows-env.sh then gives
# the variables that run them.
# Usage: scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows
qt_mingw="$(scripts/qt-mingw.sh | tail -n 1)"
scripts/build.sh build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt_mingw"
. scripts/windows-env.sh
# A new prefix is made once, before anything runs in it at the same time.
[ -f "$windows_prefix/system.reg" ] || WINEPREFIX="$windows_prefix" wineboot -i >/dev/null 2>&1
