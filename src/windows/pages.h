// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;
class QPdfWriter;
class QTextDocument;
class WorkProgress;

// The print font: IPA Mincho 10.5 pt, the usual size of Japanese documents,
// with every character of code page 932.
QFont printFont();

// Where things go on a page of a PDF writer: 20 mm margins that printers can
// reach, room for a head above the body when asked, and a foot inside the
// bottom margin. Sets the writer's own margins to none, so that head and
// foot can go in the page's.
struct PageFrame {
    PageFrame(QPdfWriter& writer, qreal headMillimetres = 0);
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
// long number), the writer's resolution, the body's size.
void setUpForPages(QTextDocument& document, QPdfWriter& writer, const PageFrame& frame);

// Paints the first `pages` pages of `document`, already set up for `frame`,
// each with the head `drawHead` paints (if any) and the foot carrying
// `footName`. Reports the pages to `progress` and stops early once it is
// cancelled.
void paintPages(QTextDocument& document, QPdfWriter& writer, const PageFrame& frame, int pages,
                const QString& footName, const std::function<void(QPainter&)>& drawHead,
                WorkProgress* progress = nullptr);

// Lays `text` out on the pages of `writer` in the print font, a line end
// starting a new line, lines wider than the page wrapped and the text flowing
// onto as many pages as it needs, but no page after the last that holds text.
// Each page's foot carries `name` and "n / N". Returns N.
int layOutOnPages(const QString& text, const QString& name, QPdfWriter& writer,
                  WorkProgress* progress = nullptr);
