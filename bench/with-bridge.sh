#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with the accessibility bridge on, as under a screen reader:
# the AT-SPI bus and its registry on the current D-Bus session, and Qt told to
# expose its widgets. Both daemons are stopped by their ids afterwards.
# Usage (one virtual display, one session bus):
#   xvfb-run -a dbus-run-session -- bench/with-bridge.sh COMMAND [ARG ...]
set -euo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
owned() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}
for _ in $(seq 200); do owned org.a11y.Bus && break; sleep 0.05; done
/usr/libexec/at-spi2-registryd >/dev/null 2>&1 &
registry=$!
trap 'kill "$registry" "$launcher" 2>/dev/null || true' EXIT
sleep 0.5
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
