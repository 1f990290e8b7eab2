#!/usr/bin/env bash
# Sets up, builds and runs every test. Most tests need no display (widget
# tests use Qt's offscreen platform); those labelled "display" run on a
# virtual one. The end-to-end tests (label "e2e") need the installed
# package and run from scripts/e2e.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ctest --test-dir build --output-on-failure -j"$(nproc)" -LE "display|e2e"
if [ -n "$(ctest --test-dir build -N -L display | grep 'Test *#')" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -L display
fi
