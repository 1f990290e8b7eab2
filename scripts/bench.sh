#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every benchmark and prints one line per figure with its
# ratio to the goal (or to the floor program). Not part of the tests.
# With --windows, the Windows program's start-up and peak memory under Wine
# against the floor program built for Windows the same way, each from a
# folder holding the DLLs the setup installs.
# Usage: scripts/bench.sh [BUILD_DIR]   (default: build)
#        scripts/bench.sh --windows
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--windows" ]; then
  setup="$(scripts/package.sh --windows | tail -n 1)"
  source scripts/windows-env.sh
  export WINEPREFIX="$windows_prefix"
  scripts/build.sh build --target bench_startup >/dev/null
  version="$(basename "$setup" -setup.exe)"
  folder=$(mktemp -d)
  trap 'wineserver -k 2>/dev/null; rm -rf "$folder"' EXIT
  cp -r "$windows_build/setup/${version#yomorisu-}/staging/bin" "$folder/"
  cp "$windows_build/bench/minimal_window.exe" "$folder/bin/"
  # bench_startup starts a program by its path with Qt's platform argument,
  # which is the host's: these start the Windows programs instead.
  for program in yomorisu minimal_window; do
    printf '#!/bin/sh\nexec wine "%s"\n' "$folder/bin/$program.exe" >"$folder/$program"
    chmod +x "$folder/$program"
  done
  unset WINEPATH
  # One Wine server for every run, as on Windows the system is up already.
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c 'wineserver -p && "$1" 20 "$2/yomorisu" "$2/minimal_window"' \
    bench build/bench/bench_startup "$folder"
  exit
fi
dir=${1:-build}
scripts/build.sh "$dir" >/dev/null
bench="$dir/bench"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# Start-up against a minimal Qt Widgets program showing the main menu's fonts,
# then 1,000 cycles of each window, all with the accessibility bridge on: one
# virtual display and one D-Bus session for all runs.
HOME="$home" xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
  bench/with-bridge.sh bash -c '
    "$1/bench_startup" 20 "$2/bin/yomorisu" "$1/minimal_window"
    for window in 健康menu 定食1 摂取 RMR 消費 標準 病気; do
      "$1/bench_session" -platform xcb "$window" 1000
    done' bench "$bench" "$dir" 2>/dev/null

# Each button handler, click to repaint, against one frame (16 ms).
"$bench/bench_handlers" -platform offscreen -iterations 20 2>/dev/null |
  awk '/^RESULT/ { split($3, n, "::"); name = n[2]; sub(/\(\):$/, "", name) }
       /msecs per iteration/ { printf "handler %s: %.2f ms, ratio %.2f to 16 ms\n", name, $1, $1 / 16 }'

# Loads that stop early and a full table.
"$bench/bench_core" -platform offscreen 2>/dev/null |
  awk '/^RESULT/ { split($3, n, "::"); name = n[2]; sub(/\(\):$/, "", name) }
       /msecs per iteration/ { printf "%s: %s ms\n", name, $1 }'

# A 20 MB document loaded into 病気, against decoding it and showing it bare.
"$bench/bench_documents" -platform offscreen 2>/dev/null | sed -n 's/^QINFO *: BenchDocuments::[A-Za-z]*() //p'

# 定食1's handout of a full table saved to PDF, against QTextDocument::print.
"$bench/bench_handouts" -platform offscreen 2>/dev/null | sed -n 's/^QINFO *: BenchHandouts::[A-Za-z]*() //p'

# The first 印刷 against the second, in fresh processes.
"$bench/bench_print" -platform offscreen 2>/dev/null

# The record file at a clinic's scale, against the same queries in the sqlite3 shell.
"$bench/bench_records" 2>/dev/null
