#pragma once

#include "common/printedlines.h"

#include <QWidget>

// A picture area: draws its printed lines in its font, one line height apart,
// cut off at its edges. It never scrolls or wraps, and it always repaints from
// its model, so what was printed survives being covered by another window.
class PictureArea : public QWidget {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent = nullptr);

    PrintedLines& lines() { return m_lines; }
    const PrintedLines& lines() const { return m_lines; }

    // Height of one printed line: the font's size in pixels, so a panel's
    // height holds a fixed number of whole lines.
    int lineHeight() const;
    // Width of one print zone: 14 average character widths of the font.
    int zoneWidth() const;
    // Whole lines that fit the area's height.
    int visibleLineCount() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PrintedLines m_lines;
};
