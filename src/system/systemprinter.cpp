// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/systemprinter.h"

#include "common/runtimeerror.h"
#include "system/printservice.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

namespace {

// Margins on every side: what printers can reach, and room to hold the page.
constexpr qreal MarginMillimetres = 20;
// The footer's baseline, up from the paper's edge: inside the bottom margin.
constexpr qreal FooterMillimetres = 12;

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
    QFont font(QStringLiteral("IPAMincho"));
    font.setPointSizeF(10.5);
    return font;
}

int layOutOnPages(const QString& text, const QString& name, QPdfWriter& writer, WorkProgress* progress) {
    // The margins are the layout's own, so the footer can go in one.
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const int dpi = writer.resolution();
    const QRectF paper(QPointF(0, 0), writer.pageLayout().fullRectPixels(dpi).size());
    const qreal margin = pixels(MarginMillimetres, dpi);
    const QRectF body = paper.adjusted(margin, margin, -margin, -margin);

    QTextDocument document;
    document.setDefaultFont(printFont());
    QTextOption option;
    // Japanese has no spaces to break at, and neither has a long number.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.documentLayout()->setPaintDevice(&writer);
    // Qt's small document margin stays: without it, the line that opens a
    // page also shows as a sliver at the foot of the page before.
    document.setPlainText(text);
    document.setPageSize(body.size());
    // The line end printed after the text, and blank lines before it, would
    // otherwise open a page of their own.
    const int pages = std::min(document.pageCount(), lastPageWithText(document, body.height()) + 1);
    if (progress)
        progress->setTotal(pages);

    QFont footerFont = printFont();
    footerFont.setPointSizeF(9);
    QPainter painter(&writer);
    const QFontMetricsF footerMetrics(footerFont, &writer);
    const qreal footerBaseline = paper.height() - pixels(FooterMillimetres, dpi);
    for (int page = 0; page < pages; ++page) {
        if (progress && progress->isCancelled())
            break;
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(body.left(), body.top() - page * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * body.height(), body.width(), body.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QString number = QStringLiteral("%1 / %2").arg(page + 1).arg(pages);
        const qreal numberWidth = footerMetrics.horizontalAdvance(number);
        const QString shownName = footerMetrics.elidedText(
            name, Qt::ElideMiddle, body.width() - numberWidth - footerMetrics.height());
        painter.drawText(QPointF(body.left(), footerBaseline), shownName);
        painter.drawText(QPointF(body.right() - numberWidth, footerBaseline), number);
        if (progress)
            progress->setDone(page + 1);
    }
    return pages;
}

void SystemPrinter::print(const QString& text, const QString& title, WorkProgress& progress) {
    PrintService service(m_answerWithin, [&progress] { return progress.isCancelled(); });
    const QString name = service.defaultPrinter();
    const QPageSize paper = service.defaultPaper();

    // In memory: a page file left on disk would outlive a program killed
    // while it prints.
    QBuffer pdf;
    pdf.open(QIODevice::ReadWrite);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ヨモリス"));
        writer.setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
        layOutOnPages(text, title, writer, &progress);
    }
    if (progress.isCancelled())
        return;
    pdf.seek(0);
    if (const QString notice = service.submit(pdf, title); !notice.isEmpty())
        progress.note(notice);
}

void SystemPrinter::writePdf(const QString& text, const QString& title, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("ヨモリス"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    layOutOnPages(text, title, writer);
}
