#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program of the build under Wine: CMake's emulator for the
# Windows build, so ctest runs the tests through it. Quiet, in the Wine
# prefix WINEPREFIX names, without Wine's offers to fetch .NET or a browser.
# A Windows Qt Test program writes its log to the debugger unless its output
# is a console, so the tests write it to the file YOMORISU_TEST_LOG names,
# and it is shown here, as ctest expects on standard output.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -n "${YOMORISU_TEST_LOG:-}" ] && rm -f "$YOMORISU_TEST_LOG"
# What Wine says goes through a file: Wine's own processes that outlive the
# program (its server, its desktop) would otherwise hold ctest's pipe open.
said=$(mktemp)
wine "$@" </dev/null >"$said" 2>&1
status=$?
cat "$said"
rm -f "$said"
if [ -n "${YOMORISU_TEST_LOG:-}" ] && [ -f "$YOMORISU_TEST_LOG" ]; then
  cat "$YOMORISU_TEST_LOG"
fi
exit $status
