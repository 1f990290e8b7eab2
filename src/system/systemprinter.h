#pragma once

#include "windows/host.h"

#include <QFont>

class QPagedPaintDevice;

// The system's default printer, through CUPS. The text is laid out by Qt into
// a PDF and handed to the print system as one job, so a job the print system
// refuses is reported instead of lost.
class SystemPrinter : public TextPrinter {
public:
    void print(const QString& text) override;
};

// Lays `text` out on the pages of `device` in the print font, a line end
// starting a new line, lines wider than the page wrapped and the text flowing
// onto as many pages as it needs.
void layOutOnPages(const QString& text, QPagedPaintDevice& device);

// The print font: IPA Mincho 10.5 pt, the usual size of Japanese documents,
// with every character of code page 932.
QFont printFont();
