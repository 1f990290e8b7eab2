// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The key ふりがな are sorted and searched by: katakana (full- or half-width)
// as hiragana, half-width voiced marks joined to their kana, full-width
// Latin letters and digits as ASCII, letters in lower case, blanks removed.
// Small kana stay small.
QString foldKana(const QString& text);
