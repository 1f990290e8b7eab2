#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts the program. On its start the program puts the
# sample table files and the 健康相談 documents into the documents folder,
# never over the user's own, as the installed program does. Without a display
# it starts the program on a virtual one, saves a screenshot of the main menu
# and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
if [ -n "${DISPLAY:-}" ]; then
  exec build/bin/yomorisu
fi

shot="$PWD/screenshots/main-menu.png"
mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  build/bin/yomorisu & app=$!
  sleep 3
  import -window root "$1"
  kill $app' _ "$shot"
echo "No display here: the main menu was started on a virtual display and saved to $shot"
