// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/picturearea.h"

#include "forms/fonts.h"
#include "forms/pictureaccessible.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

PictureArea::PictureArea(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_lines, &PrintedLines::changed, this, [this] {
        update();
        scheduleAnnouncement();
    });
}

int PictureArea::lineHeight() const {
    const int pixels = font().pixelSize();
    return std::max(1, pixels > 0 ? pixels : QFontInfo(font()).pixelSize());
}

qreal PictureArea::zoneWidth() const {
    return std::max(1.0, 14 * QFontMetricsF(metricsFace(font())).averageCharWidth());
}

int PictureArea::visibleLineCount() const {
    return contentsRect().height() / lineHeight();
}

QList<int> PictureArea::itemPositions(const QStringList& items) const {
    const QFontMetricsF metrics(font());
    const qreal zone = zoneWidth();
    QList<int> positions;
    positions.reserve(items.size());
    qreal end = 0;
    for (const QString& item : items) {
        int x = 0;
        if (!positions.isEmpty())
            x = int(std::lround((std::floor(end / zone) + 1) * zone));
        positions.append(x);
        end = x + metrics.horizontalAdvance(item);
    }
    return positions;
}

namespace {

// Narrower than this a name no longer reads as its face.
constexpr qreal narrowestName = 0.8;

const QString ellipsis(QChar(0x2026));

// The longest start of text, whole characters only, no wider than width.
qsizetype fittingStart(const QFontMetricsF& metrics, const QString& text, qreal width) {
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype next = end + (text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                                              text.at(end + 1).isLowSurrogate()
                                          ? 2
                                          : 1);
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

} // namespace

QList<PictureArea::Piece> PictureArea::drawnLine(int index) const {
    const QStringList& items = m_lines.lines().at(index);
    const QList<int> positions = itemPositions(items);
    QList<qsizetype> starts; // of each item in the line's text
    qsizetype start = 0;
    for (const QString& item : items) {
        starts.append(start);
        start += item.size() + 1;
    }
    QList<Piece> pieces;
    auto addItems = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            pieces.append({starts[i], items[i].size(), items[i], qreal(positions[i])});
    };
    const std::optional<PrintedLines::Span> span = m_lines.yieldingSpan(index);
    if (!span) {
        addItems(0, items.size());
        return pieces;
    }

    const QFontMetricsF metrics(font());
    const qreal surface = contentsRect().width();
    const qreal zone = zoneWidth();
    const QString& item = items[span->item];
    const QString head = item.left(span->start);
    const QString name = item.mid(span->start, span->length);
    const QString tail = item.mid(span->start + span->length);
    const qreal nameX = positions[span->item] + metrics.horizontalAdvance(head);
    // Where everything after the name stands when the name is `width` wide,
    // and where the last of it ends (a trailing space shows nothing).
    auto after = [&](qreal width, QList<qreal>* at) {
        qreal x = nameX + width;
        if (at)
            at->append(x);
        qreal end =
            x + metrics.horizontalAdvance(span->item + 1 < items.size() ? tail : withoutTrailingSpaces(tail));
        x += metrics.horizontalAdvance(tail);
        for (qsizetype i = span->item + 1; i < items.size(); ++i) {
            x = qreal(std::lround((std::floor(x / zone) + 1) * zone));
            if (at)
                at->append(x);
            end = x + metrics.horizontalAdvance(withoutTrailingSpaces(items[i]));
            x += metrics.horizontalAdvance(items[i]);
        }
        return end;
    };

    const qreal natural = metrics.horizontalAdvance(name);
    qreal width = natural;
    // How far what follows the name stands left of its print zone: where
    // even the zone after the name's own leaves no room for the last item,
    // that item ends at the right edge instead, and the name gives way to it.
    qreal shift = 0;
    if (QList<qreal> at; after(0, &at) > surface && at.size() > 1) {
        shift = after(0, nullptr) - surface;
        width = std::clamp(at[1] - shift - nameX - metrics.horizontalAdvance(tail), 0.0, natural);
    } else if (after(natural, nullptr) > surface) {
        // The widest name that lets the rest end inside; the end only grows
        // with the name's width, a step at each print zone.
        qreal fits = 0;
        qreal tooWide = natural;
        for (int step = 0; step < 24; ++step) {
            const qreal mid = (fits + tooWide) / 2;
            (after(mid, nullptr) > surface ? tooWide : fits) = mid;
        }
        width = fits;
    }

    addItems(0, span->item);
    const qsizetype nameStart = starts[span->item] + span->start;
    if (!head.isEmpty())
        pieces.append({starts[span->item], head.size(), head, qreal(positions[span->item])});
    qreal drawn = width;
    if (width >= natural) {
        drawn = natural;
        pieces.append({nameStart, name.size(), name, nameX});
    } else if (width >= narrowestName * natural) {
        pieces.append({nameStart, name.size(), name, nameX, width / natural});
    } else {
        const qreal room = width / narrowestName - metrics.horizontalAdvance(ellipsis);
        const qsizetype kept = room > 0 ? fittingStart(metrics, name, room) : 0;
        const QString shown = name.left(kept);
        const qreal keptWidth = narrowestName * metrics.horizontalAdvance(shown);
        if (kept > 0)
            pieces.append({nameStart, kept, shown, nameX, narrowestName});
        pieces.append(
            {nameStart + kept, name.size() - kept, ellipsis, nameX + keptWidth, narrowestName, true});
        drawn = keptWidth + narrowestName * metrics.horizontalAdvance(ellipsis);
    }
    QList<qreal> at;
    after(drawn, &at);
    if (!tail.isEmpty())
        pieces.append({nameStart + name.size(), tail.size(), tail, at[0]});
    for (qsizetype i = span->item + 1; i < items.size(); ++i)
        pieces.append({starts[i], items[i].size(), items[i], at[i - span->item] - shift});
    return pieces;
}

void PictureArea::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the border
    const QRect surface = contentsRect();
    QPainter painter(this);
    painter.setClipRect(surface);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    const int ascent = QFontMetrics(metricsFace(font())).ascent();
    const int step = lineHeight();
    // Whole lines only: a line that would not fit is not begun.
    const int shown = std::min(m_lines.lineCount(), visibleLineCount());
    for (int row = 0; row < shown; ++row) {
        const qreal baseline = surface.top() + row * step + ascent;
        for (const Piece& piece : drawnLine(row)) {
            if (piece.scale == 1) {
                painter.drawText(QPointF(surface.left() + piece.x, baseline), piece.shown);
                continue;
            }
            painter.save();
            painter.translate(surface.left() + piece.x, baseline);
            painter.scale(piece.scale, 1);
            painter.drawText(QPointF(0, 0), piece.shown);
            painter.restore();
        }
    }
}

void PictureArea::scheduleAnnouncement() {
    if (m_announcementPending)
        return;
    m_announcementPending = true;
    // A listing prints hundreds of items in one click; a screen reader wants
    // to hear about the result once, not about every item.
    QMetaObject::invokeMethod(this, &PictureArea::announce, Qt::QueuedConnection);
}

void PictureArea::announce() {
    m_announcementPending = false;
    const QString now = accessibleText(m_lines.text());
    if (now == m_announcedText)
        return;
    // Report only what changed: usually lines added at the end.
    const qsizetype limit = std::min(now.size(), m_announcedText.size());
    qsizetype head = 0;
    while (head < limit && now[head] == m_announcedText[head])
        ++head;
    qsizetype tail = 0;
    while (tail < limit - head &&
           now[now.size() - 1 - tail] == m_announcedText[m_announcedText.size() - 1 - tail])
        ++tail;
    const QString removed = m_announcedText.mid(head, m_announcedText.size() - head - tail);
    const QString inserted = now.mid(head, now.size() - head - tail);
    m_announcedText = now;
    emit printedTextChanged(int(head), removed, inserted);
    QAccessibleTextUpdateEvent update(this, int(head), removed, inserted);
    QAccessible::updateAccessibility(&update);
}
