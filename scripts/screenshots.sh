#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Saves PNGs of every window under Xvfb, as opened and used on the sample data,
# for checking the layouts by eye. QT_SCALE_FACTOR=2 in the environment shows
# them as on a high-density screen.
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]  (default: build, BUILD_DIR/screenshots)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
out=${2:-"$build/screenshots"}
cmake --build "$build" --target yomorisu_screens >/dev/null
mkdir -p "$out"
# 96 dots per inch, so 15 twips are one pixel as designed.
QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 xvfb-run -a -s "-screen 0 2560x2048x24 -dpi 96" \
    "$build/tools/yomorisu_screens" "$out"
ls "$out"/*.png
