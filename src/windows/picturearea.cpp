#include "windows/picturearea.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

PictureArea::PictureArea(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_lines, &PrintedLines::changed, this, qOverload<>(&QWidget::update));
}

int PictureArea::lineHeight() const {
    const int pixels = font().pixelSize();
    return pixels > 0 ? pixels : QFontInfo(font()).pixelSize();
}

int PictureArea::zoneWidth() const {
    return 14 * QFontMetrics(font()).averageCharWidth();
}

int PictureArea::visibleLineCount() const {
    return height() / lineHeight();
}

void PictureArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    const int zone = zoneWidth();
    const int step = lineHeight();
    int y = 0;
    for (const QStringList& line : m_lines.lines()) {
        if (y >= height())
            break;
        int x = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (i > 0)
                x = (x / zone + 1) * zone; // the first zone start beyond the print position
            painter.drawText(x, y + metrics.ascent(), line[i]);
            x += metrics.horizontalAdvance(line[i]);
        }
        y += step;
    }
}
