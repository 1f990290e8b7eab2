// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/printedlines.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QList>

// A picture area: draws its printed lines in its font, one line height apart,
// inside a sunken border and cut off at it, where a line's yielding text
// gives way first. It never scrolls or wraps, and it
// always repaints from its model, so what was printed survives being covered
// by another window. Assistive technology reads it as read-only text (see
// pictureaccessible.h) and is told whenever that text changes.
class PictureArea : public QFrame {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);

    PrintedLines& lines() { return m_lines; }
    const PrintedLines& lines() const { return m_lines; }

    // Height of one printed line: the font's em in pixels. It does not depend
    // on the ascent and descent of whichever face stands in for the designed
    // one, so every listing panel holds the same number of whole lines.
    int lineHeight() const;
    // Width of one print zone: 14 average character widths of the font,
    // unrounded, so that fourteen columns do not grow by up to 14 pixels.
    qreal zoneWidth() const;
    // Whole lines that fit inside the border.
    int visibleLineCount() const;
    // Where each item of a printed line starts, from the left edge of the
    // printing surface: every item after the first at the first zone start
    // beyond the end of the item before it, put on the nearest whole pixel.
    QList<int> itemPositions(const QStringList& items) const;

    // One piece of a printed line as it is drawn: characters start to
    // start + length of the line's text (items joined by tabs, as assistive
    // technology reads it), drawn as `shown` from x on the printing surface,
    // squeezed to `scale` of its natural width. A piece that stands for the
    // characters cut from a yielding text shows "…" in their place.
    struct Piece {
        qsizetype start = 0;
        qsizetype length = 0;
        QString shown;
        qreal x = 0;
        qreal scale = 1;
        bool cut = false;

        qreal width(const QFontMetricsF& metrics) const { return scale * metrics.horizontalAdvance(shown); }
    };
    // Line `index` as it is drawn. Where the line is wider than the surface,
    // its yielding text (a listing row's name) gives way so that what follows
    // it ends inside: first drawn narrower, down to four fifths, then cut
    // short with "…".
    QList<Piece> drawnLine(int index) const;

signals:
    // What assistive technology was just told: the printed text changed at
    // position, `removed` giving way to `inserted`. Sent once after a burst
    // of printing, when control returns to the event loop.
    void printedTextChanged(int position, const QString& removed, const QString& inserted);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void scheduleAnnouncement();
    void announce();

    PrintedLines m_lines;
    QString m_announcedText;
    bool m_announcementPending = false;
};
