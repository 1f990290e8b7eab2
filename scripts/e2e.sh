#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the end-to-end tests (ctest label e2e) against the installed program:
# the desktop entry and metainfo validate, and the journey through every
# window, driven through AT-SPI on a virtual display of its own. Pictures of
# the windows land in build/tests/e2e/journey/screens/.
# Usage: scripts/e2e.sh [PREFIX]   (default /usr, where the .deb installs;
#        or a folder given to `cmake --install build --prefix`)
# With --windows SETUP, the Windows setup (scripts/package.sh --windows) in
# a Wine prefix and on a virtual display of their own: installed silently,
# the program driven by mouse and keyboard, installed again, uninstalled
# (tests/e2e/windows_setup.py). Pictures land in build-windows/e2e/.
# Usage: scripts/e2e.sh --windows build-windows/setup/yomorisu-<version>-setup.exe
set -euo pipefail
if [ "${1:-}" = "--windows" ]; then
  setup="$(realpath "${2:?Usage: scripts/e2e.sh --windows SETUP.exe}")"
  cd "$(dirname "$0")/.."
  scripts/setup.sh --windows
  exec /usr/bin/python3 tests/e2e/windows_setup.py --setup "$setup" --data data --out build-windows/e2e
fi
cd "$(dirname "$0")/.."
prefix="$(realpath -m "${1:-/usr}")"
if [ ! -x "$prefix/bin/yomorisu" ]; then
  echo "$prefix/bin/yomorisu is not there: build the package with scripts/package.sh and install it" >&2
  exit 1
fi
cmake -S . -B build -DYOMORISU_E2E_PREFIX="$prefix" >/dev/null
ctest --test-dir build -L e2e --output-on-failure
