#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows setup end to end, as a clinic's PC meets it: in a Wine prefix
and on a virtual display of its own, the setup installs silently; the files,
the Start-menu shortcut, App Paths and the uninstall entry are checked; the
installed program starts from the shortcut's target, copies the samples to
Documents, makes the setup and the uninstaller refuse, and is driven by mouse
and keyboard (xdotool) through 食品カロリー and 摂取カロリー, saving both
handouts as PDFs, and ended with おわり; the setup runs again over the
installed program; the next version replaces it, and this one is refused over
that, as is the MSI; the silent uninstall leaves nothing of it and Documents
as they were; installed for the current user alone it stays out of Program
Files and HKLM, refuses a setup for all users beside it, and goes whole;
then the MSI installs, refuses the setup over it, its program runs and makes
msiexec refuse to remove or replace it, the next version's MSI replaces it,
and `msiexec /x` leaves nothing of it; this one is refused over the next;
the portable zip runs the journey at 150 % and leaves the registry alone.

Under Wine without a window manager, keys reach a window only once it has
the focus (`xdotool windowfocus --sync`), and a window's X window is its
client area. Controls are clicked where the program's layout tables place
them (LAYOUTS, printed by the build's yomorisu_layouts), in twips (15 to a
pixel at Wine's 96 dots per inch).

Usage: windows_setup.py --setup yomorisu-<version>-setup.exe --next-setup yomorisu-<later>-setup.exe
                        --msi yomorisu-<version>.msi --next-msi yomorisu-<later>.msi
                        --layouts LAYOUTS.json --ca CA.pem --token-signed FILE.exe --data DATA --out DIR
Exit status 0 when every step passed, 1 on a failure. Pictures of the
screen after each step land in DIR.
"""

import argparse
import csv
import getpass
import hashlib
import json
import math
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import zipfile
from pathlib import Path

from session import Session

PRODUCT = "ヨモリス"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\jp.yomorisu.Yomorisu"
APP_PATHS_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\yomorisu.exe"
USER_UNINSTALL_KEY = "HKCU" + UNINSTALL_KEY[4:]
USER_APP_PATHS_KEY = "HKCU" + APP_PATHS_KEY[4:]
# The setup's and uninstaller's exit statuses.
RUNNING, NEWER_INSTALLED, OTHER_INSTALLED = 3, 4, 7
# msiexec's for a launch condition not met, 1603, as a Unix status under Wine
INSTALL_FAILURE = 1603 & 0xFF
TIMEOUT = 60  # seconds for anything Wine does; its first start is slow

# Text1..Text10 breakfast, Text11..Text20 lunch, Text21..Text30 dinner.
INTAKE_BOXES = {"朝食": 1, "昼食": 11, "夕食": 21}
# Set-meal numbers typed for each meal; a number may come twice, a box may
# stay empty.
EATEN = {"朝食": ["3", "15"], "昼食": ["120", "7", "7"], "夕食": ["200", "1", "", "42"]}





def read_table(path):
    """(name, value) per record of a sample table: code page 932,
    comma-separated, a quoted name may hold commas."""
    with open(path, encoding="cp932", newline="") as file:
        return [(name, int(value)) for name, value in csv.reader(file)]


def squeezed(text):
    return re.sub(r"\s+", "", text)


def tree(folder):
    """Every file below `folder` with a digest of its bytes, and every folder."""
    folder = Path(folder)
    found = {}
    for path in sorted(folder.rglob("*")):
        relative = str(path.relative_to(folder))
        found[relative] = hashlib.sha256(path.read_bytes()).hexdigest() if path.is_file() else "folder"
    return found


# The first true value of a condition, or AssertionError when it is late.
wait_for = Session.wait_for


def wine_string(text):
    """A string as Wine's debug channels print it: backslashes doubled,
    characters beyond ASCII as \\NNNN in hexadecimal."""
    return re.sub(r"\\\\|\\([0-9a-f]{4})", lambda m: chr(int(m[1], 16)) if m[1] else "\\", text)


def link_target(lnk):
    """The target path of a shell link (.lnk), from its list of shell items:
    the computer, the drive, then a folder or file item per name. The link
    info holds the path too, but in the ANSI code page only, where ヨモリス
    is question marks. A folder or file item ends with the offset of its
    extension, which holds the name in UTF-16 after 20 bytes, as Wine
    writes it (Windows' own extension, 0xBEEF0004, is laid out otherwise)."""
    data = Path(lnk).read_bytes()
    assert data[:4] == b"\x4c\x00\x00\x00", f"{lnk} is no shell link"
    flags = struct.unpack_from("<I", data, 0x14)[0]
    assert flags & 0x1, f"{lnk} has no shell items"
    at = 0x4C + 2
    parts = []
    while (size := struct.unpack_from("<H", data, at)[0]) != 0:
        item = data[at:at + size]
        at += size
        kind = item[2] & 0x70
        if kind == 0x20:  # a drive: "C:\"
            parts.append(item[3:item.index(b"\0", 3)].decode("ascii").rstrip("\\"))
        elif kind == 0x30:  # a folder or a file
            extension = struct.unpack_from("<H", item, size - 2)[0]
            assert struct.unpack_from("<I", item, extension + 4)[0] != 0xBEEF0004, "not Wine's shell item"
            name = item[extension + 20:size - 2]
            parts.append(name.decode("utf-16-le").split("\0")[0])
    return "\\".join(parts)


class Journey:
    def __init__(self, setup, next_setup, msi, next_msi, layouts, ca, token_signed, data, out):
        self.setup = Path(setup).resolve()
        self.next_setup = Path(next_setup).resolve()
        self.msi, self.next_msi = Path(msi).resolve(), Path(next_msi).resolve()
        self.layouts = json.loads(Path(layouts).read_text(encoding="utf-8"))
        self.ca = Path(ca).resolve()
        self.token_signed = Path(token_signed).resolve()
        self.data = Path(data).resolve()
        self.out = Path(out).resolve()
        shutil.rmtree(self.out, ignore_errors=True)
        self.out.mkdir(parents=True)
        self.version, self.next_version = (re.fullmatch(r"yomorisu-(.+)-setup\.exe", setup.name)[1]
                                           for setup in (self.setup, self.next_setup))
        self.work = Path(tempfile.mkdtemp(prefix="yomorisu-e2e-windows-"))
        self.home = self.work / "home"
        (self.home / "Documents").mkdir(parents=True)
        self.saved = self.work / "saved"
        self.saved.mkdir()
        self.prefix = self.work / "wine"
        self.xvfb = None
        self.program = None
        self.shots = 0
        self.form = "setup"  # which form of the program the journey uses
        self.scale = 1.0  # the display's scale: Wine's LogPixels / 96
        self.env = dict(os.environ)
        self.env.update({
            "HOME": str(self.home),
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            # No offers to fetch .NET or a browser engine; no menu entries
            # on the host for the shortcut.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        })
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "WINEPATH", "QT_PLUGIN_PATH",
                     "QT_QPA_PLATFORM"):
            self.env.pop(name, None)

    def control(self, window, caption=None, name=None):
        """A control's rectangle (twips) in a window's layout, by caption or name."""
        return next(control["rectangle"] for control_name, control in self.layouts[window]["controls"].items()
                    if control_name == name or (caption is not None and control["caption"] == caption))

    def pixels(self, twips):
        # 15 twips to a pixel at 100 %, rounded as the program does, then scaled.
        return math.floor((twips + 7) // 15 * self.scale + 0.5)

    # -- the machine ----------------------------------------------------------

    def start_display(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            assert chunk, "Xvfb did not start"
            number += chunk
        os.close(read)
        self.env["DISPLAY"] = f":{number.decode().strip()}"

    def run(self, *command, timeout=TIMEOUT, check=True):
        result = subprocess.run(command, env=self.env, capture_output=True, timeout=timeout)
        if check and result.returncode != 0:
            raise AssertionError(f"{command} ended with {result.returncode}: "
                                 f"{result.stdout.decode(errors='replace')}{result.stderr.decode(errors='replace')}")
        return result

    def wine(self, *arguments, timeout=TIMEOUT, check=True):
        """A Windows program run to its end, and every process it started."""
        result = self.run("wine", *arguments, timeout=timeout, check=check)
        self.run("wineserver", "-w", timeout=timeout)
        return result

    def shoot(self, what):
        self.shots += 1
        subprocess.run(["import", "-window", "root", str(self.out / f"{self.shots:02d}-{what}.png")],
                       env=self.env, check=False, timeout=30)

    def close(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
        subprocess.run(["wineserver", "-k"], env=self.env, check=False, capture_output=True, timeout=30)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=10)
        shutil.rmtree(self.work, ignore_errors=True)

    # -- places in the prefix -------------------------------------------------

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    @property
    def install_folder(self):
        return self.drive_c / "Program Files" / PRODUCT

    @property
    def shortcut(self):
        # Wine's msi takes the user's Start menu for ProgramMenuFolder
        # whatever ALLUSERS says; Windows every user's.
        start_menu = f"users/{getpass.getuser()}/AppData/Roaming" if self.form == "msi" else "ProgramData"
        return self.drive_c / start_menu / "Microsoft/Windows/Start Menu/Programs" / f"{PRODUCT}.lnk"

    @property
    def documents(self):
        return self.home / "Documents"

    def uninstall_entry(self):
        if self.form != "msi":
            return self.registry_key(UNINSTALL_KEY)
        # Windows Installer's is named by the product code.
        entries = self.msi_entries()
        assert len(entries) <= 1, f"{len(entries)} uninstall entries"
        return next(iter(entries.values()), None)

    def msi_entries(self):
        keys = self.registry_tree(UNINSTALL_KEY.rsplit("\\", 1)[0]) or {}
        return {key: values for key, values in keys.items() if values.get("DisplayName") == PRODUCT}

    def registry_key(self, key):
        """A key's values ("@" the default one); None when there is none."""
        keys = self.registry_tree(key)
        return None if keys is None else keys.get(key.split("\\", 1)[1].lower(), {})

    def registry_tree(self, key):
        """Every key below `key`, by its path without the root in lower case,
        with its values, as Windows' reg tool exports them; None when none."""
        exported = self.work / "entry.reg"
        exported.unlink(missing_ok=True)
        result = self.run("wine", "reg", "export", key, "Z:" + str(exported).replace("/", "\\"),
                          "/reg:64", check=False)
        if result.returncode != 0:
            return None
        keys = {}
        values = None
        for line in exported.read_bytes().decode("utf-16").splitlines():
            if section := re.fullmatch(r"\[[^\\]+\\(.+)\]", line):
                values = keys.setdefault(section[1].lower(), {})
            match = re.fullmatch(r'"?([^"]+?)"?=(?:"(.*)"|dword:([0-9a-f]{8}))', line)
            if match and values is not None:
                values[match[1]] = match[2].replace('\\"', '"').replace("\\\\", "\\") if match[2] is not None \
                    else int(match[3], 16)
        return keys

    # -- windows on the screen ------------------------------------------------

    def xdotool(self, *arguments):
        return self.run("xdotool", *arguments).stdout.decode().split()

    def window(self, caption):
        """The X window of the program's window with that caption. Fails at
        once when the program has ended, and names what is on the screen
        when the window does not come."""
        def shown():
            if self.program and self.program.poll() is not None:
                raise AssertionError(f"the program ended with {self.program.returncode} before {caption} showed")
            return self.run("xdotool", "search", "--onlyvisible", "--name", f"^{caption}$", check=False).stdout.split()
        try:
            found = wait_for(shown, TIMEOUT, f"the window {caption}")
        except AssertionError as failure:
            visible = self.run("xdotool", "search", "--onlyvisible", "--name", ".", check=False).stdout.split()
            names = [self.run("xdotool", "getwindowname", w, check=False).stdout.decode().strip() for w in visible]
            raise AssertionError(f"{failure}; on the screen: {names}") from None
        assert len(found) == 1, f"{len(found)} windows {caption}"
        return found[0].decode()

    def geometry(self, window):
        """Left, top, width and height of a window's client area on the screen."""
        shown = dict(line.split("=") for line in self.xdotool("getwindowgeometry", "--shell", window))
        return tuple(int(shown[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def focus(self, window):
        """In front and with the keyboard, as a click on it gives it under a
        window manager."""
        self.xdotool("windowraise", window)
        self.xdotool("windowfocus", "--sync", window)

    def click(self, window, layout, rectangle):
        """A click in the middle of a control placed at `rectangle` (twips)
        in the window of that layout, whose designed client area lies at the
        bottom of the window's client area, below the menu bar of a working
        window."""
        client_height = self.layouts[layout]["client"][1]
        left, top, width, height = self.geometry(window)
        x = left + self.pixels(rectangle[0] + rectangle[2] / 2)
        y = top + height - self.pixels(client_height) + self.pixels(rectangle[1] + rectangle[3] / 2)
        self.focus(window)
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("click", "1")

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)

    def key(self, *keys):
        self.xdotool("key", "--delay", "80", *keys)

    def save_handout(self, window, name):
        """ファイル → PDF に保存(S)…, typed into the save dialog: the PDF
        written there."""
        before = set(self.run("xdotool", "search", "--onlyvisible", "--name", ".", check=False).stdout.split())
        self.focus(window)
        self.key("alt+f")
        time.sleep(0.5)
        self.key("s")
        shown = lambda: set(self.run("xdotool", "search", "--onlyvisible", "--name", ".",
                                     check=False).stdout.split()) - before
        wait_for(shown, TIMEOUT, "the save dialog")
        # Still there a second later: a window Wine shows for a moment is not it.
        time.sleep(1)
        dialog = shown()
        assert len(dialog) == 1, f"{len(dialog)} new windows"
        dialog = dialog.pop().decode()
        self.shoot(f"save-{name}")
        self.focus(dialog)
        target = self.saved / f"{name}.pdf"
        self.key("ctrl+a")
        self.type("Z:" + str(target))
        self.key("Return")
        wait_for(lambda: target.is_file() and target.stat().st_size > 0, TIMEOUT, f"{target}")
        time.sleep(1)  # written whole: it is renamed into place, but be sure
        return subprocess.run(["pdftotext", "-enc", "UTF-8", "-layout", str(target), "-"], capture_output=True,
                              text=True, check=True).stdout

    # -- the steps ------------------------------------------------------------

    def install(self):
        self.run("wineboot", "-i", timeout=300)
        self.run("wineserver", "-w", timeout=300)
        started = time.monotonic()
        self.wine(str(self.setup), "/S", timeout=300)
        print(f"  silent install: {time.monotonic() - started:.1f} s")

    def check_files(self):
        folder = self.install_folder
        assert (folder / "bin/yomorisu.exe").is_file(), f"no {folder}/bin/yomorisu.exe"
        assert (folder / "uninstall.exe").is_file(), "no uninstall.exe"
        assert "GNU GENERAL PUBLIC LICENSE" in (folder / "LICENSE.txt").read_text(), "no GPL in LICENSE.txt"
        assert (folder / "licenses/Qt/LGPL-3.0-only.txt").is_file(), "no Qt licence"
        samples = tree(folder / "share/yomorisu")
        assert samples == tree(self.data), "share/yomorisu differs from the samples"
        for dll in ("Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll", "platforms/qwindows.dll"):
            assert (folder / "bin" / dll).is_file(), f"no bin/{dll}"
        size = sum(p.stat().st_size for p in folder.rglob("*") if p.is_file())
        print(f"  installed: {len(list(folder.rglob('*')))} files and folders, {size / 1e6:.1f} MB")
        self.installed_size = size

    def check_shortcut(self):
        assert self.shortcut.is_file(), f"no shortcut {self.shortcut}"
        target = link_target(self.shortcut)
        assert target.lower() == rf"c:\program files\{PRODUCT}\bin\yomorisu.exe".lower(), target
        self.program_path = target

    def check_uninstall_entry(self, version=None):
        version = version or self.version
        entry = self.uninstall_entry()
        assert entry is not None, "no uninstall entry"
        folder = rf"C:\Program Files\{PRODUCT}"
        numbers = [int(n) for n in version.split(".")]
        wanted = {
            "DisplayName": PRODUCT,
            "Publisher": PRODUCT,
            "DisplayVersion": version,
            "VersionMajor": numbers[0],
            "VersionMinor": numbers[1],
            "InstallDate": time.strftime("%Y%m%d"),
            "DisplayIcon": rf"{folder}\bin\yomorisu.exe,0",
            "UninstallString": rf'"{folder}\uninstall.exe"',
            "QuietUninstallString": rf'"{folder}\uninstall.exe" /S',
        }
        for name, value in wanted.items():
            assert entry.get(name) == value, f"{name} is {entry.get(name)!r}, wanted {value!r}"
        assert entry.get("Comments"), "no Comments"
        app_paths = self.registry_key(APP_PATHS_KEY)
        assert app_paths and app_paths.get("@") == rf"{folder}\bin\yomorisu.exe", f"App Paths: {app_paths}"
        # In KiB, within a tenth of what is there.
        estimated = entry.get("EstimatedSize", 0) * 1024
        assert abs(estimated - self.installed_size) < self.installed_size / 10, \
            f"EstimatedSize {estimated} for {self.installed_size} bytes"

    def launch(self, path):
        """Starts the program and waits for its main menu. Wine under a
        loaded CI machine once showed no window in a minute at a start that
        takes a second here; what was seen then is printed, and the program
        is started once more, so a second failure is the program's."""
        self.program_log = self.work / "program.log"
        for attempt in (1, 2):
            # Wine says which DLLs the program loads: check_loaded reads
            # them, and a start that fails shows how far it came.
            with open(self.program_log, "wb") as log:
                self.program = subprocess.Popen(["wine", path], env=dict(self.env, WINEDEBUG="-all,+loaddll"),
                                                stdout=log, stderr=subprocess.STDOUT)
            try:
                self.menu = self.window(PRODUCT)
                return
            except AssertionError as failure:
                if attempt == 2:
                    raise
                self.shoot("no-window")
                print(f"  NOTE the first start showed no main menu: {failure}")
                for line in self.program_log.read_text(errors="replace").splitlines()[-8:]:
                    print(f"  | {line}")
                if self.program.poll() is None:
                    self.program.kill()
                self.program.wait()
                self.run("wineserver", "-k", check=False)
                self.run("wineserver", "-w", check=False)

    def start_program(self):
        self.launch(self.program_path)
        time.sleep(1)
        self.shoot("menu")
        left, top, width, height = self.geometry(self.menu)
        # The designed client area, with the 記録 menu bar above it.
        client = [self.pixels(n) for n in self.layouts["健康menu"]["client"]]
        assert width == client[0] and height > client[1], (width, height)
        # The first start copies the samples to Documents, where there is no
        # c:\my documents\.
        for name in ("rmr.csv", "定食.csv"):
            copy = self.documents / name
            assert copy.is_file(), f"{copy} was not put in place"
            assert copy.read_bytes() == (self.data / name).read_bytes(), f"{copy} differs from the sample"
        assert tree(self.documents / "健康相談") == tree(self.data / "健康相談"), "健康相談 not copied whole"
        assert not (self.drive_c / "my documents").exists(), r"c:\my documents\ was made"

    def refused(self, what, command, wanted):
        """`command` ends with the status `wanted` and changes nothing. Not
        waiting for every process of the prefix: the program may run."""
        installed, entry = tree(self.install_folder), self.uninstall_entry()
        status = self.run("wine", *command, timeout=300, check=False).returncode
        assert status == wanted, f"{what} ended with {status}"
        assert tree(self.install_folder) == installed and self.uninstall_entry() == entry, f"{what} changed it"
        print(f"  {what}: status {status}, nothing changed")

    def refused_while_running(self):
        uninstaller = re.fullmatch(r'"([^"]+)" /S', self.uninstall_entry()["QuietUninstallString"])[1]
        self.refused("the setup while running", [str(self.setup), "/S"], RUNNING)
        self.refused("the uninstaller while running", [uninstaller, "/S"], RUNNING)

    def set_meal_handout(self):
        self.click(self.menu, "健康menu", self.control("健康menu", "食品カロリー"))
        window = self.window("定食1")
        width = self.geometry(window)[2]
        assert width == self.pixels(self.layouts["定食1"]["client"][0]), f"定食1 is {width} px wide"
        self.click(window, "定食1", self.control("定食1", "表　　　　示"))
        time.sleep(1)
        self.shoot("set-meals")
        text = self.save_handout(window, f"{self.form}-setmeal")
        # Every row of the sample table, with its number, name and calories,
        # on a line of its own.
        lines = {squeezed(line) for line in text.splitlines()}
        table = read_table(self.data / "定食.csv")
        missing = [f"{number} {name} {value}" for number, (name, value) in enumerate(table, 1)
                   if squeezed(f"{number}{name}{value}") not in lines]
        assert not missing, f"the handout lacks the rows {missing}: {text}"
        print(f"  定食1's handout: all {len(table)} rows")
        # Back to the menu, as the user goes on from there.
        self.click(window, "定食1", self.control("定食1", "処方menuへ"))
        wait_for(lambda: not self.run("xdotool", "search", "--onlyvisible", "--name", "^定食1$",
                                      check=False).stdout.strip(), TIMEOUT, "定食1 unloaded")

    def intake_handout(self):
        self.click(self.menu, "健康menu", self.control("健康menu", "摂取カロリー"))
        window = self.window("摂取")
        left, top, width, height = self.geometry(window)
        # Where its layout puts it, its menu bar above the designed client area.
        place = [self.pixels(n) for n in self.layouts["摂取"]["position"]]
        assert [left, top] == place, f"摂取 stands at {left}, {top}"
        client = [self.pixels(n) for n in self.layouts["摂取"]["client"]]
        assert width == client[0] and height > client[1], f"摂取 is {width}×{height}"
        for meal, numbers in EATEN.items():
            for k, number in enumerate(numbers):
                if number:
                    self.click(window, "摂取", self.control("摂取", name=f"Text{INTAKE_BOXES[meal] + k}"))
                    self.type(number)
        self.click(window, "摂取", self.control("摂取", "計　　算"))
        time.sleep(1)
        self.shoot("intake")
        calories = [value for _, value in read_table(self.data / "定食.csv")]
        sums = {meal: sum(calories[int(n) - 1] for n in numbers if n) for meal, numbers in EATEN.items()}
        printed = squeezed(self.save_handout(window, f"{self.form}-intake"))
        wanted = [f"{meal}合計{total}" for meal, total in sums.items()]
        wanted.append(f"合計摂取熱量{sum(sums.values())}Kｃａｌ")
        for text in wanted:
            assert text in printed, f"the handout lacks {text!r}: {printed}"
        print(f"  摂取's handout: {', '.join(wanted)}")

    def records(self):
        """記録(R) → 相談記録(K)… opens the record window, which makes the
        record in the user's local application data and loads the SQLite
        driver the setup installed."""
        # 記録(R) is the first item of the menu bar above the designed area.
        left, top, width, height = self.geometry(self.menu)
        bar = height - self.pixels(self.layouts["健康menu"]["client"][1])
        self.focus(self.menu)
        self.xdotool("mousemove", "--sync", str(left + self.pixels(300)), str(top + bar // 2))
        self.xdotool("click", "1")
        time.sleep(1)
        self.key("k")
        window = self.window("相談記録")
        time.sleep(1)
        self.shoot("records")
        users = self.drive_c / "users"
        made = wait_for(lambda: [p for p in users.rglob("相談記録.yomorisu") if "AppData/Local" in p.as_posix()],
                        TIMEOUT, "the record file in AppData\\Local")
        assert len(made) == 1, f"records made: {made}"
        self.focus(window)
        self.key("alt+F4")
        wait_for(lambda: not self.run("xdotool", "search", "--onlyvisible", "--name", "^相談記録$",
                                      check=False).stdout.strip(), TIMEOUT, "相談記録 closed")

    def end(self):
        self.click(self.menu, "健康menu", self.control("健康menu", "おわり"))
        try:
            status = self.program.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end on おわり") from None
        self.program = None
        assert status == 0, f"the program ended with {status}: {self.program_log.read_text(errors='replace')}"
        self.run("wineserver", "-w")

    def check_loaded(self):
        """The DLLs the setup installed are the ones the program loaded from
        its folder in the journey: none missing, none for nothing."""
        bin_folder = rf"c:\program files\{PRODUCT}\bin".lower() + "\\"
        loaded = set()
        for match in re.finditer(r'Loaded L"([^"]+)"', self.program_log.read_text(errors="replace")):
            path = wine_string(match[1]).lower()
            if path.startswith(bin_folder) and path.endswith(".dll"):
                loaded.add(path[len(bin_folder):].replace("\\", "/"))
        installed = {str(p.relative_to(self.install_folder / "bin")).lower()
                     for p in (self.install_folder / "bin").rglob("*.dll")}
        assert loaded == installed, f"installed and not loaded: {sorted(installed - loaded)}; " \
                                    f"loaded and not installed: {sorted(loaded - installed)}"
        print(f"  loaded from bin: {', '.join(sorted(loaded))}")

    def install_again(self):
        """Over the installed version: in place, one entry, the user's files
        untouched."""
        self.documents_before = tree(self.documents)
        installed = tree(self.install_folder)
        self.wine(str(self.setup), "/S", timeout=300)
        assert tree(self.install_folder) == installed, "installing again changed what is installed"
        assert self.uninstall_entry() is not None, "no uninstall entry after installing again"
        assert tree(self.documents) == self.documents_before, "installing again changed Documents"

    def upgrade(self):
        """The next version in place: its entry, its files, nothing of the old."""
        old_program = tree(self.install_folder)["bin/yomorisu.exe"]
        self.wine(str(self.next_setup), "/S", timeout=300)
        installed = tree(self.install_folder)
        assert installed.pop("uninstall.exe", None), "no uninstall.exe"
        staging = tree(self.staging(self.next_version))
        assert installed == staging, f"not the new files: {sorted(set(installed.items()) ^ set(staging.items()))}"
        assert installed["bin/yomorisu.exe"] != old_program, "yomorisu.exe was not replaced"
        self.check_uninstall_entry(self.next_version)
        assert tree(self.documents) == self.documents_before, "upgrading changed Documents"

    def downgrade_refused(self):
        self.refused(f"{self.version} over {self.next_version}", [str(self.setup), "/S"], NEWER_INSTALLED)
        self.run("wineserver", "-w")

    def check_signatures(self):
        """Signed by the throw-away authority's key: as built, as installed,
        and from a token."""
        files = [self.next_setup, self.next_msi, self.install_folder / "bin/yomorisu.exe",
                 self.install_folder / "uninstall.exe", self.token_signed]
        for file in files:
            result = self.run("osslsigncode", "verify", "-CAfile", str(self.ca), "-in", str(file), check=False)
            assert result.returncode == 0, f"{file.name}'s signature: {result.stdout.decode(errors='replace')}"
        print(f"  signed: {', '.join(file.name for file in files)}")

    def uninstall(self):
        quiet = self.uninstall_entry()["QuietUninstallString"]
        match = re.fullmatch(r'"([^"]+)" (/S)', quiet)
        started = time.monotonic()
        # The uninstaller copies itself to the temporary folder and goes on
        # from there: wine() waits for every process.
        self.wine(match[1], match[2], timeout=300)
        print(f"  silent uninstall: {time.monotonic() - started:.1f} s")
        self.check_removed()

    def check_removed(self):
        left = [str(p) for p in self.install_folder.rglob("*")] if self.install_folder.exists() else []
        assert not left and not self.install_folder.exists(), f"left under Program Files: {left}"
        assert not self.shortcut.exists(), "the shortcut is left"
        assert self.uninstall_entry() is None, "the uninstall entry is left"
        assert self.registry_key(APP_PATHS_KEY) is None, "the App Paths entry is left"
        assert tree(self.documents) == self.documents_before, "uninstalling changed Documents"

    def per_user(self):
        """/CurrentUser: the files in the user's own programs folder, the
        shortcut in their Start menu, the entries under HKCU, nothing for
        all users; a setup for all users refused beside it; the uninstaller
        in the entry removes it all."""
        machine = self.registry_tree(r"HKLM\Software")
        self.wine(str(self.setup), "/CurrentUser", "/S", timeout=300)
        users = self.drive_c / "users"
        folders = list(users.glob(f"*/AppData/Local/Programs/{PRODUCT}"))
        assert len(folders) == 1, f"installed for the user in {folders}"
        installed = tree(folders[0])
        assert installed.pop("uninstall.exe", None), "no uninstall.exe"
        assert installed == tree(self.staging(self.version)), "not the files of the build"
        shortcuts = list(users.glob(f"*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/{PRODUCT}.lnk"))
        assert len(shortcuts) == 1 and not self.shortcut.exists(), f"shortcuts: {shortcuts}"
        folder = "C:\\" + str(folders[0].relative_to(self.drive_c)).replace("/", "\\")
        assert link_target(shortcuts[0]).lower() == rf"{folder}\bin\yomorisu.exe".lower(), link_target(shortcuts[0])
        entry = self.registry_key(USER_UNINSTALL_KEY)
        assert entry and entry.get("InstallLocation", "").lower() == folder.lower(), f"HKCU entry: {entry}"
        app_paths = self.registry_key(USER_APP_PATHS_KEY)
        assert app_paths and app_paths.get("@", "").lower() == rf"{folder}\bin\yomorisu.exe".lower(), app_paths
        assert not self.install_folder.exists(), "installed in Program Files"
        changed = sorted(key for key, values in self.registry_tree(r"HKLM\Software").items()
                         if machine.get(key) != values and not key.startswith(r"software\wine"))
        assert not changed, f"HKLM changed: {changed}"
        everything = tree(folders[0])
        status = self.run("wine", str(self.setup), "/S", timeout=300, check=False).returncode
        self.run("wineserver", "-w")
        assert status == OTHER_INSTALLED, f"for all users beside it: status {status}"
        assert tree(folders[0]) == everything and not self.install_folder.exists(), "for all users changed it"
        assert self.registry_key(UNINSTALL_KEY) is None, "for all users made an entry"
        print(f"  for all users beside it: status {status}, nothing changed")
        self.wine(*re.fullmatch(r'"([^"]+)" (/S)', entry["QuietUninstallString"]).groups(), timeout=300)
        assert not folders[0].exists() and not shortcuts[0].exists(), "files left"
        assert self.registry_key(USER_UNINSTALL_KEY) is None and self.registry_key(USER_APP_PATHS_KEY) is None, \
            "HKCU entries left"
        assert tree(self.documents) == self.documents_before, "changed Documents"

    def portable(self):
        """The portable zip, unpacked into a folder of its own and run
        through the journey on a display at 150 %, gives the same handouts
        and leaves the registry as it was."""
        self.form = "portable"
        self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f")
        self.scale = 1.5
        folder = self.work / "usb"
        with zipfile.ZipFile(self.setup.parent / f"yomorisu-{self.version}-portable.zip") as archive:
            archive.extractall(folder)
        assert tree(folder / PRODUCT) == tree(self.staging(self.version)), "the zip holds other files"
        # Where programs write; the rest changes as Wine finds devices.
        before = {root: self.registry_tree(root) for root in (r"HKLM\Software", r"HKCU\Software")}
        self.launch(str(folder / PRODUCT / "bin/yomorisu.exe"))
        self.set_meal_handout()
        self.intake_handout()
        self.end()
        for root, keys in before.items():
            after = self.registry_tree(root)
            # Qt's file dialog keeps its last folder there (README); Wine
            # its own metrics at a new scale.
            changed = sorted(key for key in set(keys) | set(after) if keys.get(key) != after.get(key)
                             and not key.startswith((r"software\qtproject", r"software\wine")))
            assert not changed, f"the portable program changed {root}: {changed}"

    def msi_refused_over_setup(self):
        self.refused("the MSI over the setup's installation", ["msiexec", "/i", str(self.next_msi), "/qn"],
                     INSTALL_FAILURE)
        self.run("wineserver", "-w")

    def msi_install(self):
        self.form = "msi"
        self.wine("msiexec", "/i", str(self.msi), "/qn", timeout=300)
        self.check_msi_installed(self.version)

    def setup_refused_over_msi(self):
        self.refused("the setup over the MSI's installation", [str(self.setup), "/S"], OTHER_INSTALLED)
        self.run("wineserver", "-w")
        assert self.registry_key(UNINSTALL_KEY) is None, "the setup made its entry"

    def check_msi_installed(self, version):
        """The staging folder's files, App Paths and one entry for that version."""
        installed = tree(self.install_folder)
        staging = tree(self.staging(version))
        assert installed == staging, f"not the staged files: {sorted(set(installed.items()) ^ set(staging.items()))}"
        entries = self.msi_entries()
        assert len(entries) == 1, f"uninstall entries: {list(entries)}"
        entry, = entries.values()
        # Windows Installer's versions have three numbers.
        wanted = {"DisplayVersion": ".".join((version.split(".") + ["0", "0"])[:3]), "Publisher": PRODUCT,
                  "NoModify": 1, "InstallLocation": rf"C:\Program Files\{PRODUCT}" + "\\"}
        for name, value in wanted.items():
            assert entry.get(name) == value, f"{name} is {entry.get(name)!r}, wanted {value!r}"
        assert entry.get("Comments"), "no Comments"
        app_paths = self.registry_key(APP_PATHS_KEY)
        assert app_paths and app_paths.get("@") == rf"C:\Program Files\{PRODUCT}\bin\yomorisu.exe", app_paths
        assert tree(self.documents) == self.documents_before, "the MSI changed Documents"

    def msi_refused_while_running(self):
        self.refused("msiexec /x while running", ["msiexec", "/x", str(self.msi), "/qn"], INSTALL_FAILURE)
        self.refused("the next MSI while running", ["msiexec", "/i", str(self.next_msi), "/qn"], INSTALL_FAILURE)

    def msi_upgrade(self):
        self.wine("msiexec", "/i", str(self.next_msi), "/qn", timeout=300)
        self.check_msi_installed(self.next_version)

    def msi_downgrade_refused(self):
        """Over the next version installed afresh: Wine's msiexec removes the
        old version only once the new one is registered, and takes the
        upgrade code's registration of both with it, so that nothing finds
        an upgraded version by that code any more (Windows removes first).
        Into a folder of the administrator's, which msiexec /x finds again."""
        folder = self.drive_c / "Apps/Yomorisu"
        self.wine("msiexec", "/i", str(self.next_msi), r"INSTALLFOLDER=C:\Apps\Yomorisu", "/qn", timeout=300)
        assert tree(folder) == tree(self.staging(self.next_version)), "not installed into INSTALLFOLDER"
        self.refused(f"the MSI of {self.version} over {self.next_version}", ["msiexec", "/i", str(self.msi), "/qn"],
                     INSTALL_FAILURE)
        self.run("wineserver", "-w")
        self.msi_uninstall()
        assert not folder.exists(), f"left in {folder}"

    def msi_uninstall(self):
        self.wine("msiexec", "/x", str(self.next_msi), "/qn", timeout=300)
        self.check_removed()

    def staging(self, version):
        return self.setup.parent / version / "staging"

    STEPS = ["install", "check_files", "check_shortcut", "check_uninstall_entry", "start_program",
             "refused_while_running", "set_meal_handout", "intake_handout", "records", "end", "check_loaded",
             "install_again", "upgrade", "check_signatures", "downgrade_refused", "msi_refused_over_setup",
             "uninstall", "per_user", "msi_install", "setup_refused_over_msi", "check_shortcut", "start_program",
             "msi_refused_while_running", "end", "msi_upgrade", "msi_uninstall", "msi_downgrade_refused",
             "portable"]

    def run_all(self):
        self.start_display()
        for step in self.STEPS:
            started = time.monotonic()
            try:
                getattr(self, step)()
            except Exception:
                print(f"FAIL {step}")
                traceback.print_exc()
                self.shoot(f"failed-{step}")
                if getattr(self, "program_log", None) and self.program_log.exists():
                    print(self.program_log.read_text(errors="replace")[-4000:])
                return 1
            print(f"ok   {step} ({time.monotonic() - started:.1f} s)")
        return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--setup", required=True)
    parser.add_argument("--next-setup", required=True)
    parser.add_argument("--msi", required=True)
    parser.add_argument("--next-msi", required=True)
    parser.add_argument("--layouts", required=True)
    parser.add_argument("--ca", required=True)
    parser.add_argument("--token-signed", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    journey = Journey(args.setup, args.next_setup, args.msi, args.next_msi, args.layouts, args.ca,
                      args.token_signed, args.data, args.out)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        return journey.run_all()
    finally:
        journey.close()


if __name__ == "__main__":
    sys.exit(main())
