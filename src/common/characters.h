// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// How many UTF-16 units the character at `at` of `text` takes: 2 for a
// surrogate pair, 1 for anything else, a lone half of a pair included. What
// the user sees as one character is cut, counted and stepped over as one.
inline qsizetype characterLength(QStringView text, qsizetype at) {
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2 : 1;
}
