#include "system/systemprinter.h"

#include "common/runtimeerror.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QTextOption>

#include <cups/cups.h>

namespace {

// Margins on every side: what printers can reach, and room to hold the page.
constexpr qreal MarginMillimetres = 20;

} // namespace

QFont printFont() {
    QFont font(QStringLiteral("IPAMincho"));
    font.setPointSizeF(10.5);
    return font;
}

void layOutOnPages(const QString& text, QPagedPaintDevice& device) {
    QTextDocument document;
    document.setDefaultFont(printFont());
    QTextOption option;
    // Japanese has no spaces to break at, and neither has a long number.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.documentLayout()->setPaintDevice(&device);
    // Qt's small document margin stays: without it, the line that opens a
    // page also shows as a sliver at the foot of the page before.
    document.setPlainText(text);
    // Paginated to the device's printable area, so Qt prints it as laid out,
    // without page numbers of its own.
    const QPageLayout page = device.pageLayout();
    document.setPageSize(QSizeF(page.paintRectPixels(device.logicalDpiX()).size()));
    document.print(&device);
}

void SystemPrinter::print(const QString& text) {
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        throw RuntimeError(ErrorKind::Printer, {}, QStringLiteral("通常使うプリンタが設定されていません"));
    const QString name = target.printerName();

    QTemporaryFile pdf(QDir::temp().filePath(QStringLiteral("yomorisu-XXXXXX.pdf")));
    if (!pdf.open())
        throw RuntimeError(ErrorKind::Printer, name, pdf.errorString());
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf.fileName());
        printer.setDocName(QStringLiteral("ヨモリス"));
        const QPageSize paper = target.defaultPageSize();
        printer.setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
        printer.setPageMargins(
            QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
            QPageLayout::Millimeter);
        layOutOnPages(text, printer);
        if (printer.printerState() == QPrinter::Error)
            throw RuntimeError(ErrorKind::Printer, name, QStringLiteral("印刷データを作れませんでした"));
    }
    // Qt's own CUPS path drops the print system's answer; asked here, a
    // refused job is the printer error. The destination's options (the
    // user's defaults for it, as lpoptions keeps them) go with the job, as lp
    // does; "queue/instance" names an instance of a queue.
    const QByteArray queue = name.section(u'/', 0, 0).toLocal8Bit();
    const QByteArray instance = name.section(u'/', 1).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    const int job = cupsPrintFile(queue.constData(), QFile::encodeName(pdf.fileName()).constData(),
                                  "ヨモリス", dest ? dest->num_options : 0, dest ? dest->options : nullptr);
    if (dest)
        cupsFreeDests(1, dest);
    if (job == 0)
        throw RuntimeError(ErrorKind::Printer, name, QString::fromUtf8(cupsLastErrorString()));
}
