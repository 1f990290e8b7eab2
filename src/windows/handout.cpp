// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/handout.h"

#include "windows/pages.h"

#include <QDate>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace {

// Title, date and the name line above the body.
constexpr qreal HeadMillimetres = 24;
constexpr int Resolution = 300;

QFont pageFont(qreal points, bool bold = false) {
    QFont font = printFont();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void drawHead(QPainter& painter, const QRectF& body, const QString& title, const QString& date) {
    const QFont titleFont = pageFont(14, true);
    const QFont textFont = printFont();
    const QFontMetricsF titleMetrics(titleFont, painter.device());
    const QFontMetricsF textMetrics(textFont, painter.device());
    const qreal top = body.top() - HeadMillimetres / 25.4 * Resolution;
    painter.setPen(Qt::black);
    painter.setFont(textFont);
    const qreal dateBaseline = top + titleMetrics.ascent();
    painter.drawText(QPointF(body.right() - textMetrics.horizontalAdvance(date), dateBaseline), date);
    painter.setFont(titleFont);
    const QString shownTitle = titleMetrics.elidedText(
        title, Qt::ElideRight, body.width() - textMetrics.horizontalAdvance(date) - textMetrics.height());
    painter.drawText(QPointF(body.left(), dateBaseline), shownTitle);

    // Room for a name written by hand: half the width, ruled below.
    painter.setFont(textFont);
    const qreal nameBaseline = dateBaseline + titleMetrics.descent() + 2.2 * textMetrics.height();
    const QString label = QStringLiteral("氏名：");
    painter.drawText(QPointF(body.left(), nameBaseline), label);
    const qreal ruleY = nameBaseline + textMetrics.descent();
    painter.drawLine(QPointF(body.left() + textMetrics.horizontalAdvance(label), ruleY),
                     QPointF(body.left() + body.width() / 2, ruleY));
}

} // namespace

void Handout::addTable(const QList<Column>& columns, const QList<QStringList>& rows) {
    QString table = QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" style=\"border-collapse: "
        "collapse;\"><thead><tr>");
    for (const Column& column : columns)
        table += QStringLiteral("<th width=\"%1%\">%2</th>")
                     .arg(column.percent)
                     .arg(column.heading.toHtmlEscaped());
    table += QStringLiteral("</tr></thead>");
    for (const QStringList& row : rows) {
        table += QStringLiteral("<tr>");
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QString cell = i < row.size() ? row[i].toHtmlEscaped() : QString();
            table += QStringLiteral("<td%1>%2</td>")
                         .arg(columns[i].number ? QStringLiteral(" align=\"right\"") : QString(), cell);
        }
        table += QStringLiteral("</tr>");
    }
    html += table + QStringLiteral("</table>");
}

void Handout::addLine(const QString& text, bool bold) {
    const QString escaped = text.toHtmlEscaped();
    html += bold ? QStringLiteral("<p><b>%1</b></p>").arg(escaped) : QStringLiteral("<p>%1</p>").arg(escaped);
}

void Handout::addFigures(const QList<QStringList>& rows) {
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype i = 0; i < row.size(); ++i)
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(i == 1 ? QStringLiteral(" align=\"right\"") : QString(), row[i].toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
}

void Handout::addImage(const QString& imageName, const QImage& image) {
    images.append({imageName, image});
    // At the size it has on screen.
    const qreal scale = qreal(Resolution) / 96;
    html += QStringLiteral("<p><img src=\"%1\" width=\"%2\" height=\"%3\"></p>")
                .arg(imageName.toHtmlEscaped())
                .arg(qRound(image.width() * scale))
                .arg(qRound(image.height() * scale));
}

QString japaneseDate(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QString proposedPdfName(const QString& windowName, const QDate& date) {
    return QStringLiteral("%1_%2.pdf").arg(windowName, date.toString(Qt::ISODate));
}

QString handoutTitle(const Handout& handout, const QDate& date) {
    return QStringLiteral("%1 %2").arg(handout.title, japaneseDate(date));
}

int writeHandoutPdf(const Handout& handout, const QDate& date, QIODevice& device, WorkProgress* progress) {
    QPdfWriter writer(&device);
    writer.setTitle(handoutTitle(handout, date));
    writer.setCreator(QStringLiteral("ヨモリス"));
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    const PageFrame frame(writer, HeadMillimetres);

    QTextDocument document;
    setUpForPages(document, writer, frame);
    for (const auto& [name, image] : handout.images)
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    document.setHtml(handout.html);
    const int pages = std::max(1, document.pageCount());
    const QString shownDate = japaneseDate(date);
    paintPages(
        document, writer, frame, pages, QStringLiteral("ヨモリス"),
        [&](QPainter& painter) { drawHead(painter, frame.body, handout.title, shownDate); }, progress);
    return pages;
}
