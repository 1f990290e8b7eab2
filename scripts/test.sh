#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test. Most tests need no display (widget
# tests use Qt's offscreen platform); those labelled "display" run on a
# virtual one. The end-to-end tests (label "e2e") need the installed
# package and run from scripts/e2e.sh.
# Usage: scripts/test.sh [--sanitize | --tsan | --windows]
#   --sanitize  every test under AddressSanitizer and UBSan, in build-sanitize/
#   --tsan      the tests of the work on worker threads (病気's loads and
#               prints) under ThreadSanitizer, in build-tsan/
#   --windows   the Windows program and its tests, built with MinGW-w64 in
#               build-windows/ and run under Wine (scripts/qt-mingw.sh says
#               where Qt for Windows comes from); the print test when the
#               loopback printer is up (scripts/test-printer.sh up)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--windows" ]; then
  scripts/build-windows.sh
  . scripts/windows-env.sh
  # Wine draws on an X display even for programs that show no window.
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$windows_build" --output-on-failure -j"$(nproc)" -LE "e2e"
  exit
fi
dir=build
options=()
only=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  options=(-DYOMORISU_SANITIZE=ON)
  # Halt on the first report.
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
elif [ "${1:-}" = "--tsan" ]; then
  dir=build-tsan
  threaded=(tst_documentreader tst_documentwindow tst_printlayout tst_realprint)
  options=(-DYOMORISU_TSAN=ON)
  for t in "${threaded[@]}"; do options+=(--target "$t"); done
  # With the real-print test's cases in processes of their own.
  only=(-R "^($(IFS='|'; echo "${threaded[*]}"))(_.*)?\$")
  # The libraries not built with TSan are dealt with in tests/tsan.supp.
  # die_after_fork=0: Qt's QProcess starts a program with a vfork-like clone,
  # after which TSan takes the test for a forked child and would die at its
  # next new thread. Halt on the first report.
  export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp ignore_noninstrumented_modules=1 die_after_fork=0 halt_on_error=1 second_deadlock_stack=1"
fi
scripts/setup.sh
scripts/build.sh "$dir" "${options[@]}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" -LE "display|e2e" "${only[@]}"
if [ -n "$(ctest --test-dir "$dir" -N -L display "${only[@]}" | grep 'Test *#')" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure -L display "${only[@]}"
fi
