// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/host.h"

#include <QFont>

class QPdfWriter;

// The system's default printer. The text is laid out into a PDF in memory with
// Qt GUI's own PDF writer and handed to the print system as one job, so a
// job the print system refuses is reported instead of lost.
class SystemPrinter : public TextPrinter {
public:
    void print(const QString& text, const QString& title, WorkProgress& progress) override;
};

// How long the print system may take to answer any one request.
inline constexpr int PrintServiceAnswerSeconds = 15;

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
