// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pages.h"

#include "common/programname.h"
#include "forms/fonts.h"
#include "print/printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

namespace {

constexpr qreal MarginMillimetres = 20;
// The foot's baseline, up from the paper's edge: inside the bottom margin.
constexpr qreal FootMillimetres = 12;

qreal pixels(qreal millimetres, int dpi) {
    return millimetres / 25.4 * dpi;
}

// The page holding the last line that shows any text; 0 when none does.
int lastPageWithText(const QTextDocument& document, qreal pageHeight) {
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        if (block.text().trimmed().isEmpty())
            continue;
        const QTextLayout* layout = block.layout();
        const QRectF box = document.documentLayout()->blockBoundingRect(block);
        const qreal lastLineTop =
            box.top() + (layout->lineCount() > 0 ? layout->lineAt(layout->lineCount() - 1).y() : 0);
        return int(lastLineTop / pageHeight);
    }
    return 0;
}

} // namespace

QFont printFont() {
    QFont font;
    font.setFamilies(standInFaces(QStringLiteral("ＭＳ 明朝")));
    font.setPointSizeF(10.5);
    return font;
}

QFont printFont(qreal points, bool bold) {
    QFont font = printFont();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

PageFrame::PageFrame(QPagedPaintDevice& device, qreal headMillimetres) {
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const int dpi = device.logicalDpiY();
    paper = QRectF(QPointF(0, 0), device.pageLayout().fullRectPixels(dpi).size());
    const qreal margin = pixels(MarginMillimetres, dpi);
    body = paper.adjusted(margin, margin + pixels(headMillimetres, dpi), -margin, -margin);
    m_footBaseline = paper.height() - pixels(FootMillimetres, dpi);
}

void PageFrame::drawFoot(QPainter& painter, const QString& name, int page, int pages) const {
    const QFont font = printFont(9);
    const QFontMetricsF metrics(font, painter.device());
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QString number = QStringLiteral("%1 / %2").arg(page).arg(pages);
    const qreal numberWidth = metrics.horizontalAdvance(number);
    const QString shownName =
        metrics.elidedText(name, Qt::ElideMiddle, body.width() - numberWidth - metrics.height());
    painter.drawText(QPointF(body.left(), m_footBaseline), shownName);
    painter.drawText(QPointF(body.right() - numberWidth, m_footBaseline), number);
}

void setUpForPages(QTextDocument& document, QPagedPaintDevice& device, const PageFrame& frame) {
    document.setDefaultFont(printFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(frame.body.size());
}

void paintPages(QTextDocument& document, QPagedPaintDevice& device, const PageFrame& frame, int pages,
                const QString& footName, const std::function<void(QPainter&)>& drawHead,
                WorkProgress* progress) {
    if (progress)
        progress->setTotal(pages);
    const QRectF& body = frame.body;
    QPainter painter(&device);
    for (int page = 0; page < pages; ++page) {
        if (progress && progress->isCancelled())
            break;
        if (page > 0)
            device.newPage();
        if (drawHead)
            drawHead(painter);
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * body.height(), body.width(), body.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        frame.drawFoot(painter, footName, page + 1, pages);
        if (progress)
            progress->setDone(page + 1);
    }
}

int layOutOnPages(const QString& text, const QString& name, QPagedPaintDevice& device,
                  WorkProgress* progress) {
    const PageFrame frame(device);
    QTextDocument document;
    setUpForPages(document, device, frame);
    // Qt's small document margin stays: without it, the line that opens a
    // page also shows as a sliver at the foot of the page before.
    document.setPlainText(text);
    // The line end printed after the text, and blank lines before it, would
    // otherwise open a page of their own.
    const int pages = std::min(document.pageCount(), lastPageWithText(document, frame.body.height()) + 1);
    paintPages(document, device, frame, pages, name, {}, progress);
    return pages;
}

void writePagesPdf(const QString& title, QIODevice& device,
                   const std::function<void(QPagedPaintDevice&)>& paint) {
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(ProgramName.toString());
    writer.setResolution(PageResolution);
    paint(writer);
}

void writeDocumentPdf(const QString& text, const QString& name, const QPageSize& paper, QIODevice& device,
                      WorkProgress* progress) {
    writePagesPdf(name, device, [&](QPagedPaintDevice& pages) {
        pages.setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
        layOutOnPages(text, name, pages, progress);
    });
}
