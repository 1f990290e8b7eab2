#!/usr/bin/env bash
# Sets up, builds and packs the program into a .deb under build/package/.
# The last line printed is the package's path; install it with
#   sudo apt-get install ./build/package/yomorisu_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
rm -rf build/package
(cd build && cpack -G DEB -B "$PWD/package" >/dev/null)
ls "$PWD"/build/package/*.deb
