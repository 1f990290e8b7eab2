#!/usr/bin/env bash
# Sets up, builds and runs every test. Widget tests use Qt's offscreen
# platform; a virtual display is started for those that need a real one.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j"$(nproc)"
