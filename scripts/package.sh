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
# there is what the setup installs and its uninstaller removes. The portable
# zip (yomorisu-<version>-portable.zip) and the MSI (yomorisu-<version>.msi,
# packaging/windows/msi.py, with Debian's wixl and msitools) are made from
# the same folder. With a key named in the environment
# (scripts/sign-windows.sh says how: a PKCS#12 file or a token's PKCS#11 URI)
# yomorisu.exe, the uninstaller, the setup and the MSI are signed with
# Debian's osslsigncode.
# With --version V the Windows build is made as version V (the tests install
# one version over another); without it, as the project's version. Each
# version's staging folder is build-windows/setup/<version>/.
# Usage: scripts/package.sh [--windows [--version V]]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--windows" ]; then
  scripts/build-windows.sh
  source scripts/windows-env.sh
  # Another version number for a test build: only the files that hold it are
  # built again. Without it the project's own is built (again).
  override=""
  [ "${2:-}" = "--version" ] && override="${3:?--version needs a number}"
  cmake -S . -B "$windows_build" -DYOMORISU_VERSION="$override" >/dev/null
  cmake --build "$windows_build" -j"$(nproc)"
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$windows_build/CMakeCache.txt")
  out="$PWD/$windows_build/setup"
  work="$out/$version"
  staging="$work/staging"
  rm -rf "$work"
  mkdir -p "$staging"
  cmake --install "$windows_build" --prefix "$staging" --strip >/dev/null
  # With a key, each file of ours is signed once it is made as it ships: the
  # program after stripping, which would break a signature.
  sign() { scripts/sign-windows.sh "$1"; }
  sign "$staging/bin/yomorisu.exe"
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
    done >"$work/files.nsh"
    find . -type f | sort | while read -r file; do
      echo "Delete \"\$INSTDIR\\$(nsis_path "${file#./}")\""
    done >"$work/unfiles.nsh"
    find . -mindepth 1 -type d | sort -r | while read -r dir; do
      echo "RMDir \"\$INSTDIR\\$(nsis_path "${dir#./}")\""
    done >"$work/unfolders.nsh"
  )
  # The four numbers of the Windows version, as the build gave them to the
  # program file.
  version4=$(cat "$windows_build/windows-version")
  numbers=(${version4//./ })
  nsis=(makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version"
    -DVERSION4="$version4"
    -DICON="$PWD/$windows_build/packaging/windows/yomorisu.ico")
  "${nsis[@]}" -DUNFILES="$work/unfiles.nsh" -DUNFOLDERS="$work/unfolders.nsh" \
    -DOUTFILE="$work/uninstall.exe" packaging/windows/uninstall.nsi
  sign "$work/uninstall.exe"
  setup="$out/yomorisu-$version-setup.exe"
  "${nsis[@]}" -DMAJOR="${numbers[0]}" -DMINOR="${numbers[1]}" -DSTAGING="$staging" \
    -DFILES="$work/files.nsh" -DUNINSTALLER="$work/uninstall.exe" \
    -DSIZE_KB="$(du -sk "$staging" | cut -f1)" -DOUTFILE="$setup" packaging/windows/yomorisu.nsi
  sign "$setup"
  # The portable form: the same folder as ヨモリス\ in a zip, its names in
  # UTF-8 as Explorer reads them.
  rm -f "$out/yomorisu-$version-portable.zip"
  ln -sfn staging "$work/ヨモリス"
  (cd "$work" && python3 -m zipfile -c "$out/yomorisu-$version-portable.zip" ヨモリス)
  # The MSI for deployment by Group Policy or Intune, of the same folder.
  msi="$out/yomorisu-$version.msi"
  python3 packaging/windows/msi.py --staging "$staging" --version "$version" --version4 "$version4" \
    --icon "$windows_build/packaging/windows/yomorisu.ico" \
    --check "$windows_build/packaging/windows/msicheck.dll" --out "$msi"
  sign "$msi"
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
