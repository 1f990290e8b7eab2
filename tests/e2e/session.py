# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop session of its own for the end-to-end test: a virtual display
(Xvfb), a D-Bus session bus, and the AT-SPI accessibility bus with its
registry, as a screen reader finds them on a real desktop.

Every process the session starts, and every process those start in turn,
is stopped by its id when the session closes, so a run leaves nothing behind.
"""

import ctypes
import os
import select
import signal
import subprocess
import time
from pathlib import Path

PR_SET_PDEATHSIG = 1
PR_SET_CHILD_SUBREAPER = 36

AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
AT_SPI_REGISTRY = "/usr/libexec/at-spi2-registryd"


def _read_line(fd, timeout, what):
    """The first line written to the pipe `fd`, waiting at most `timeout` s."""
    deadline = time.monotonic() + timeout
    data = b""
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise RuntimeError(f"{what} did not start within {timeout} s")
        chunk = os.read(fd, 4096)
        if not chunk:
            raise RuntimeError(f"{what} ended before it was ready")
        data += chunk
    return data.decode().strip()


def _end_with_parent():
    """Run in each started process: it gets SIGTERM should the test itself
    be killed, so nothing outlives a run stopped by a timeout."""
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM, 0, 0, 0)


def _children_of(pid):
    found = []
    for task in Path(f"/proc/{pid}/task").glob("*"):
        try:
            found += [int(p) for p in (task / "children").read_text().split()]
        except OSError:
            pass
    return found


class Session:
    def __init__(self, workdir):
        self.workdir = Path(workdir)
        self.workdir.mkdir(parents=True, exist_ok=True)
        self.env = {}
        self._processes = []
        self._log = open(self.workdir / "session.log", "ab")

    # -- starting -----------------------------------------------------------

    def start(self):
        # Daemons that fork (the accessibility bus, the registry) come back to
        # this process when their parents end, so they can be found and reaped.
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)

        runtime = self.workdir / "runtime"
        runtime.mkdir(mode=0o700, exist_ok=True)
        self.env = {
            "PATH": "/usr/bin:/bin",
            "LANG": "C.UTF-8",
            "XDG_RUNTIME_DIR": str(runtime),
        }
        self._start_display()
        self._start_session_bus()
        self._start_accessibility()
        return self

    def spawn(self, argv, env=None, **kwargs):
        """Starts a process in this session, logged to session.log."""
        process = subprocess.Popen(
            argv,
            env={**self.env, **(env or {})},
            stdin=subprocess.DEVNULL,
            stdout=kwargs.pop("stdout", self._log),
            stderr=kwargs.pop("stderr", self._log),
            preexec_fn=_end_with_parent,
            **kwargs,
        )
        self._processes.append(process)
        return process

    def _start_display(self):
        read_end, write_end = os.pipe()
        self.spawn(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-dpi", "96",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,),
        )
        os.close(write_end)
        try:
            display = _read_line(read_end, 20, "Xvfb")
        finally:
            os.close(read_end)
        self.env["DISPLAY"] = f":{display}"

    def _start_session_bus(self):
        read_end, write_end = os.pipe()
        self.spawn(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--print-address={write_end}"],
            pass_fds=(write_end,),
        )
        os.close(write_end)
        try:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = _read_line(read_end, 20, "dbus-daemon")
        finally:
            os.close(read_end)

    def _start_accessibility(self):
        self.spawn([AT_SPI_BUS_LAUNCHER, "--launch-immediately"])
        self.wait_for(lambda: self._bus_name_owned("org.a11y.Bus"), 20, "the AT-SPI bus launcher")
        address = self._dbus_call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress")
        self.spawn([AT_SPI_REGISTRY])
        self.wait_for(lambda: self._bus_name_owned("org.a11y.atspi.Registry", address), 20,
                      "the AT-SPI registry")
        # What a screen reader does on start: programs that start from now on
        # expose their widgets on the accessibility bus.
        subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:IsEnabled",
             "variant:boolean:true"],
            env=self.env, check=True, stdout=subprocess.DEVNULL,
        )

    def _dbus_call(self, destination, path, method, *args, bus_address=None):
        bus = [f"--bus={bus_address}"] if bus_address else ["--session"]
        out = subprocess.run(
            ["dbus-send", *bus, "--print-reply=literal", f"--dest={destination}", path, method, *args],
            env=self.env, check=True, capture_output=True, text=True,
        ).stdout
        return out.strip()

    def _bus_name_owned(self, name, bus_address=None):
        try:
            reply = self._dbus_call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                    "org.freedesktop.DBus.NameHasOwner", f"string:{name}",
                                    bus_address=bus_address)
        except subprocess.CalledProcessError:
            return False
        return reply.split()[-1:] == ["true"]

    # -- waiting and looking --------------------------------------------------

    @staticmethod
    def wait_for(condition, timeout, what, interval=0.05):
        """The first true value of condition(), or AssertionError after
        `timeout` seconds."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out after {timeout} s waiting for {what}")
            time.sleep(interval)

    def screenshot(self, path, box=None):
        """Saves the screen, or the box (x, y, width, height) of it, as PNG."""
        argv = ["import", "-silent", "-window", "root"]
        if box:
            x, y, width, height = box
            argv += ["-crop", f"{width}x{height}+{x}+{y}", "+repage"]
        subprocess.run(argv + [str(path)], env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=self._log, timeout=30)

    # -- closing --------------------------------------------------------------

    def close(self):
        """Stops every process this session started and those they started."""
        pids = set()
        pending = [p.pid for p in self._processes] + _children_of(os.getpid())
        while pending:
            pid = pending.pop()
            if pid not in pids:
                pids.add(pid)
                pending += _children_of(pid)
        for pid in pids:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 5
        for pid in pids:
            while time.monotonic() < deadline:
                try:
                    if os.waitpid(pid, os.WNOHANG)[0]:
                        break
                except ChildProcessError:
                    # Not ours to reap; gone once /proc has no entry.
                    if not Path(f"/proc/{pid}").exists():
                        break
                time.sleep(0.05)
            else:
                try:
                    os.kill(pid, signal.SIGKILL)
                    os.waitpid(pid, 0)
                except (ProcessLookupError, ChildProcessError):
                    pass
        self._log.close()
