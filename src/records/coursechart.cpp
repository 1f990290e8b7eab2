// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/coursechart.h"

#include "body/bodymeasure.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <functional>

QList<CoursePoint> courseOf(const QList<Visit>& visits) {
    QList<CoursePoint> points;
    for (const Visit& visit : visits) {
        CoursePoint point{visit.date, visit.weightKg, std::nullopt, std::nullopt, visit.waistCm};
        if (visit.heightCm && *visit.heightCm > 0) {
            point.standardWeightKg = standardWeight(*visit.heightCm);
            if (visit.weightKg)
                point.bmi = bodyMassIndex(*visit.heightCm, *visit.weightKg);
        }
        points.append(point);
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const CoursePoint& a, const CoursePoint& b) { return a.date < b.date; });
    return points;
}

ChartInk paperInk(const QFont& font) {
    return {font, Qt::black, QColor(0xb0, 0xb0, 0xb0), Qt::black, QColor(0x60, 0x60, 0x60), QColor()};
}

ChartInk screenInk(const QPalette& palette, const QFont& font) {
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    const bool dark = base.lightness() < 128;
    QColor grid = text;
    grid.setAlpha(60);
    return {font,
            text,
            grid,
            dark ? QColor(0x8c, 0xbf, 0xff) : QColor(0x1a, 0x4f, 0xa8),
            dark ? QColor(0xff, 0xb8, 0x6c) : QColor(0xb0, 0x40, 0x00),
            base};
}

namespace {

// One panel: a measurement, and the reference drawn with it.
struct Panel {
    QString title;
    std::function<std::optional<double>(const CoursePoint&)> value;
    // A second line through the visits (標準体重), or fixed bounds (BMI).
    std::function<std::optional<double>(const CoursePoint&)> reference;
    QString referenceName;
    QList<double> bounds;
    double leastSpan = 2;
};

// A step of 1, 2, 2.5 or 5 times a power of ten that parts `span` into
// about four.
double niceStep(double span) {
    const double rough = span / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 2.5, 5.0})
        if (m * power >= rough)
            return m * power;
    return 10 * power;
}

QString tickText(double value, double step) {
    const bool whole = std::abs(step - std::round(step)) < 1e-9;
    return QString::number(value, 'f', whole ? 0 : 1);
}

class CoursePainter {
public:
    CoursePainter(QPainter& painter, const QList<CoursePoint>& points, const ChartInk& ink)
        : m_painter(painter), m_points(points), m_ink(ink), m_metrics(ink.font, painter.device()),
          m_unit(painter.device()->logicalDpiY() / 96.0) {}

    void paint(const QRectF& area) {
        if (m_ink.background.isValid())
            m_painter.fillRect(area, m_ink.background);
        m_painter.setFont(m_ink.font);
        if (m_points.isEmpty()) {
            m_painter.setPen(m_ink.text);
            m_painter.drawText(area, Qt::AlignCenter, QStringLiteral("記録がありません"));
            return;
        }
        const QList<Panel> panels{
            {QStringLiteral("体重 kg"),
             [](const CoursePoint& p) { return p.weightKg; },
             [](const CoursePoint& p) { return p.standardWeightKg; },
             QStringLiteral("標準体重"),
             {},
             4},
            {QStringLiteral("BMI"),
             [](const CoursePoint& p) { return p.bmi; },
             {},
             {},
             {ThinBmiBelow, HeavyBmiAbove},
             2},
            {QStringLiteral("腹囲 cm"), [](const CoursePoint& p) { return p.waistCm; }, {}, {}, {}, 4},
        };
        const qreal line = m_metrics.height();
        const qreal left = area.left() + m_metrics.horizontalAdvance(QStringLiteral("000.0")) + 6 * m_unit;
        const qreal right = area.right() - m_metrics.horizontalAdvance(QStringLiteral("18.5")) - 6 * m_unit;
        const qreal datesHeight = line + 4 * m_unit;
        const qreal gap = line;
        const qreal each = (area.height() - datesHeight - gap * (panels.size() - 1)) / panels.size();
        qreal top = area.top();
        for (const Panel& panel : panels) {
            paintPanel(panel, QRectF(QPointF(left, top + line), QPointF(right, top + each)));
            top += each + gap;
        }
        paintDates(left, right, area.bottom() - datesHeight + 4 * m_unit);
    }

private:
    // Where a visit stands across the plot: by its date, a little inside the ends.
    qreal xOf(int index, qreal left, qreal right) const {
        const qreal inset = (right - left) * 0.05;
        const qint64 days = m_points.first().date.daysTo(m_points.last().date);
        if (days == 0)
            return (left + right) / 2;
        const qint64 at = m_points.first().date.daysTo(m_points[index].date);
        return left + inset + (right - left - 2 * inset) * double(at) / double(days);
    }

    void paintPanel(const Panel& panel, const QRectF& plot) {
        QList<double> values = panel.bounds;
        for (const CoursePoint& p : m_points) {
            if (const auto v = panel.value(p))
                values.append(*v);
            if (panel.reference)
                if (const auto r = panel.reference(p))
                    values.append(*r);
        }
        // The title, and the reference's name as a legend.
        m_painter.setPen(m_ink.series);
        m_painter.drawText(QPointF(plot.left(), plot.top() - m_metrics.descent() - m_unit), panel.title);
        if (!panel.referenceName.isEmpty()) {
            const qreal at = plot.left() + m_metrics.horizontalAdvance(panel.title) + 16 * m_unit;
            const qreal y = plot.top() - m_metrics.height() / 2;
            m_painter.setPen(referencePen());
            m_painter.drawLine(QPointF(at, y), QPointF(at + 20 * m_unit, y));
            m_painter.setPen(m_ink.reference);
            m_painter.drawText(QPointF(at + 24 * m_unit, plot.top() - m_metrics.descent() - m_unit),
                               panel.referenceName);
        }
        m_painter.setPen(QPen(m_ink.grid, m_unit));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(plot);
        if (values.isEmpty()) {
            m_painter.setPen(m_ink.text);
            m_painter.drawText(plot, Qt::AlignCenter, QStringLiteral("測っていません"));
            return;
        }
        double lo = *std::min_element(values.begin(), values.end());
        double hi = *std::max_element(values.begin(), values.end());
        if (hi - lo < panel.leastSpan) {
            const double middle = (hi + lo) / 2;
            lo = middle - panel.leastSpan / 2;
            hi = middle + panel.leastSpan / 2;
        }
        const double step = niceStep(hi - lo);
        lo = std::floor(lo / step) * step;
        hi = std::ceil(hi / step) * step;
        const auto yOf = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * plot.height(); };

        // The scale: grid lines and their figures at the left.
        for (double v = lo; v <= hi + step / 2; v += step) {
            const qreal y = yOf(v);
            m_painter.setPen(QPen(m_ink.grid, m_unit));
            m_painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            m_painter.setPen(m_ink.text);
            const QString text = tickText(v, step);
            m_painter.drawText(QPointF(plot.left() - 4 * m_unit - m_metrics.horizontalAdvance(text),
                                       y + m_metrics.ascent() / 2 - m_unit),
                               text);
        }
        for (const double bound : panel.bounds) {
            const qreal y = yOf(bound);
            m_painter.setPen(referencePen());
            m_painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            m_painter.setPen(m_ink.reference);
            m_painter.drawText(QPointF(plot.right() + 3 * m_unit, y + m_metrics.ascent() / 2 - m_unit),
                               QString::number(bound));
        }
        if (panel.reference)
            paintSeries(plot, panel.reference, yOf, referencePen(), false);
        paintSeries(plot, panel.value, yOf, QPen(m_ink.series, 2 * m_unit), true);
    }

    template <class YOf>
    void paintSeries(const QRectF& plot,
                     const std::function<std::optional<double>(const CoursePoint&)>& value, const YOf& yOf,
                     const QPen& pen, bool marked) {
        QList<QPointF> at;
        for (int i = 0; i < m_points.size(); ++i)
            if (const auto v = value(m_points[i]))
                at.append(QPointF(xOf(i, plot.left(), plot.right()), yOf(*v)));
        if (at.isEmpty())
            return;
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        if (at.size() == 1 && !marked)
            m_painter.drawLine(QPointF(plot.left(), at.first().y()), QPointF(plot.right(), at.first().y()));
        else
            m_painter.drawPolyline(at.constData(), int(at.size()));
        if (!marked)
            return;
        m_painter.setBrush(m_ink.series);
        for (const QPointF& p : at)
            m_painter.drawEllipse(p, 3 * m_unit, 3 * m_unit);
    }

    QPen referencePen() const { return QPen(m_ink.reference, 1.5 * m_unit, Qt::DashLine); }

    // Each visit's date under the plots, leaving out one that would run into
    // the one before.
    void paintDates(qreal left, qreal right, qreal top) {
        m_painter.setPen(m_ink.text);
        qreal clearFrom = -1e9;
        for (int i = 0; i < m_points.size(); ++i) {
            const QString text = m_points[i].date.toString(Qt::ISODate);
            const qreal width = m_metrics.horizontalAdvance(text);
            const qreal x = std::clamp(xOf(i, left, right) - width / 2, left - width / 2, right - width / 2);
            if (x < clearFrom)
                continue;
            m_painter.drawText(QPointF(x, top + m_metrics.ascent()), text);
            clearFrom = x + width + m_metrics.horizontalAdvance(QStringLiteral("　"));
        }
    }

    QPainter& m_painter;
    const QList<CoursePoint>& m_points;
    const ChartInk& m_ink;
    QFontMetricsF m_metrics;
    qreal m_unit;
};

} // namespace

void paintCourse(QPainter& painter, const QRectF& area, const QList<CoursePoint>& points,
                 const ChartInk& ink) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    CoursePainter(painter, points, ink).paint(area);
    painter.restore();
}
