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
# refused while the program runs, the program driven by mouse and keyboard,
# installed again, replaced by the next version (the same source built as a
# version one higher and signed by a throw-away authority), refused over
# that, uninstalled; then the MSI installed, upgraded and removed with
# msiexec; then the portable zip unpacked and driven likewise
# (tests/e2e/windows_setup.py). Pictures land in build-windows/e2e/.
# Usage: scripts/e2e.sh --windows build-windows/setup/yomorisu-<version>-setup.exe
set -euo pipefail
if [ "${1:-}" = "--windows" ]; then
  setup="$(realpath "${2:?Usage: scripts/e2e.sh --windows SETUP.exe}")"
  cd "$(dirname "$0")/.."
  scripts/setup.sh --windows
  version="$(basename "$setup" -setup.exe)"
  version="${version#yomorisu-}"
  # The next version: a third number added, or the last one higher.
  if [[ "$version" =~ ^[0-9]+\.[0-9]+$ ]]; then
    next="$version.1"
  else
    next="${version%.*}.$((${version##*.} + 1))"
  fi
  # The next version signed with a key from a throw-away certificate
  # authority, made here for this run.
  keys="$PWD/build-windows/e2e-keys"
  rm -rf "$keys"
  mkdir -p "$keys"
  (
    cd "$keys"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=yomorisu test CA" \
      -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -keyout sign.key -out sign.csr -subj "/CN=yomorisu test signer" 2>/dev/null
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >sign.ext
    openssl x509 -req -in sign.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile sign.ext \
      -out sign.pem 2>/dev/null
    openssl pkcs12 -export -inkey sign.key -in sign.pem -certfile ca.pem -passout pass:throwaway -out sign.p12
  )
  next_setup="$(YOMORISU_SIGN_PKCS12="$keys/sign.p12" YOMORISU_SIGN_PASSWORD=throwaway \
    scripts/package.sh --windows --version "$next" | tail -n 1)"
  # The same key on a token (SoftHSM's, in a folder of this run's), signing
  # a copy of the unsigned program by the token's URI.
  (
    cd "$keys"
    export SOFTHSM2_CONF="$keys/softhsm2.conf"
    mkdir tokens
    printf 'directories.tokendir = %s/tokens\nobjectstore.backend = file\n' "$keys" >"$SOFTHSM2_CONF"
    softhsm2-util --init-token --free --label yomorisu --pin 1234 --so-pin 5678 >/dev/null
    openssl pkcs8 -topk8 -nocrypt -in sign.key -out sign.p8
    softhsm2-util --import sign.p8 --token yomorisu --label signer --id 01 --pin 1234 >/dev/null
    openssl x509 -in sign.pem -outform DER -out sign.der
    pkcs11-tool --module /usr/lib/softhsm/libsofthsm2.so --token-label yomorisu --login --pin 1234 \
      --write-object sign.der --type cert --id 01 --label signer >/dev/null
    cp "$(dirname "$setup")/$version/staging/bin/yomorisu.exe" token-signed.exe
    YOMORISU_SIGN_PKCS11="pkcs11:token=yomorisu;object=signer" YOMORISU_SIGN_PASSWORD=1234 \
      YOMORISU_SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so "$OLDPWD/scripts/sign-windows.sh" token-signed.exe
  )
  # The build back at the version under test, its setup as it was.
  scripts/package.sh --windows --version "$version" >/dev/null
  source scripts/windows-env.sh
  # The layout tables the test clicks by, as the program holds them.
  WINEPREFIX="$windows_prefix" wine "$windows_build/tools/yomorisu_layouts.exe" >"$windows_build/layouts.json"
  # Each setup's MSI lies beside it.
  exec /usr/bin/python3 tests/e2e/windows_setup.py --setup "$setup" --next-setup "$next_setup" \
    --msi "${setup%-setup.exe}.msi" --next-msi "${next_setup%-setup.exe}.msi" \
    --layouts "$windows_build/layouts.json" --ca "$keys/ca.pem" --token-signed "$keys/token-signed.exe" \
    --data data --out build-windows/e2e
fi
cd "$(dirname "$0")/.."
prefix="$(realpath -m "${1:-/usr}")"
if [ ! -x "$prefix/bin/yomorisu" ]; then
  echo "$prefix/bin/yomorisu is not there: build the package with scripts/package.sh and install it" >&2
  exit 1
fi
cmake -S . -B build -DYOMORISU_E2E_PREFIX="$prefix" >/dev/null
ctest --test-dir build -L e2e --output-on-failure
