// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/printer.h"

#include <chrono>

// How long the print system may take, in all, to answer what one print asks
// of it before the pages are laid out, and again for sending them.
inline constexpr int PrintServiceAnswerSeconds = 15;

// The system's default printer. On Debian the pages are laid out into a PDF
// in memory with Qt GUI's own PDF writer and handed to CUPS as one job, so a
// job the print system refuses is reported instead of lost
// (systemprinter_unix.cpp); on Windows they are painted on the default
// printer through the system's print support (systemprinter_windows.cpp).
class SystemPrinter : public TextPrinter {
public:
#ifndef Q_OS_WIN
    // Windows' print support keeps its own time; CUPS is given this bound.
    explicit SystemPrinter(
        std::chrono::seconds answerWithin = std::chrono::seconds(PrintServiceAnswerSeconds))
        : m_answerWithin(answerWithin) {}
#endif
    void print(const QString& text, const QString& title, WorkProgress& progress) override;
    void printPages(const QString& title, const std::function<void(QPagedPaintDevice&, WorkProgress&)>& paint,
                    WorkProgress& progress) override;
    void writePdf(const QString& text, const QString& title, QIODevice& device) override;

#ifndef Q_OS_WIN
private:
    std::chrono::seconds m_answerWithin;
#endif
};
