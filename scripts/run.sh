#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts the program. On its start the program puts the
# sample table files and the 健康相談 documents into the documents folder,
# never over the user's own, as the installed program does. Without a display
# it starts the program on a virtual one, saves a screenshot of the main menu
# once its window shows and stops. --windows does the same with the Windows
# program under Wine (scripts/build-windows.sh builds it), in the Wine prefix
# Wine's own commands use: WINEPREFIX, else ~/.wine of HOME. Its documents
# folder is that prefix's, which Wine links to the home's Documents.
# Usage: scripts/run.sh [--windows]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--windows" ]; then
  scripts/build-windows.sh
  . scripts/windows-env.sh
  program=("wine" "$windows_build/bin/yomorisu.exe")
  shot="$PWD/screenshots/windows-main-menu.png"
  # Wine may first have to make the prefix.
  bound=180
else
  scripts/setup.sh
  scripts/build.sh
  program=(build/bin/yomorisu)
  shot="$PWD/screenshots/main-menu.png"
  bound=30
fi

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
if [ -n "${DISPLAY:-}" ]; then
  exec "${program[@]}"
fi

mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  shot=$1 bound=$2
  shift 2
  "$@" & app=$!
  # The main menu is the first window of the program to show (class
  # "yomorisu" on Debian, "yomorisu.exe" under Wine).
  shown() {
    local id
    for id in $(xwininfo -root -tree | sed -n "s/^ *\(0x[0-9a-f]*\) .*(\"yomorisu[.a-z]*\" .*/\1/p"); do
      xwininfo -id "$id" | grep -q "Map State: IsViewable" && return 0
    done
    return 1
  }
  deadline=$((SECONDS + bound))
  until shown; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 $app 2>/dev/null; then
      echo "The main menu did not show within $bound s" >&2
      kill $app 2>/dev/null; wait $app 2>/dev/null || true
      exit 1
    fi
    sleep 0.1
  done
  # Shown, then painted on the next turn of its event loop.
  sleep 0.5
  import -window root "$shot"
  kill $app; wait $app 2>/dev/null || true' _ "$shot" "$bound" "${program[@]}"
echo "No display here: the main menu was started on a virtual display and saved to $shot"
