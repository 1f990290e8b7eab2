// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/host.h"

#include <QFont>

#include <chrono>

class QPdfWriter;

// The system's default printer. The text is laid out into a PDF in memory with
// Qt GUI's own PDF writer and handed to the print system as one job, so a
// job the print system refuses is reported instead of lost.
// How long the print system may take, in all, to answer what one print asks
// of it before the pages are laid out, and again for sending them.
inline constexpr int PrintServiceAnswerSeconds = 15;

class SystemPrinter : public TextPrinter {
public:
    explicit SystemPrinter(
        std::chrono::seconds answerWithin = std::chrono::seconds(PrintServiceAnswerSeconds))
        : m_answerWithin(answerWithin) {}
    void print(const QString& text, const QString& title, WorkProgress& progress) override;
    void writePdf(const QString& text, const QString& title, QIODevice& device) override;

private:
    std::chrono::seconds m_answerWithin;
};

// Lays `text` out on the pages of `writer` in the print font, a line end
// starting a new line, lines wider than the page wrapped and the text flowing
// onto as many pages as it needs, but no page after the last that holds text.
// Each page's foot, below the text, carries `name` and "n / N". Reports the
// pages to `progress` and stops early once it is cancelled. Returns N.
int layOutOnPages(const QString& text, const QString& name, QPdfWriter& writer,
                  WorkProgress* progress = nullptr);

// The print font: IPA Mincho 10.5 pt, the usual size of Japanese documents,
// with every character of code page 932.
QFont printFont();
