#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""ヨモリス from outside: the installed program in a desktop session of its
own, driven only through AT-SPI as a screen reader meets it.

The journey is a list of steps, one function per window, run in order on one
running program; each checks what its window shows. A picture of every open
window is saved after each step (and of the screen on a failure) under
--out, for a reviewer to look at.

Usage: journey.py [--prefix /usr] [--out DIR]
Exit status 0 when every step passed, 1 on a failure, 77 when the program
is not installed under the prefix.
"""

import argparse
import configparser
import csv
import filecmp
import os
import re
import shlex
import shutil
import struct
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
from session import Session  # noqa: E402

SKIPPED = 77

# The AT-SPI client (screenreader.py), imported once the session's buses are
# up, since it connects to them as it loads.
sr = None

# The windows' captions, as the program shows them.
MENU = "ヨモリス"
SET_MEALS = "定食1"
INTAKE = "摂取"
RMR = "ＲＭＲ"
EXPENDITURE = "消費エネルギー"
BODY = "標準"
DOCUMENTS = "病気"
# Where scripts/test-printer.sh keeps the jobs its loopback printer received.
TEST_PRINTER = Path(os.environ.get("YOMORISU_TEST_PRINTER_DIR", "/tmp/yomorisu-test-printer"))
DISPLAY = "表\u3000\u3000\u3000\u3000示"
NEXT_PAGE = "次のページ"
CALCULATE = "計\u3000\u3000算"
BACK = "処方menuへ"
MEALS = ("朝食", "昼食", "夕食")


def read_table(path):
    """(name, value) per record of a sample table, read here on its own:
    code page 932, comma-separated, a quoted name may hold commas."""
    with open(path, encoding="cp932", newline="") as file:
        return [(name, int(value)) for name, value in csv.reader(file)]


def listing_lines(text):
    """(row number, name, value) for each line a listing panel shows."""
    if not text:
        return []
    rows = []
    for line in text.split("\n"):
        match = re.fullmatch(r"\s*(\d+)\s+(.*?)\s+(-?\d+)\s*", line)
        if not match:
            raise AssertionError(f"not a listing row: {line!r}")
        rows.append((int(match[1]), match[2], int(match[3])))
    return rows


def single(value):
    """The nearest single-precision number."""
    return struct.unpack("f", struct.pack("f", value))[0]


def printed_single(value):
    """A single-precision number as a picture area prints it: at most seven
    significant digits, no trailing zeros."""
    digits = f"{abs(value):.7g}"
    return f"{'-' if value < 0 else ' '}{digits} "


def printed_number(value):
    """A whole number as a picture area prints it: sign place, digits, one
    space."""
    return f"{'-' if value < 0 else ' '}{abs(value)} "


class Journey:
    def __init__(self, prefix, out):
        self.program_path = prefix / "bin" / "yomorisu"
        self.samples = prefix / "share" / "yomorisu"
        self.desktop_entry = prefix / "share" / "applications" / "jp.yomorisu.Yomorisu.desktop"
        self.out = out
        self.shots = out / "screens"
        self.home = out / "home"
        self.documents = self.home / "Documents"
        self.session = None
        self.program = None
        self.app = None
        self.step = "setup"
        self.shot_count = 0

    # -- running ------------------------------------------------------------

    def run(self, steps):
        for directory in (self.shots, self.home, self.out / "session"):
            shutil.rmtree(directory, ignore_errors=True)
            directory.mkdir(parents=True)
        self.session = Session(self.out / "session")
        passed = 0
        try:
            self.session.start()
            os.environ.update(self.session.env)
            global sr
            import screenreader as sr

            for step in steps:
                self.step = step.__name__
                step(self)
                self.shoot_windows()
                passed += 1
                print(f"PASS   {self.step}", flush=True)
        except Exception:
            print(f"FAIL!  {self.step}", flush=True)
            traceback.print_exc()
            self.report_failure()
        finally:
            self.session.close()
        failed = len(steps) - passed
        print(f"steps: {passed} passed, {1 if failed else 0} failed, {failed - 1 if failed else 0} not run")
        print(f"pictures of the windows: {self.shots}")
        return 0 if not failed else 1

    def start_program(self):
        """Starts the program as the desktop menu does: the command of its
        desktop entry, found on the PATH."""
        self.program = self.session.spawn(
            self.menu_command(),
            env={"HOME": str(self.home), "QT_QPA_PLATFORM": "xcb",
                 "PATH": f"{self.program_path.parent}:{self.session.env['PATH']}"},
            stdout=open(self.out / "program.log", "wb"), stderr=subprocess.STDOUT)
        self.app = sr.Application(self.program.pid)

    def menu_command(self):
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(self.desktop_entry, encoding="utf-8")
        command = shlex.split(entry["Desktop Entry"]["Exec"])
        # Field codes (%f, %U, ...) stand for files the menu would pass; none here.
        return [word for word in command if not re.fullmatch(r"%[a-zA-Z]", word)]

    def report_failure(self):
        try:
            self.session.screenshot(self.shots / f"{self.shot_count + 1:02d}-FAILED-{self.step}.png")
        except Exception as error:
            print(f"(no picture of the screen: {error})")
        if self.app is not None:
            try:
                print("What the program showed to assistive technology:\n" + self.app.describe())
            except Exception as error:
                print(f"(the program could not be read: {error})")
        if self.program and self.program.poll() is not None:
            print(f"The program had ended with status {self.program.returncode}.")

    # -- looking ------------------------------------------------------------

    def shoot_windows(self, windows=None):
        """One PNG per open window (or those given), named by step and
        caption; a message box is named as one."""
        if not self.app or self.program.poll() is not None:
            return
        for window in windows or self.app.top_levels():
            self.shot_count += 1
            title = window.name if sr.role(window) == sr.FRAME else f"message box {window.name}"
            name = f"{self.shot_count:02d}-{self.step}-{title}.png".replace("/", "_")
            self.session.screenshot(self.shots / name, sr.extents(window))

    def panels(self, window):
        """The picture areas of a window, from the left."""
        return sr.by_column(sr.find_all(window, sr.TEXT, where=sr.is_read_only))

    def expect_listing(self, window, wanted, what):
        """Waits until the panels, from the left, list exactly `wanted`: one
        list of (row, name, value) per panel."""
        def shown():
            return [listing_lines(sr.read(panel)) for panel in self.panels(window)]
        try:
            Session.wait_for(lambda: shown() == wanted, sr.TIMEOUT, what)
        except AssertionError:
            actual = shown()
            for k, (got, want) in enumerate(zip(actual, wanted), 1):
                if got != want:
                    first = next((i for i, (g, w) in enumerate(zip(got, want)) if g != w), min(len(got), len(want)))
                    raise AssertionError(
                        f"{what}: panel {k} of {len(actual)} shows {len(got)} rows, wanted {len(want)}; "
                        f"first difference at line {first + 1}: "
                        f"{got[first] if first < len(got) else None} instead of "
                        f"{want[first] if first < len(want) else None}") from None
            raise AssertionError(f"{what}: {len(actual)} panels, wanted {len(wanted)}") from None

    def texts(self):
        """What every open window shows in its boxes and picture areas."""
        return {window.name: [(control.name, sr.read(control)) for control in
                              sr.left_to_right(sr.find_all(window, sr.TEXT))]
                for window in self.app.top_levels(sr.FRAME)}

    def menu_button(self, caption):
        sr.press(sr.find(self.app.window(MENU), sr.BUTTON, caption))


def rows(table, first, last):
    """Rows first..last of a table as a listing prints them."""
    return [(n, *table[n - 1]) for n in range(first, min(last, len(table)) + 1)]


# -- the steps, one per window ------------------------------------------------
# Each takes the journey and checks what the user would see. A step for a
# new window goes in the list at the end, before the bad entry.


def start(j):
    """Only the main menu, and the samples in place for a new user."""
    j.start_program()
    j.app.window(MENU)
    time.sleep(0.5)  # anything else would have appeared with it
    assert j.app.window_names() == [MENU], j.app.window_names()
    for name in ("rmr.csv", "定食.csv"):
        copy = j.documents / name
        assert copy.is_file(), f"{copy} was not put in place"
        assert filecmp.cmp(copy, j.samples / name, shallow=False), f"{copy} differs from the sample"
    if (j.samples / "健康相談").is_dir():
        compared = filecmp.dircmp(j.samples / "健康相談", j.documents / "健康相談")
        assert not (compared.left_only or compared.right_only or compared.diff_files), compared.report()


def set_meal_listing(j):
    """食品カロリー: 表示 lists the first page, 次のページ the second."""
    meals = read_table(j.documents / "定食.csv")
    j.menu_button("食品カロリー")
    window = j.app.window(SET_MEALS)
    j.expect_listing(window, [[]] * 4, "empty panels on opening")
    sr.press(sr.find(window, sr.BUTTON, DISPLAY))
    j.expect_listing(window, [rows(meals, 1, 40), rows(meals, 41, 80), rows(meals, 81, 120),
                              rows(meals, 121, 300)], "the first page")
    sr.press(sr.find(window, sr.BUTTON, NEXT_PAGE))
    j.expect_listing(window, [rows(meals, 162, 300), rows(meals, 203, 300), rows(meals, 244, 300), []],
                     "the second page")


# Set-meal numbers typed for each meal; a number may come twice.
EATEN = {"朝食": ["3", "15"], "昼食": ["120", "7", "7"], "夕食": ["200", "1", "", "42"]}


def intake(j):
    """摂取カロリー: numbers for three meals, 計算 shows the sums."""
    calories = [value for _, value in read_table(j.documents / "定食.csv")]
    j.menu_button("摂取カロリー")
    window = j.app.window(INTAKE)
    for meal, numbers in EATEN.items():
        for k, number in enumerate(numbers, 1):
            sr.set_text(sr.find(window, sr.TEXT, f"{meal} {k}"), number)
    sr.press(sr.find(window, sr.BUTTON, CALCULATE))
    sums = {meal: sum(calories[int(n) - 1] for n in numbers if n) for meal, numbers in EATEN.items()}
    wanted = {f"{meal}合計": printed_number(total) for meal, total in sums.items()}
    wanted["合計摂取熱量"] = printed_number(sum(sums.values()))

    def shown():
        return {name: sr.read(sr.find(window, sr.TEXT, name)) for name in wanted}
    try:
        Session.wait_for(lambda: shown() == wanted, sr.TIMEOUT, "the sums")
    except AssertionError:
        raise AssertionError(f"sums shown {shown()}, wanted {wanted}") from None


def intake_handout(j):
    """ファイル(F) of 摂取: the menu and its two items are named, with their
    shortcuts; PDF に保存 saves the sums of the last 計算 where the dialog
    proposes."""
    window = j.app.window(INTAKE)
    # The menu bar's one item opens the menu, as a click would.
    menu = sr.find(window, "menu item", "ファイル(F)")
    menu.queryAction().doAction(0)
    items = {item.name: item for item in sr.find_all(menu, "menu item")}
    assert set(items) == {"印刷(P)…", "PDF に保存(S)…"}, sorted(items)
    for name, key in (("印刷(P)…", "P"), ("PDF に保存(S)…", "S")):
        bindings = items[name].queryAction().getKeyBinding(0)
        assert f"Ctrl+{key}" in bindings, f"{name!r} has the key binding {bindings!r}"
    action = items["PDF に保存(S)…"].queryAction()
    action.doAction(0)
    dialog = j.app.message_box()
    j.shoot_windows([dialog])
    names = sr.find_all(dialog, sr.TEXT, where=lambda c: c.name.startswith("ファイル名"))
    assert len(names) == 1, sr.describe(dialog)
    proposed = sr.read(names[0])
    assert re.fullmatch(r"摂取_\d{4}-\d\d-\d\d\.pdf", proposed), proposed
    sr.press(next(b for b in sr.find_all(dialog, sr.BUTTON) if b.name.startswith("保存")))
    saved = Session.wait_for(lambda: next(iter(j.documents.glob("摂取_*.pdf")), None), sr.TIMEOUT,
                             "the saved handout")
    time.sleep(0.5)
    printed = re.sub(r"\s+", "", subprocess.run(["pdftotext", "-enc", "UTF-8", str(saved), "-"],
                                                capture_output=True, text=True, check=True).stdout)
    calories = [value for _, value in read_table(j.documents / "定食.csv")]
    day = sum(calories[int(n) - 1] for numbers in EATEN.values() for n in numbers if n)
    for wanted in ("摂取カロリー計算", "氏名：", f"合計摂取熱量{day}Kｃａｌ", "ヨモリス", "1/1"):
        assert wanted in printed, f"the handout lacks {wanted!r}: {printed}"
    print(f"       PDF に保存: {saved.name}, day total {day}")


def rmr_listing(j):
    """運動エネルギー: 表示 lists every exercise over the three panels."""
    exercises = read_table(j.documents / "rmr.csv")
    j.menu_button("運動エネルギー")
    window = j.app.window(RMR)
    j.expect_listing(window, [[]] * 3, "empty panels on opening")
    sr.press(sr.find(window, sr.BUTTON, DISPLAY))
    j.expect_listing(window, [rows(exercises, 1, 20), rows(exercises, 21, 40), rows(exercises, 41, 300)],
                     "the listing")


# Exercise numbers and minutes typed into the entry rows of 消費.
EXERCISES = [("3", "30"), ("7", "15"), ("12", "45")]


def expenditure(j):
    """消費エネルギー: entries and a sex code, 計算 lists the exercises and
    prints the energy; RMR表示 lists again and keeps the energy."""
    exercises = read_table(j.documents / "rmr.csv")
    j.menu_button("消費エネルギー")
    window = j.app.window(EXPENDITURE)
    for k, (number, minutes) in enumerate(EXERCISES, 1):
        sr.set_text(sr.find(window, sr.TEXT, f"種目番号 {k}"), number)
        sr.set_text(sr.find(window, sr.TEXT, f"時間 {k}"), minutes)
    sr.set_text(sr.find(window, sr.TEXT, "性別"), "2")
    sr.press(sr.find(window, sr.BUTTON, "\u3000計\u3000\u3000\u3000算"))
    total = sum(exercises[int(n) - 1][1] * int(m) for n, m in EXERCISES)
    # The total as a single times the woman's factor as a single, the exact
    # product rounded once.
    wanted = printed_single(single(single(total) * single(0.9833)))
    energy = sr.find(window, sr.TEXT, "合計")
    Session.wait_for(lambda: sr.read(energy) == wanted, sr.TIMEOUT, f"the energy {wanted!r}")

    def listing():
        return [listing_lines(sr.read(sr.find(window, sr.TEXT, f"ＲＭＲ一覧 {k}"))) for k in (1, 2)]
    wanted_listing = [rows(exercises, 1, 25), rows(exercises, 26, 300)]
    Session.wait_for(lambda: listing() == wanted_listing, sr.TIMEOUT, "the zoned listing")
    sr.press(sr.find(window, sr.BUTTON, "RMR表示"))
    time.sleep(0.5)
    assert listing() == wanted_listing, "RMR表示 changed the listing"
    assert sr.read(energy) == wanted, f"RMR表示 changed the energy to {sr.read(energy)!r}"


def body(j):
    """標準体重指標: height and weight, 計算 shows the standard weight, the
    BMI and the figure of its class, which a screen reader is told."""
    j.menu_button("標準体重指標")
    window = j.app.window(BODY)
    figure = sr.find(window, "image", "体型の図")
    assert figure.description == "ふつう", figure.description
    for height, weight, standard, bmi, shape in (("140", "51", " 40 ", " 26 ", "肥満"),
                                                  ("170", "65", " 63 ", " 22 ", "ふつう"),
                                                  ("200", "74", " 90 ", " 18 ", "やせ")):
        sr.set_text(sr.find(window, sr.TEXT, "身長"), height)
        sr.set_text(sr.find(window, sr.TEXT, "体重"), weight)
        sr.press(sr.find(window, sr.BUTTON, "計算"))
        shown = lambda: (sr.read(sr.find(window, sr.TEXT, "標準体重")),
                         sr.read(sr.find(window, sr.TEXT, "BMI\u3000指数")), figure.description)
        Session.wait_for(lambda: shown() == (standard, bmi, shape), sr.TIMEOUT,
                         f"{height} cm, {weight} kg to show {standard!r}, {bmi!r} and {shape}")
        j.shoot_windows([window])


def document_lines(path):
    """The lines of a sample document, read here on its own: code page 932,
    a line ending at CR or CR LF."""
    text = path.read_bytes().decode("cp932")
    return re.split(r"\r\n?", text.removesuffix("\r\n").removesuffix("\r"))


def received_jobs():
    return sorted((TEST_PRINTER / "jobs").glob("job-[0-9]*"))


def documents(j):
    """文献など: a sample document loaded through the file dialog, its path
    typed into the dialog's file-name field; 印刷 sends it whole to the
    default printer."""
    path = j.documents / "健康相談" / "糖尿病.txt"
    lines = document_lines(path)
    j.menu_button("文献など")
    window = j.app.window(DOCUMENTS)
    box = sr.find(window, sr.TEXT, "病気の説明等")
    assert "健康相談フォルダ" in sr.read(box), sr.read(box)
    sr.press(sr.find(window, sr.BUTTON, "ファイル読み込み"))
    dialog = j.app.message_box()
    j.shoot_windows([dialog])
    names = sr.find_all(dialog, sr.TEXT, where=lambda c: c.name.startswith("ファイル名"))
    assert len(names) == 1, sr.describe(dialog)
    sr.set_text(names[0], str(path))
    sr.press(next(b for b in sr.find_all(dialog, sr.BUTTON) if b.name.startswith("開く")))
    Session.wait_for(lambda: sr.read(box).rstrip("\n") == "\n".join(lines), sr.TIMEOUT,
                     f"the box to show {path.name}")

    if not (TEST_PRINTER / "port").exists():
        if os.environ.get("CI"):
            raise AssertionError(f"no loopback printer in {TEST_PRINTER}: scripts/test-printer.sh up")
        print("       (印刷 not tried: no loopback printer; scripts/test-printer.sh up sets one up)")
        return
    before = received_jobs()
    sr.press(sr.find(window, sr.BUTTON, "印刷"))
    job = Session.wait_for(lambda: next(iter(set(received_jobs()) - set(before)), None), 30,
                           "the print job at the loopback printer")
    time.sleep(1)
    assert len(received_jobs()) == len(before) + 1, "more than one job for one press"
    pages = int(re.search(r"Pages:\s+(\d+)", subprocess.run(
        ["pdfinfo", str(job)], capture_output=True, text=True, check=True).stdout)[1])
    printed = subprocess.run(["pdftotext", "-enc", "UTF-8", str(job), "-"], capture_output=True, text=True,
                             check=True).stdout
    # Lines wider than the page wrap, so compare without white space: every
    # line of the box is in the job, in order. A font may draw two code points
    # with one glyph, which then reads back as the other (～ as 〜).
    same_glyph = str.maketrans("\u301c\u2212\u2225", "\uff5e\uff0d\u2016")
    flat = re.sub(r"\s+", "", printed).translate(same_glyph)
    at = 0
    for line in lines:
        wanted = re.sub(r"\s+", "", line).translate(same_glyph)
        found = flat.find(wanted, at)
        assert found >= 0, f"printed job lacks, or misorders, the line {line!r}"
        at = found + len(wanted)
    assert pages > 1, f"the long document printed on {pages} page(s)"
    print(f"       印刷: one job of {pages} pages holding all {len(lines)} lines")


def bad_entry(j):
    """"301" in 摂取: a message box with the error's number; once it is
    dismissed the program goes on and no window has changed."""
    window = j.app.window(INTAKE)
    sr.set_text(sr.find(window, sr.TEXT, "朝食 1"), "301")
    before = j.texts()
    sr.press(sr.find(window, sr.BUTTON, CALCULATE))
    box = j.app.message_box()
    message = "\n".join(label.name for label in sr.find_all(box, "label"))
    assert re.search(r"(?<!\d)9(?!\d)", message), f"no error number 9 in the message: {message!r}"
    j.shoot_windows([box])
    buttons = sr.find_all(box, sr.BUTTON)
    assert len(buttons) == 1, [b.name for b in buttons]
    sr.press(buttons[0])
    Session.wait_for(lambda: not j.app.top_levels(sr.ALERT, sr.DIALOG), sr.TIMEOUT, "the message box to go")
    assert j.program.poll() is None, f"the program ended with status {j.program.returncode}"
    assert j.app.window_names() == sorted([MENU, SET_MEALS, INTAKE, RMR, EXPENDITURE, BODY, DOCUMENTS]), \
        j.app.window_names()
    after = j.texts()
    for name in before:
        assert after[name] == before[name], f"{name} changed:\n{before[name]}\n->\n{after[name]}"


def back_to_menu_and_reopen(j):
    """処方menuへ closes 摂取; opened again, it is empty."""
    sr.press(sr.find(j.app.window(INTAKE), sr.BUTTON, BACK))
    j.app.wait_gone(INTAKE)
    assert MENU in j.app.window_names()
    j.menu_button("摂取カロリー")
    window = j.app.window(INTAKE)
    shown = [(c.name, sr.read(c)) for c in sr.find_all(window, sr.TEXT)]
    assert len(shown) == 34, shown  # 30 boxes and 4 picture areas
    assert all(text == "" for _, text in shown), [s for s in shown if s[1]]


def end(j):
    """おわり with windows open: the program ends at once, status 0."""
    j.menu_button("おわり")
    pressed = time.monotonic()
    try:
        status = j.program.wait(timeout=2)
    except Exception:
        raise AssertionError("the program was still running 2 s after おわり") from None
    elapsed = time.monotonic() - pressed
    assert status == 0, f"exit status {status}"
    print(f"       おわり: exit status 0 after {elapsed:.2f} s")


STEPS = [start, set_meal_listing, intake, intake_handout, rmr_listing, expenditure, body, documents, bad_entry,
         back_to_menu_and_reopen, end]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--prefix", type=Path, default=Path("/usr"), help="where the program is installed")
    parser.add_argument("--out", type=Path, default=Path("e2e-journey"), help="pictures and logs go here")
    args = parser.parse_args()
    journey = Journey(args.prefix.resolve(), args.out.resolve())
    if not os.access(journey.program_path, os.X_OK):
        print(f"{journey.program_path} is not installed; build the package and install it first "
              "(scripts/package.sh)")
        return SKIPPED
    return journey.run(STEPS)


if __name__ == "__main__":
    sys.exit(main())
