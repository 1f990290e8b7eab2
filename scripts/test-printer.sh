#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A loopback printer for the real print test (ctest label "print"): CUPS with
# a raw queue, made the default, whose device is a listener on 127.0.0.1 that
# saves every job it receives; a second queue that refuses jobs, a third that
# is stopped (disabled) and a fourth that holds every job.
#
#   scripts/test-printer.sh up     set it up (starts cupsd when none runs)
#   scripts/test-printer.sh down   remove the queues, stop the listener (and
#                                  cupsd when "up" started it), restore the
#                                  previous default printer
#
# The state, with the jobs received, is kept in $YOMORISU_TEST_PRINTER_DIR
# (default /tmp/yomorisu-test-printer), where the test looks for it.
set -euo pipefail

state="${YOMORISU_TEST_PRINTER_DIR:-/tmp/yomorisu-test-printer}"
queue=yomorisu-test
refusing=yomorisu-refusing
stopped=yomorisu-stopped
holding=yomorisu-holding

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

wait_for() { # tries, then a command that succeeds when ready
  local tries=$1; shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.2; done
  return 1
}

stop_pid() { # pid file
  [ -f "$1" ] || return 0
  local pid; pid="$(cat "$1")"
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    as_root kill "$pid" 2>/dev/null || true
    wait_for 25 bash -c "! kill -0 $pid 2>/dev/null" || as_root kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$1"
}

down() {
  if scheduler_running; then
    for q in "$queue" "$refusing" "$stopped" "$holding"; do
      as_root cancel -a -x "$q" 2>/dev/null || true # with the kept history of its jobs
      as_root lpadmin -x "$q" 2>/dev/null || true
    done
    previous="$(cat "$state/server-default" 2>/dev/null || true)"
    if [ -n "$previous" ] && [ "$previous" != "$queue" ]; then
      as_root lpadmin -d "$previous" 2>/dev/null || true
    fi
  fi
  stop_pid "$state/listener.pid"
  stop_pid "$state/cupsd.pid"
  rm -rf "$state"
}

up() {
  down # whatever a broken run left behind
  mkdir -p "$state/jobs"

  if ! scheduler_running; then
    as_root mkdir -p /run/cups
    as_root sh -c 'setsid cupsd -f </dev/null >/dev/null 2>&1 & echo $!' >"$state/cupsd.pid"
    wait_for 50 scheduler_running || { echo "cupsd did not start" >&2; exit 1; }
  fi

  # Saves each connection as one job: job-N.part while it arrives, job-N
  # once the print system has closed it.
  cat >"$state/listener.py" <<'PY'
import os, socket, sys
folder, port_file = sys.argv[1], sys.argv[2]
server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0))
server.listen(4)
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.getsockname()[1]))
os.rename(port_file + ".tmp", port_file)
n = 0
while True:
    conn, _ = server.accept()
    n += 1
    part = os.path.join(folder, "job-%d.part" % n)
    with conn, open(part, "wb") as out:
        while True:
            data = conn.recv(65536)
            if not data:
                break
            out.write(data)
    os.rename(part, os.path.join(folder, "job-%d" % n))
PY
  setsid python3 "$state/listener.py" "$state/jobs" "$state/port" </dev/null >"$state/listener.log" 2>&1 &
  echo $! >"$state/listener.pid"
  wait_for 50 test -s "$state/port" || { echo "the listener did not start" >&2; exit 1; }
  port="$(cat "$state/port")"

  # Raw queues: what the program sends arrives unchanged. CUPS warns that
  # raw queues are deprecated; only a failure is shown.
  quiet() { "$@" 2>"$state/lpadmin.log" || { cat "$state/lpadmin.log" >&2; return 1; }; }
  quiet as_root lpadmin -p "$queue" -v "socket://127.0.0.1:$port" -E
  # The scheduler's own default, so every user and any home folder sees it
  # (lpoptions -d would set only the calling user's); the one it had before
  # comes back on "down".
  HOME=/nonexistent lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p' >"$state/server-default"
  as_root lpadmin -d "$queue"
  quiet as_root lpadmin -p "$refusing" -v "socket://127.0.0.1:9" -E
  as_root cupsreject "$refusing"
  quiet as_root lpadmin -p "$stopped" -v "socket://127.0.0.1:$port" -E
  as_root cupsdisable -r "stopped for the test" "$stopped"
  quiet as_root lpadmin -p "$holding" -v "socket://127.0.0.1:$port" -E -o job-hold-until-default=indefinite
  echo "$queue" >"$state/queue"
  echo "$refusing" >"$state/refusing-queue"
  echo "$stopped" >"$state/stopped-queue"
  echo "$holding" >"$state/holding-queue"
  echo "Loopback printer $queue on 127.0.0.1:$port is the default; jobs go to $state/jobs"
}

case "${1:-}" in
  up) up ;;
  down) down ;;
  *) echo "usage: $0 up|down" >&2; exit 2 ;;
esac
