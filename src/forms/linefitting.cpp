// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/linefitting.h"

#include "common/characters.h"

#include <algorithm>
#include <cmath>

namespace {

// Narrower than this a name no longer reads as its face.
constexpr qreal NarrowestName = 0.8;
// Halvings of the name's width: far below a pixel.
constexpr int Bisections = 24;

const QString ellipsis(QChar(0x2026));

// The first zone start right of x. Zones start on whole pixels: a zone a
// little over whole pixels starts on the pixel before its exact start, and
// an item there is in that zone, not in the one before.
qreal nextZoneStart(qreal x, qreal zone) {
    qreal k = std::floor(x / zone) + 1;
    if (std::lround(k * zone) <= x)
        ++k;
    return qreal(std::lround(k * zone));
}

// The longest start of text, whole characters only, no wider than width.
qsizetype fittingStart(const QFontMetricsF& metrics, const QString& text, qreal width) {
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype next = end + characterLength(text, end);
        if (metrics.horizontalAdvance(text.left(next)) > width)
            break;
        end = next;
    }
    return end;
}

QString withoutTrailingSpaces(QString text) {
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// What follows the yielding name on its line: the rest of the name's item
// and the items after it, each at the zone after the one before.
struct After {
    const QStringList& items;
    qsizetype item;      // the name's
    const QString& tail; // of the name's item, after the name
    const QFontMetricsF& metrics;
    qreal zone;

    // Where each part stands when the name ends at `nameEnd`: the tail
    // first, then each later item.
    QList<qreal> starts(qreal nameEnd) const {
        QList<qreal> at{nameEnd};
        qreal x = nameEnd + metrics.horizontalAdvance(tail);
        for (qsizetype i = item + 1; i < items.size(); ++i) {
            x = nextZoneStart(x, zone);
            at.append(x);
            x += metrics.horizontalAdvance(items[i]);
        }
        return at;
    }

    // Where the last of it ends (a trailing space shows nothing).
    qreal end(qreal nameEnd) const {
        const QList<qreal> at = starts(nameEnd);
        const QString& last = at.size() > 1 ? items.last() : tail;
        return at.last() + metrics.horizontalAdvance(withoutTrailingSpaces(last));
    }
};

} // namespace

QList<int> zonePositions(const QStringList& items, const QFontMetricsF& metrics, qreal zone) {
    QList<int> positions;
    positions.reserve(items.size());
    qreal end = 0;
    for (const QString& item : items) {
        const int x = positions.isEmpty() ? 0 : int(nextZoneStart(end, zone));
        positions.append(x);
        end = x + metrics.horizontalAdvance(item);
    }
    return positions;
}

QList<LinePiece> fitLine(const QStringList& items, const std::optional<PictureLines::Span>& yielding,
                         const QFontMetricsF& metrics, qreal zone, qreal surface) {
    const QList<int> positions = zonePositions(items, metrics, zone);
    QList<qsizetype> starts; // of each item in the line's text
    qsizetype start = 0;
    for (const QString& item : items) {
        starts.append(start);
        start += item.size() + 1;
    }
    QList<LinePiece> pieces;
    auto addItems = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            pieces.append({starts[i], items[i].size(), items[i], qreal(positions[i])});
    };
    if (!yielding) {
        addItems(0, items.size());
        return pieces;
    }

    const PictureLines::Span& span = *yielding;
    const QString& item = items[span.item];
    const QString head = item.left(span.start);
    const QString name = item.mid(span.start, span.length);
    const QString tail = item.mid(span.start + span.length);
    const qreal nameX = positions[span.item] + metrics.horizontalAdvance(head);
    const After after{items, span.item, tail, metrics, zone};

    const qreal natural = metrics.horizontalAdvance(name);
    qreal width = natural;
    // How far what follows the name stands left of its print zone: where
    // even the zone after the name's own leaves no room for the last item,
    // that item ends at the right edge instead, and the name gives way to it.
    qreal shift = 0;
    if (const QList<qreal> at = after.starts(nameX); after.end(nameX) > surface && at.size() > 1) {
        shift = after.end(nameX) - surface;
        width = std::clamp(at[1] - shift - nameX - metrics.horizontalAdvance(tail), 0.0, natural);
    } else if (after.end(nameX + natural) > surface) {
        // The widest name that lets the rest end inside; the end only grows
        // with the name's width, a step at each print zone.
        qreal fits = 0;
        qreal tooWide = natural;
        for (int step = 0; step < Bisections; ++step) {
            const qreal mid = (fits + tooWide) / 2;
            (after.end(nameX + mid) > surface ? tooWide : fits) = mid;
        }
        width = fits;
    }

    addItems(0, span.item);
    const qsizetype nameStart = starts[span.item] + span.start;
    if (!head.isEmpty())
        pieces.append({starts[span.item], head.size(), head, qreal(positions[span.item])});
    qreal drawn = width;
    if (width >= natural) {
        drawn = natural;
        pieces.append({nameStart, name.size(), name, nameX});
    } else if (width >= NarrowestName * natural) {
        pieces.append({nameStart, name.size(), name, nameX, width / natural});
    } else {
        const qreal room = width / NarrowestName - metrics.horizontalAdvance(ellipsis);
        const qsizetype kept = room > 0 ? fittingStart(metrics, name, room) : 0;
        const QString shown = name.left(kept);
        const qreal keptWidth = NarrowestName * metrics.horizontalAdvance(shown);
        if (kept > 0)
            pieces.append({nameStart, kept, shown, nameX, NarrowestName});
        pieces.append(
            {nameStart + kept, name.size() - kept, ellipsis, nameX + keptWidth, NarrowestName, true});
        drawn = keptWidth + NarrowestName * metrics.horizontalAdvance(ellipsis);
    }
    const QList<qreal> at = after.starts(nameX + drawn);
    if (!tail.isEmpty())
        pieces.append({nameStart + name.size(), tail.size(), tail, at[0]});
    for (qsizetype i = span.item + 1; i < items.size(); ++i)
        pieces.append({starts[i], items[i].size(), items[i], at[i - span.item] - shift});
    return pieces;
}
