#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Signs a Windows file (a program, a setup, an MSI) in place with Debian's
# osslsigncode when a key is named in the environment, and does nothing
# without one:
#   YOMORISU_SIGN_PKCS11   a key on a token or smart card, by its PKCS#11 URI
#                          (e.g. "pkcs11:token=…;object=…"), its certificate
#                          beside it under the same URI;
#                          YOMORISU_SIGN_PKCS11_MODULE the token's module
#                          (default: p11-kit's proxy, which loads the ones
#                          the system has configured)
#   YOMORISU_SIGN_PKCS12   else, a PKCS#12 file with the key and certificate
#   YOMORISU_SIGN_PASSWORD the token's PIN or the file's password
#   YOMORISU_SIGN_TIMESTAMP a timestamp server's URL, so the signature
#                          outlives the certificate
# Usage: scripts/sign-windows.sh FILE
set -euo pipefail
file=${1:?Usage: scripts/sign-windows.sh FILE}
if [ -n "${YOMORISU_SIGN_PKCS11:-}" ]; then
  key=(-pkcs11module "${YOMORISU_SIGN_PKCS11_MODULE:-/usr/lib/x86_64-linux-gnu/p11-kit-proxy.so}"
    -pkcs11cert "$YOMORISU_SIGN_PKCS11" -key "$YOMORISU_SIGN_PKCS11")
elif [ -n "${YOMORISU_SIGN_PKCS12:-}" ]; then
  key=(-pkcs12 "$YOMORISU_SIGN_PKCS12")
else
  exit 0
fi
osslsigncode sign "${key[@]}" -readpass <(printf '%s' "${YOMORISU_SIGN_PASSWORD:-}") \
  -h sha256 -n "ヨモリス" ${YOMORISU_SIGN_TIMESTAMP:+-ts "$YOMORISU_SIGN_TIMESTAMP"} \
  -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
