#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the end-to-end tests (ctest label e2e) against the installed program:
# the desktop entry and metainfo validate, and the journey through every
# window, driven through AT-SPI on a virtual display of its own. Pictures of
# the windows land in build/tests/e2e/journey/screens/.
# Usage: scripts/e2e.sh [PREFIX]   (default /usr, where the .deb installs;
#        or a folder given to `cmake --install build --prefix`)
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="$(realpath -m "${1:-/usr}")"
if [ ! -x "$prefix/bin/yomorisu" ]; then
  echo "$prefix/bin/yomorisu is not there: build the package with scripts/package.sh and install it" >&2
  exit 1
fi
cmake -S . -B build -DYOMORISU_E2E_PREFIX="$prefix" >/dev/null
ctest --test-dir build -L e2e --output-on-failure
