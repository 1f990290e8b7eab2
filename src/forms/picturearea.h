// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/picturelines.h"
#include "forms/linefitting.h"

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

    PictureLines& lines() { return m_lines; }
    const PictureLines& lines() const { return m_lines; }

    // Height of one printed line: the font's em in pixels. It does not depend
    // on the ascent and descent of whichever face stands in for the designed
    // one, so every listing panel holds the same number of whole lines.
    int lineHeight() const;
    // Width of one print zone: 14 average character widths of the font,
    // unrounded, so that fourteen columns do not grow by up to 14 pixels.
    qreal zoneWidth() const;
    // Whole lines that fit inside the border.
    int visibleLineCount() const;
    // Where each item of a printed line starts on the printing surface
    // (zonePositions()).
    QList<int> itemPositions(const QStringList& items) const;

    // Line `index` as it is drawn, fitted to the printing surface
    // (fitLine()).
    using Piece = LinePiece;
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

    PictureLines m_lines;
    QString m_announcedText;
    bool m_announcementPending = false;
};
