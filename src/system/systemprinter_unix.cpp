// SPDX-License-Identifier: GPL-3.0-or-later
// Printing on Debian: a PDF handed to CUPS.
#include "system/systemprinter.h"

#include "print/pages.h"
#include "system/cupsprintservice_unix.h"

#include <QBuffer>

namespace {

// Asks for the default printer, has `layOut` write the PDF into memory (it
// may ask the print service more, such as the paper), and sends it.
void printPdf(std::chrono::seconds answerWithin, const QString& title,
              const std::function<void(QIODevice&, CupsPrintService&)>& layOut, WorkProgress& progress) {
    CupsPrintService service(answerWithin, [&progress] { return progress.isCancelled(); });
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

} // namespace

void SystemPrinter::print(const QString& text, const QString& title, WorkProgress& progress) {
    printPdf(
        m_answerWithin, title,
        [&](QIODevice& pdf, CupsPrintService& service) {
            writeDocumentPdf(text, title, service.defaultPaper(), pdf, &progress);
        },
        progress);
}

void SystemPrinter::printPages(const QString& title,
                               const std::function<void(QPagedPaintDevice&, WorkProgress&)>& paint,
                               WorkProgress& progress) {
    printPdf(
        m_answerWithin, title,
        [&](QIODevice& pdf, CupsPrintService&) {
            writePagesPdf(title, pdf, [&](QPagedPaintDevice& pages) { paint(pages, progress); });
        },
        progress);
}
