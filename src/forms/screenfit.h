// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// Where a window opens so that as much of it as can be is on the screen's
// free area (`available`, without the taskbar): a window that can be resized
// shrinks to that area, not below `least` (its frame at its least size); then
// it is moved in from the right and the bottom, and last from the left and
// the top, so that its title bar stays within reach when it is taller than
// the area. A window that fits where it is stays there.
QRect fittedOnScreen(const QRect& frame, const QRect& available, bool resizable, const QSize& least);
