// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/systemprinter.h"

#include "system/printservice.h"
#include "windows/pages.h"

#include <QBuffer>
#include <QPdfWriter>

namespace {

void writeDocumentPdf(const QString& text, const QString& title, const QPageSize& paper, QIODevice& device,
                      WorkProgress* progress) {
    QPdfWriter writer(&device);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("ヨモリス"));
    writer.setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
    layOutOnPages(text, title, writer, progress);
}

} // namespace

void SystemPrinter::printPages(const QString& title,
                               const std::function<void(QIODevice&, PrintService&)>& layOut,
                               WorkProgress& progress) {
    PrintService service(m_answerWithin, [&progress] { return progress.isCancelled(); });
    service.defaultPrinter();

    // In memory: a page file left on disk would outlive a program killed
    // while it prints.
    QBuffer pdf;
    pdf.open(QIODevice::ReadWrite);
    layOut(pdf, service);
    if (progress.isCancelled())
        return;
    pdf.seek(0);
    if (const QString notice = service.submit(pdf, title); !notice.isEmpty())
        progress.note(notice);
}

void SystemPrinter::print(const QString& text, const QString& title, WorkProgress& progress) {
    printPages(
        title,
        [&](QIODevice& pdf, PrintService& service) {
            writeDocumentPdf(text, title, service.defaultPaper(), pdf, &progress);
        },
        progress);
}

void SystemPrinter::printPdf(const QString& title, const std::function<void(QIODevice&)>& writePdf,
                             WorkProgress& progress) {
    printPages(
        title, [&](QIODevice& pdf, PrintService&) { writePdf(pdf); }, progress);
}

void SystemPrinter::writePdf(const QString& text, const QString& title, QIODevice& device) {
    writeDocumentPdf(text, title, QPageSize(QPageSize::A4), device, nullptr);
}
