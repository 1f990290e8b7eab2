// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/picturearea.h"

#include "windows/fonts.h"
#include "windows/pictureaccessible.h"

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
        const QStringList& line = m_lines.lines().at(row);
        const QList<int> positions = itemPositions(line);
        for (qsizetype i = 0; i < line.size(); ++i)
            painter.drawText(surface.left() + positions[i], surface.top() + row * step + ascent, line[i]);
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
