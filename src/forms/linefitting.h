// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/picturelines.h"

#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// How a picture area's printed line is placed on its surface, from the
// font's metrics alone.

// Where each item of a printed line starts, from the left edge of the
// surface: every item after the first at the first start of a zone `zone`
// wide beyond the end of the item before it, put on the nearest whole pixel.
QList<int> zonePositions(const QStringList& items, const QFontMetricsF& metrics, qreal zone);

// One piece of a printed line as it is drawn: characters start to
// start + length of the line's text (items joined by tabs, as assistive
// technology reads it), drawn as `shown` from x on the surface, squeezed to
// `scale` of its natural width. A piece that stands for the characters cut
// from a yielding text shows "…" in their place.
struct LinePiece {
    qsizetype start = 0;
    qsizetype length = 0;
    QString shown;
    qreal x = 0;
    qreal scale = 1;
    bool cut = false;

    qreal width(const QFontMetricsF& metrics) const { return scale * metrics.horizontalAdvance(shown); }
};

// The pieces of a line of `items` on a surface `surface` wide. Where the
// line is wider, its yielding text (a listing row's name, `yielding`) gives
// way so that what follows it ends inside: first drawn narrower, down to
// four fifths, then cut short with "…" after whole characters; where even
// no name leaves room, what follows moves left of its zone to end at the
// edge.
QList<LinePiece> fitLine(const QStringList& items, const std::optional<PictureLines::Span>& yielding,
                         const QFontMetricsF& metrics, qreal zone, qreal surface);
