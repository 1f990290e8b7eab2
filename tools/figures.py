#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the three BMI figures of the 標準 window as 73x84 two-colour XPM files.

Usage: tools/figures.py OUTPUT_FOLDER   (the figures live in src/body)

The pictures are black line drawings on white; every shape is worked out on
pixel centres so the drawings stay symmetric about the middle column.
"""

import math
import sys
from pathlib import Path

WIDTH, HEIGHT = 73, 84
MID = WIDTH // 2  # 36: the middle column


class Canvas:
    def __init__(self):
        self.ink = [[False] * WIDTH for _ in range(HEIGHT)]

    def _each(self, test):
        for y in range(HEIGHT):
            for x in range(WIDTH):
                r = test(x, y)
                if r is not None:
                    self.ink[y][x] = r

    def ellipse(self, cx, cy, rx, ry, width=2.0, fill=None):
        """Outline `width` pixels thick; fill=False blanks the inside first."""
        half = width / 2

        def test(x, y):
            outer = ((x - cx) / (rx + half)) ** 2 + ((y - cy) / (ry + half)) ** 2
            inner = ((x - cx) / max(rx - half, 0.01)) ** 2 + ((y - cy) / max(ry - half, 0.01)) ** 2
            if outer < 1 and inner >= 1:
                return True
            if inner < 1 and fill is not None:
                return fill
            return None

        self._each(test)

    def blot(self, cx, cy, rx, ry):
        self._each(lambda x, y: True if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1 else None)

    def line(self, x0, y0, x1, y1, width=2.0):
        half = width / 2
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy

        def test(x, y):
            t = 0 if length2 == 0 else max(0, min(1, ((x - x0) * dx + (y - y0) * dy) / length2))
            px, py = x0 + t * dx, y0 + t * dy
            return True if math.hypot(x - px, y - py) <= half else None

        self._each(test)

    def mirrored(self, draw):
        """Draws a shape given for the left side, and its mirror image."""
        draw(lambda x: x)
        draw(lambda x: 2 * MID - x)

    def xpm(self, name):
        rows = ['"%d %d 2 1",' % (WIDTH, HEIGHT), '". c #FFFFFF",', '"# c #000000",']
        rows += ['"%s",' % "".join("#" if i else "." for i in row) for row in self.ink]
        rows[-1] = rows[-1].rstrip(",")
        return "/* XPM */\nstatic const char *%s[] = {\n%s\n};\n" % (name, "\n".join(rows))


def normal():
    """A standing person of ordinary build, arms held straight out."""
    c = Canvas()
    c.ellipse(MID, 9, 7, 7)                       # small round head
    c.mirrored(lambda m: c.blot(m(MID - 3), 8, 0.5, 1))     # eyes
    c.line(MID - 2, 13, MID + 2, 13, 1)                       # and a smile
    c.mirrored(lambda m: c.ink[12].__setitem__(m(MID - 3), True))
    c.line(MID, 17, MID, 20)                      # neck
    c.ellipse(MID, 37, 9, 17)                     # long rounded body
    c.mirrored(lambda m: c.line(m(MID - 8), 26, m(4), 26))    # arms straight out
    c.mirrored(lambda m: c.ellipse(m(3), 26, 1.5, 1.5, 1.5))  # hands
    c.mirrored(lambda m: c.line(m(MID - 4), 53, m(MID - 6), 80))  # long legs
    c.mirrored(lambda m: c.line(m(MID - 6), 81, m(MID - 11), 81))  # feet
    return c


def heavy():
    """A big round body under an oval head with two large black eyes."""
    c = Canvas()
    c.ellipse(MID, 55, 27, 27)                    # the body
    c.ellipse(MID, 16, 15, 12, fill=False)        # head over the body's top
    c.mirrored(lambda m: c.blot(m(MID - 6), 15, 3.6, 4.6))
    for x, y in ((MID - 7, 13), (MID - 6, 13), (MID - 7, 14)):  # a glint in each eye
        c.mirrored(lambda m: c.ink[y].__setitem__(m(x), False))
    return c


def thin():
    """A narrow head and a long narrow body with thin limbs out to the sides."""
    c = Canvas()
    c.ellipse(MID, 10, 5, 9)                      # narrow oval head
    c.mirrored(lambda m: c.blot(m(MID - 2), 9, 0.8, 1.2))  # small dark eyes
    c.ellipse(MID, 47, 5, 25)                     # long narrow body
    c.mirrored(lambda m: c.line(m(MID - 5), 31, m(9), 26, 1.2))   # arms near the top
    c.mirrored(lambda m: c.line(m(MID - 3), 70, m(14), 81, 1.2))  # legs from the bottom
    return c


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = Path(sys.argv[1])
    for name, draw in (("normal", normal), ("heavy", heavy), ("thin", thin)):
        (out / (name + ".xpm")).write_text(draw().xpm(name), encoding="ascii")


if __name__ == "__main__":
    main()
