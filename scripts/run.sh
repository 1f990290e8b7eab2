#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts the program. On its start the program puts the
# sample table files and the 健康相談 documents into the documents folder,
# never over the user's own, as the installed program does. Without a display
# it starts the program on a virtual one, saves a screenshot of the main menu
# and stops. --windows does the same with the Windows program under Wine
# (scripts/test.sh says how it is built); its documents folder is the Wine
# prefix's, which Wine links to ~/Documents.
# Usage: scripts/run.sh [--windows]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--windows" ]; then
  . scripts/windows-env.sh
  program=("wine" "$windows_build/bin/yomorisu.exe")
  shot="$PWD/screenshots/windows-main-menu.png"
else
  scripts/setup.sh
  scripts/build.sh
  program=(build/bin/yomorisu)
  shot="$PWD/screenshots/main-menu.png"
fi

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
if [ -n "${DISPLAY:-}" ]; then
  exec "${program[@]}"
fi

mkdir -p "$(dirname "$shot")"
# Wine takes longer to start a program than Debian.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  shot=$1; shift
  "$@" & app=$!
  sleep 8
  import -window root "$shot"
  kill $app; wait $app 2>/dev/null || true' _ "$shot" "${program[@]}"
echo "No display here: the main menu was started on a virtual display and saved to $shot"
