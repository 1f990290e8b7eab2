// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/screenfit.h"

#include <algorithm>

QRect fittedOnScreen(const QRect& frame, const QRect& available, bool resizable, const QSize& least) {
    QRect fitted = frame;
    if (resizable)
        fitted.setSize(frame.size().boundedTo(available.size()).expandedTo(least));
    if (fitted.right() > available.right())
        fitted.moveRight(available.right());
    if (fitted.bottom() > available.bottom())
        fitted.moveBottom(available.bottom());
    if (fitted.left() < available.left())
        fitted.moveLeft(available.left());
    if (fitted.top() < available.top())
        fitted.moveTop(available.top());
    return fitted;
}
