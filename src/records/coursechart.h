// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A client's course over the visits: 体重 with the 標準体重 line, BMI with the
// bounds of its classes, and 腹囲, one panel each over a shared time axis.
// The same painting serves the window and the handout's page.

#include "records/record.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QList>
#include <QRectF>

#include <optional>

class QPainter;

// What one visit adds to the chart; a value not measured is none.
struct CoursePoint {
    QDate date;
    std::optional<double> weightKg;
    std::optional<double> standardWeightKg;
    std::optional<double> bmi;
    std::optional<double> waistCm;
};

// The visits as points, oldest first, BMI and 標準体重 computed from the
// measured height and weight.
QList<CoursePoint> courseOf(const QList<Visit>& visits);

// The colours and the font the chart is painted in.
struct ChartInk {
    QFont font;
    QColor text;
    QColor grid;
    QColor series;
    QColor reference;  // 標準体重 and the BMI bounds
    QColor background; // none: left as it is
};
// Black on white paper, in `font`.
ChartInk paperInk(const QFont& font);
// The screen's own text colour on its own base, with line colours that stand
// out on a light and on a dark scheme alike.
ChartInk screenInk(const QPalette& palette, const QFont& font);

// Paints the chart into `area`; with no visit, says so.
void paintCourse(QPainter& painter, const QRectF& area, const QList<CoursePoint>& points,
                 const ChartInk& ink);
