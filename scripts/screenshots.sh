#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Saves PNGs of every window under Xvfb, as opened and used on the sample data,
# for checking the layouts by eye. QT_SCALE_FACTOR=2 in the environment shows
# them as on a high-density screen; --scheme shows them in a desktop colour
# scheme: light (Qt's own, the default), adwaita-dark (GTK's Adwaita:dark
# through Qt's GTK platform theme) or qt6ct-darker (qt6ct's "darker" colours).
# --windows saves them as the Windows program draws them under Wine, in
# build-windows/screenshots (or OUTPUT_DIR); with --scale N at N % (125, 150,
# 200: Wine's LogPixels set to 96 × N / 100 for the run, then back), in
# build-windows/screenshots-N.
# Usage: scripts/screenshots.sh [--scheme SCHEME] [BUILD_DIR] [OUTPUT_DIR]
#        scripts/screenshots.sh --windows [--scale N] [OUTPUT_DIR]
#        (default: light, build, BUILD_DIR/screenshots)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--windows" ]; then
    cd "$root"
    scripts/build-windows.sh
    . scripts/windows-env.sh
    export WINEPREFIX="$windows_prefix"
    scale=100
    if [ "${2:-}" = "--scale" ]; then
        scale=${3:?"--scale needs a percentage: 125, 150 or 200"}
        shift 2
    fi
    folder=screenshots
    [ "$scale" = 100 ] || folder=screenshots-$scale
    out=${2:-"$root/$windows_build/$folder"}
    mkdir -p "$out"
    # Wine draws at 96 dots per inch unless its LogPixels says otherwise, as
    # Windows' display settings do.
    desktop='HKCU\Control Panel\Desktop'
    trap 'wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1; wineserver -w' EXIT
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d $((96 * scale / 100)) /f >/dev/null 2>&1
    wineserver -w
    xvfb-run -a -s "-screen 0 2560x2048x24 -dpi 96" \
        wine "$windows_build/tools/yomorisu_screens.exe" "Z:$out"
    ls "$out"/*.png
    exit
fi
scheme=light
if [ "${1:-}" = "--scheme" ]; then
    scheme=${2:?"--scheme needs light, adwaita-dark or qt6ct-darker"}
    shift 2
fi
build=${1:-"$root/build"}
out=${2:-"$build/screenshots"}
case "$scheme" in
light)
    set -- env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE
    ;;
adwaita-dark)
    set -- env QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
    ;;
qt6ct-darker)
    # qt6ct reads its settings from the user's configuration folder; a
    # folder of its own keeps the user's untouched.
    config=$(mktemp -d)
    trap 'rm -rf "$config"' EXIT
    mkdir -p "$config/qt6ct"
    printf '[Appearance]\ncustom_palette=true\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\nstyle=Fusion\n' \
        >"$config/qt6ct/qt6ct.conf"
    set -- env QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$config"
    ;;
*)
    echo "unknown scheme $scheme: light, adwaita-dark or qt6ct-darker" >&2
    exit 2
    ;;
esac
cmake --build "$build" --target yomorisu_screens >/dev/null
mkdir -p "$out"
# 96 dots per inch, so 15 twips are one pixel as designed.
"$@" QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 xvfb-run -a -s "-screen 0 2560x2048x24 -dpi 96" \
    "$build/tools/yomorisu_screens" "$out"
# The 経過 handout as its first page prints.
pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$out/8-records-handout.pdf" "$out/8-records-handout"
ls "$out"/*.png
