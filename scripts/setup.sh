#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that building, testing and running the
# program need; with --windows, also what building it for Windows and
# running it under Wine need. Safe to run again; it only installs what is
# missing.
# Usage: scripts/setup.sh [--windows]
set -euo pipefail

packages=(
  build-essential cmake clang-format clang libclang-rt-14-dev
  # GCC's ThreadSanitizer runtime (scripts/test.sh --tsan)
  libtsan2
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  # asking fontconfig whether a designed face is installed
  libfontconfig-dev
  # the record file: Qt SQL's SQLite driver, and the sqlite3 shell the
  # benchmark compares with
  libqt6sql6-sqlite sqlite3
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation fontconfig
  xvfb xauth x11-utils imagemagick
  # screenshots under a dark desktop scheme
  qt6-gtk-platformtheme qt6ct
  # packaging, and the end-to-end test through AT-SPI
  dpkg-dev file desktop-file-utils appstream qt6-translations-l10n
  dbus-daemon at-spi2-core python3-pyatspi
  # the icon drawn at the theme's sizes; the package checked
  librsvg2-bin lintian
  # printing through CUPS, and for the real print test the print system, its
  # tools, and pdftotext to read jobs back
  libcups2-dev cups cups-client poppler-utils
)
if [ "${1:-}" = "--windows" ]; then
  packages+=(
    # the cross compiler Qt for MinGW is built with, Ninja for its build, and
    # Tcl, which makes the single-file SQLite from Debian's sqlite3 source
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix ninja-build tcl
    # the Windows program's tests and the program itself, under Wine; xdotool
    # drives it as a user does
    wine wine64 xdotool
    # the setup, the MSI and their signatures (a throw-away authority in the
    # end-to-end test, its key in a file and on SoftHSM's token)
    nsis wixl msitools osslsigncode openssl softhsm2 libengine-pkcs11-openssl opensc
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
