#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the
# program need. Safe to run again; it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
  xvfb xauth x11-utils imagemagick
  qt6-translations-l10n libcups2-dev
  # the real print test: a print system, its tools, and pdftotext to read jobs
  cups cups-client poppler-utils
)

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
