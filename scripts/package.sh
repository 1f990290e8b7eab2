#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and packs the program into a .deb under build/package/.
# The packaged program has a build of its own, build/deb, made with Debian's
# hardening flags (fortify, stack protector, format security, PIE, relro and
# bind now, as dpkg-buildflags gives them); the test build in build/ is left
# as it is. The last line printed is the package's path; install it with
#   sudo apt-get install ./build/package/yomorisu_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flag() { dpkg-buildflags --get "$1"; }
cmake -S . -B build/deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(flag CPPFLAGS) $(flag CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flag LDFLAGS)" >/dev/null
cmake --build build/deb --target yomorisu_package_files -j"$(nproc)"
rm -rf build/package
(cd build/deb && cpack -G DEB -B "$PWD/../package" >/dev/null)
ls "$PWD"/build/package/*.deb
