// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/layout.h"

#include <QFont>
#include <QStringList>

// The faces that stand in for a designed one, in the order Qt tries them for
// each character: the designed face itself where the system has it (a
// Japanese Windows), else the stand-ins. The designed proportional Gothic has half-width digits and
// letters about half an em wide; IPA P Gothic's are nearly two thirds, too wide
// for the boxes and panels drawn around them. So a narrow Latin face (Arial
// Narrow's widths) comes first for those, and IPA P Gothic gives the kana and
// kanji. The Mincho faces only caption titles and keep their IPA substitute.
QStringList standInFaces(const QString& designed);
// The same choice, told whether the designed face is installed.
QStringList standInFaces(const QString& designed, bool designedInstalled);

// The designer's Japanese fonts map to their stand-ins wherever a font is
// asked for by its designed name. Called once, at start-up.
void installFontSubstitutions();

// A layout font as a QFont, asking for the stand-in faces. Sizes become pixel
// sizes at 96 dots per inch, the same scale the twips of the layouts use, so
// text fits the designed boxes whatever the screen reports.
QFont toQFont(const layout::Font& font);

// The font with its last face alone: the Japanese one, which holds every
// character. Line height, baseline and average character width are taken
// from it, so the Latin face in front, which only lends its narrower
// characters, moves no line and no print zone.
QFont metricsFace(const QFont& font);

// A menu bar's font: the desktop's, as every menu on the desktop, but its
// Japanese from the window's own Japanese face, already open, rather than
// from whichever face the system would fall back to, a second one to read
// before the first window shows.
QFont menuFont(const QFont& windowFont);
