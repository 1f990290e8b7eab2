#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and packs the program into a .deb under build/package/;
# with --windows, into a setup for 64-bit Windows under build-windows/setup/.
# The packaged program has a build of its own, build/deb, made with Debian's
# hardening flags (fortify, stack protector, format security, PIE, relro and
# bind now, as dpkg-buildflags gives them); the test build in build/ is left
# as it is. The last line printed is the package's path; install it with
#   sudo apt-get install ./build/package/yomorisu_<version>_<arch>.deb
# The setup (yomorisu-<version>-setup.exe) is made with Debian's NSIS from
# the Windows build installed into a folder: what `cmake --install` puts
# there is what the setup installs and its uninstaller removes.
# Usage: scripts/package.sh [--windows]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--windows" ]; then
  scripts/build-windows.sh
  source scripts/windows-env.sh
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$windows_build/CMakeCache.txt")
  out="$PWD/$windows_build/setup"
  staging="$out/staging"
  rm -rf "$out"
  mkdir -p "$staging"
  cmake --install "$windows_build" --prefix "$staging" --strip >/dev/null
  # The lists of what to install, folder by folder, and what to remove:
  # every file, then every folder deepest first.
  nsis_path() { printf '%s' "${1//\$/\$\$}" | tr / '\\'; }
  (
    cd "$staging"
    find . -type d | sort | while read -r dir; do
      dir="${dir#.}"
      echo "SetOutPath \"\$INSTDIR$(nsis_path "$dir")\""
      find ".$dir" -maxdepth 1 -type f | sort | while read -r file; do
        echo "File \"$staging/${file#./}\""
      done
    done >"$out/files.nsh"
    find . -type f | sort | while read -r file; do
      echo "Delete \"\$INSTDIR\\$(nsis_path "${file#./}")\""
    done >"$out/unfiles.nsh"
    find . -mindepth 1 -type d | sort -r | while read -r dir; do
      echo "RMDir \"\$INSTDIR\\$(nsis_path "${dir#./}")\""
    done >>"$out/unfiles.nsh"
  )
  numbers=(${version//./ } 0 0 0)
  setup="$out/yomorisu-$version-setup.exe"
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" \
    -DVERSION4="${numbers[0]}.${numbers[1]}.${numbers[2]}.${numbers[3]}" \
    -DSTAGING="$staging" -DFILES="$out/files.nsh" -DUNFILES="$out/unfiles.nsh" \
    -DSIZE_KB="$(du -sk "$staging" | cut -f1)" -DICON="$PWD/$windows_build/packaging/windows/yomorisu.ico" \
    -DOUTFILE="$setup" packaging/windows/yomorisu.nsi
  echo "$setup"
  exit
fi
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
