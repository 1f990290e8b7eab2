#!/usr/bin/env bash
# Sets up, builds and runs every test. Most tests need no display (widget
# tests use Qt's offscreen platform); those labelled "display" run on a
# virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
ctest --test-dir build --output-on-failure -j"$(nproc)" -LE display
if [ -n "$(ctest --test-dir build -N -L display | grep 'Test *#')" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -L display
fi
