// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/picturearea.h"

#include "forms/fonts.h"
#include "forms/linefitting.h"
#include "forms/pictureaccessible.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

PictureArea::PictureArea(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_lines, &PictureLines::changed, this, [this] {
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
    return zonePositions(items, QFontMetricsF(font()), zoneWidth());
}

QList<PictureArea::Piece> PictureArea::drawnLine(int index) const {
    return fitLine(m_lines.lines().at(index), m_lines.yieldingSpan(index), QFontMetricsF(font()), zoneWidth(),
                   contentsRect().width());
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
