#!/usr/bin/env bash
# Sets up, builds, puts the sample table files and the 健康相談 documents into
# the documents folder (never over the user's own) and starts the program.
# Without a display it starts the program on a virtual one, saves a
# screenshot of the main menu and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

folder="$(xdg-user-dir DOCUMENTS 2>/dev/null || true)"
if [ -z "$folder" ] || [ "$folder" = "$HOME" ]; then folder="$HOME/Documents"; fi
mkdir -p "$folder"
for f in rmr.csv 定食.csv 健康相談; do
  if [ -e "$folder/$f" ]; then
    echo "Kept your own $folder/$f"
  else
    cp -r "data/$f" "$folder/$f"
    echo "Copied sample data/$f to $folder/$f"
  fi
done

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
if [ -n "${DISPLAY:-}" ]; then
  exec build/yomorisu
fi

shot="$PWD/screenshots/main-menu.png"
mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  build/yomorisu & app=$!
  sleep 3
  import -window root "$1"
  kill $app' _ "$shot"
echo "No display here: the main menu was started on a virtual display and saved to $shot"
