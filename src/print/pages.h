// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>

class QIODevice;
class QPageSize;
class QPainter;
class QPagedPaintDevice;
class QTextDocument;
class WorkProgress;

// The print font: the designed Mincho where the system has it, else IPA
// Mincho, 10.5 pt, the usual size of Japanese documents, with every character
// of code page 932.
QFont printFont();
// The same face at another size, or bold.
QFont printFont(qreal points, bool bold = false);

// The resolution pages are laid out at, on paper as in a PDF.
inline constexpr int PageResolution = 300;

// Where things go on a page of a PDF writer or a printer: 20 mm margins that
// printers can reach, room for a head above the body when asked, and a foot
// inside the bottom margin. Sets the device's own margins to none, so that head and
// foot can go in the page's.
struct PageFrame {
    PageFrame(QPagedPaintDevice& device, qreal headMillimetres = 0);
    QRectF paper;
    QRectF body;
    // Paints the foot: `name` on the left (cut in the middle where it is
    // long), "n / N" on the right.
    void drawFoot(QPainter& painter, const QString& name, int page, int pages) const;

private:
    qreal m_footBaseline = 0;
};

// Sets a document up to be laid out on the frame's pages: the print font,
// wrapping anywhere (Japanese has no spaces to break at, and neither has a
// long number), the device's resolution, the body's size.
void setUpForPages(QTextDocument& document, QPagedPaintDevice& device, const PageFrame& frame);

// Paints the first `pages` pages of `document`, already set up for `frame`,
// each with the head `drawHead` paints (if any) and the foot carrying
// `footName`. Reports the pages to `progress` and stops early once it is
// cancelled.
void paintPages(QTextDocument& document, QPagedPaintDevice& device, const PageFrame& frame, int pages,
                const QString& footName, const std::function<void(QPainter&)>& drawHead,
                WorkProgress* progress = nullptr);

// Lays `text` out on the pages of `device` in the print font, a line end
// starting a new line, lines wider than the page wrapped and the text flowing
// onto as many pages as it needs, but no page after the last that holds text.
// Each page's foot carries `name` and "n / N". Returns N.
int layOutOnPages(const QString& text, const QString& name, QPagedPaintDevice& device,
                  WorkProgress* progress = nullptr);

// Writes the pages `paint` lays out (at PageResolution) as a PDF titled
// `title` into `device`, which must be open for writing.
void writePagesPdf(const QString& title, QIODevice& device,
                   const std::function<void(QPagedPaintDevice&)>& paint);

// The pages layOutOnPages() lays `text` out on, as writePagesPdf() writes
// them, titled `name`, on `paper` (A4 when it is not valid).
void writeDocumentPdf(const QString& text, const QString& name, const QPageSize& paper, QIODevice& device,
                      WorkProgress* progress = nullptr);
