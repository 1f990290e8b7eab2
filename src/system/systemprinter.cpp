// SPDX-License-Identifier: GPL-3.0-or-later
// What printing does alike on every system.
#include "system/systemprinter.h"

#include "print/pages.h"

#include <QPageSize>

void SystemPrinter::writePdf(const QString& text, const QString& title, QIODevice& device) {
    writeDocumentPdf(text, title, QPageSize(QPageSize::A4), device);
}
