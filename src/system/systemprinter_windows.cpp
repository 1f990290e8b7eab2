// SPDX-License-Identifier: GPL-3.0-or-later
// Printing on Windows: the pages painted on the default printer through the
// system's print support, which spools them as one job.
#include "system/systemprinter.h"

#include "common/programname.h"
#include "common/runtimeerror.h"
#include "print/pages.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <windows.h>

namespace {

// Passes the work's progress on and, once the user cancels, withdraws the
// job while its pages are still being painted, so nothing half reaches the
// printer.
class WithdrawingProgress : public WorkProgress {
public:
    WithdrawingProgress(WorkProgress& progress, QPrinter& printer)
        : m_progress(progress), m_printer(printer) {}
    void setTotal(qint64 total) override { m_progress.setTotal(total); }
    void setDone(qint64 done) override { m_progress.setDone(done); }
    bool isCancelled() const override {
        if (!m_progress.isCancelled())
            return false;
        if (m_printer.printerState() == QPrinter::Active)
            m_printer.abort();
        return true;
    }
    void note(const QString& message) override { m_progress.note(message); }

private:
    WorkProgress& m_progress;
    QPrinter& m_printer;
};

QString systemReason(DWORD code) {
    return code != 0 ? qt_error_string(int(code)) : QStringLiteral("プリンタが印刷を受け付けませんでした");
}

// Paints one job on the default printer: `paint` lays the pages out on it.
void printOnDefaultPrinter(const QString& title,
                           const std::function<void(QPagedPaintDevice&, WorkProgress&)>& paint,
                           WorkProgress& progress) {
    const QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (chosen.isNull())
        throw RuntimeError(ErrorKind::Printer, title, QStringLiteral("既定のプリンタがありません"));
    QPrinter printer(chosen, QPrinter::HighResolution);
    if (!printer.isValid())
        throw RuntimeError(ErrorKind::Printer, chosen.printerName(), systemReason(::GetLastError()));
    printer.setDocName(title);
    printer.setCreator(ProgramName.toString());
    printer.setResolution(PageResolution);
    printer.setFullPage(true);
    WithdrawingProgress watched(progress, printer);
    ::SetLastError(0);
    paint(printer, watched);
    if (printer.printerState() == QPrinter::Error)
        throw RuntimeError(ErrorKind::Printer, chosen.printerName(), systemReason(::GetLastError()));
}

} // namespace

void SystemPrinter::print(const QString& text, const QString& title, WorkProgress& progress) {
    printOnDefaultPrinter(
        title,
        [&](QPagedPaintDevice& printer, WorkProgress& watched) {
            layOutOnPages(text, title, printer, &watched);
        },
        progress);
}

void SystemPrinter::printPages(const QString& title,
                               const std::function<void(QPagedPaintDevice&, WorkProgress&)>& paint,
                               WorkProgress& progress) {
    printOnDefaultPrinter(title, paint, progress);
}
