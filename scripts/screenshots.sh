#!/bin/sh
# Saves one PNG per window (and one with its picture areas printed full) under
# Xvfb, for checking the layouts by eye.
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]  (default: build, BUILD_DIR/screenshots)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
out=${2:-"$build/screenshots"}
cmake --build "$build" --target yomorisu_screens >/dev/null
mkdir -p "$out"
# 96 dots per inch, so 15 twips are one pixel as designed.
QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$build/tools/yomorisu_screens" "$out"
ls "$out"/*.png
