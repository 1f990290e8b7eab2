// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/handout.h"

#include <QImage>
#include <QSizeF>

class QPainter;
class QPaintDevice;

// A picture as a page holds it, and the size it is drawn at.
struct PagePicture {
    QImage image;
    QSizeF size;
};
// At its screen size (96 dpi), or at least `leastMillimetres` high on a page
// of `dpi`, its aspect kept.
PagePicture pictureOnPage(const Handout::Picture& picture, int dpi);

// The height a scale takes on a page of `device`.
qreal scaleHeight(const QPaintDevice& device);
// Paints `scale` across `width`, its top at `topLeft`.
void paintScale(QPainter& painter, const QPointF& topLeft, qreal width, const Handout::Scale& scale);
