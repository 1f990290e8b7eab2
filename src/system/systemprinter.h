// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/host.h"

#include <chrono>

class PrintService;

// How long the print system may take, in all, to answer what one print asks
// of it before the pages are laid out, and again for sending them.
inline constexpr int PrintServiceAnswerSeconds = 15;

// The system's default printer. The pages are laid out into a PDF in memory
// with Qt GUI's own PDF writer and handed to the print system as one job, so
// a job the print system refuses is reported instead of lost.

class SystemPrinter : public TextPrinter {
public:
    explicit SystemPrinter(
        std::chrono::seconds answerWithin = std::chrono::seconds(PrintServiceAnswerSeconds))
        : m_answerWithin(answerWithin) {}
    void print(const QString& text, const QString& title, WorkProgress& progress) override;
    void printPdf(const QString& title, const std::function<void(QIODevice&)>& writePdf,
                  WorkProgress& progress) override;
    void writePdf(const QString& text, const QString& title, QIODevice& device) override;

private:
    // Asks for the default printer, has `layOut` write the PDF into memory
    // (it may ask the print service more, such as the paper), and sends it.
    void printPages(const QString& title, const std::function<void(QIODevice&, PrintService&)>& layOut,
                    WorkProgress& progress);
    std::chrono::seconds m_answerWithin;
};
