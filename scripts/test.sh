#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test. Most tests need no display (widget
# tests use Qt's offscreen platform); those labelled "display" run on a
# virtual one. The end-to-end tests (label "e2e") need the installed
# package and run from scripts/e2e.sh.
# Usage: scripts/test.sh [--sanitize]   (AddressSanitizer and UBSan, in build-sanitize/)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  options=(-DYOMORISU_SANITIZE=ON)
  # Halt on the first report.
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fi
scripts/setup.sh
scripts/build.sh "$dir" "${options[@]}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" -LE "display|e2e"
if [ -n "$(ctest --test-dir "$dir" -N -L display | grep 'Test *#')" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure -L display
fi
