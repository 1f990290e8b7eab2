# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run what scripts/build-windows.sh built; sets
# variables only.
#   windows_build        the build folder: build-windows
#   windows_prefix       the build's own Wine prefix, where its tests and
#                        tools run
#   WINEPATH             Qt's DLLs, for the build's programs that have none
#                        beside them (tests, tools)
#   WINEDEBUG            Wine's own messages: none unless asked for
#   WINEDLLOVERRIDES     no offers to fetch .NET or a browser engine, which
#                        this machine cannot
# Plain sh, so that sh scripts can source it too.
windows_build=build-windows
windows_prefix="$PWD/$windows_build/wine"
export WINEPATH="Z:$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p' "$windows_build/CMakeCache.txt" 2>/dev/null)/bin"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
