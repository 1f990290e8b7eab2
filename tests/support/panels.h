// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Panels of the listing windows as a test reads them: which rows each panel
// should show, and the first line where the window shows something else.

#include "common/picturelines.h"
#include "forms/picturearea.h"
#include "forms/windowobject.h"
#include "testsupport.h"

#include <QMetaType>

#include <functional>

// The rows each panel should show: {first, last}, or {1, 0} for an empty
// panel.
using PanelRows = QList<std::pair<int, int>>;
Q_DECLARE_METATYPE(PanelRows)

// What window's picture area PictureK prints into.
inline PictureLines& panelOf(const WindowObject& window, int k) {
    return window.control<PictureArea>(QStringLiteral("Picture%1").arg(k))->lines();
}

// Empty when Picture1, Picture2, ... of `window` show exactly the rows in
// `expected`, row n being `row(n)`; otherwise the first difference.
inline QString panelsDifference(const WindowObject& window, const PanelRows& expected,
                                const std::function<QString(int)>& row) {
    for (int k = 1; k <= int(expected.size()); ++k) {
        QStringList wanted;
        for (int n = expected[k - 1].first; n <= expected[k - 1].second; ++n)
            wanted.append(row(n));
        const QString difference = panelDifference(panelOf(window, k), wanted);
        if (!difference.isEmpty())
            return QStringLiteral("Picture%1: %2").arg(k).arg(difference);
    }
    return {};
}
