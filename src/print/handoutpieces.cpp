// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/handoutpieces.h"

#include "print/pages.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

qreal onPage(qreal millimetres, const QPaintDevice& device) {
    return millimetres / 25.4 * device.logicalDpiY();
}

// The value's label over the pointer, the band names in the bar, the bounds
// under it.
QFont labelFont() {
    return printFont(12, true);
}
QFont bandFont(bool marked) {
    return printFont(12, marked);
}
QFont boundFont() {
    return printFont();
}

constexpr qreal LabelGapMm = 1;
constexpr qreal PointerMm = 3.5;
constexpr qreal BarMm = 12;
constexpr qreal TickMm = 2;

// Light enough for black text, apart in grey on a black-and-white printer.
const QColor BandColours[] = {QColor(0xd5, 0xe5, 0xf5), QColor(0xf4, 0xf4, 0xf4), QColor(0xf2, 0xc8, 0xbc)};

} // namespace

PagePicture pictureOnPage(const Handout::Picture& picture, int dpi) {
    const QImage& image = picture.image;
    if (image.isNull())
        return {image, QSizeF()};
    const qreal height = std::max(image.height() * dpi / 96.0, picture.leastMillimetres / 25.4 * dpi);
    const QSizeF size(height * image.width() / image.height(), height);
    // Grown by whole pixels to about the page's own, so that what shows or
    // prints it does not smooth a line drawing's edges into grey.
    const int times = std::max(1, int(std::lround(height / image.height())));
    if (times == 1)
        return {image, size};
    return {image.scaled(image.size() * times, Qt::IgnoreAspectRatio, Qt::FastTransformation), size};
}

qreal scaleHeight(const QPaintDevice& device) {
    return QFontMetricsF(labelFont(), &device).height() +
           onPage(LabelGapMm + PointerMm + BarMm + TickMm + LabelGapMm, device) +
           QFontMetricsF(boundFont(), &device).height();
}

void paintScale(QPainter& painter, const QPointF& topLeft, qreal width, const Handout::Scale& scale) {
    const QPaintDevice& device = *painter.device();
    const qreal left = topLeft.x();
    const auto xOf = [&](double value) {
        const double along = (std::clamp(value, scale.from, scale.to) - scale.from) / (scale.to - scale.from);
        return left + along * width;
    };
    const qreal thin = onPage(0.25, device);
    painter.save();

    // The value's label, over its pointer but kept within the width.
    const QFontMetricsF labelMetrics(labelFont(), &device);
    const qreal markX = xOf(scale.value);
    const qreal labelWidth = labelMetrics.horizontalAdvance(scale.valueLabel);
    const qreal labelLeft = std::clamp(markX - labelWidth / 2, left, left + width - labelWidth);
    qreal y = topLeft.y();
    painter.setPen(Qt::black);
    painter.setFont(labelFont());
    painter.drawText(QPointF(labelLeft, y + labelMetrics.ascent()), scale.valueLabel);
    y += labelMetrics.height() + onPage(LabelGapMm, device);
    const qreal pointer = onPage(PointerMm, device);
    const QPolygonF arrow{{markX - pointer * 0.6, y}, {markX + pointer * 0.6, y}, {markX, y + pointer}};
    y += pointer;

    // The bands, each named in its middle, the marked one in bold; the
    // value's line runs under the names so that they stay whole.
    const QRectF bar(left, y, width, onPage(BarMm, device));
    QList<double> edges{scale.from};
    edges += scale.bounds;
    edges.append(scale.to);
    const auto colour = [](qsizetype band) { return BandColours[size_t(band) % std::size(BandColours)]; };
    for (qsizetype band = 0; band + 1 < edges.size(); ++band)
        painter.fillRect(
            QRectF(QPointF(xOf(edges[band]), bar.top()), QPointF(xOf(edges[band + 1]), bar.bottom())),
            colour(band));
    painter.setPen(QPen(Qt::black, 3 * thin));
    painter.drawLine(QPointF(markX, bar.top()), QPointF(markX, bar.bottom()));
    const int markedBand = int(std::count_if(scale.bounds.begin(), scale.bounds.end(),
                                             [&](double bound) { return bound < scale.value; }));
    for (qsizetype band = 0; band + 1 < edges.size(); ++band) {
        const QRectF area(QPointF(xOf(edges[band]), bar.top()), QPointF(xOf(edges[band + 1]), bar.bottom()));
        const QFont font = bandFont(band == markedBand);
        const QString name = scale.bands.value(band);
        const QRectF named = QFontMetricsF(font, &device).boundingRect(area, Qt::AlignCenter, name);
        painter.fillRect(named.adjusted(-2 * thin, 0, 2 * thin, 0), colour(band));
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, name);
    }
    painter.setPen(QPen(Qt::black, thin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);

    // The bounds: a line through the bar, a tick and the figure under it.
    const QFontMetricsF boundMetrics(boundFont(), &device);
    const qreal tick = onPage(TickMm, device);
    painter.setFont(boundFont());
    for (double bound : scale.bounds) {
        const qreal x = xOf(bound);
        painter.drawLine(QPointF(x, bar.top()), QPointF(x, bar.bottom() + tick));
        const QString figure = QString::number(bound);
        painter.drawText(QPointF(x - boundMetrics.horizontalAdvance(figure) / 2,
                                 bar.bottom() + tick + onPage(LabelGapMm, device) + boundMetrics.ascent()),
                         figure);
    }

    // The pointer down to the bar.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    painter.restore();
}
