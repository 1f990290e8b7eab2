// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>

class TextPrinter;

class QDate;
class QPainter;
class QRectF;
class QIODevice;
class QPagedPaintDevice;
class WorkProgress;

// What a working window puts on paper: its results as lines, small tables
// and pictures, laid out on pages that carry the window's title, the date
// and a line for the client's name.
struct Handout {
    QString title;
    // The window's name, which starts the proposed file name.
    QString name;
    // Whose handout it is: written on the head's name line; empty leaves
    // that line blank for a name written by hand.
    QString clientName;

    // One column of a table: its heading and share of the width; numbers
    // are set flush right.
    struct Column {
        QString heading;
        int percent = 0;
        bool number = false;
    };
    // A table whose heading row repeats on every page; a cell wider than its
    // column wraps inside it, and a row is never split between pages.
    void addTable(const QList<Column>& columns, const QList<QStringList>& rows);
    // A line of text; a bold one reads as a heading.
    void addLine(const QString& text, bool bold = false);
    // Label and value pairs side by side, such as a total and its unit; in
    // the print font, or at `points` where a reader should see them first.
    void addFigures(const QList<QStringList>& rows, qreal points = 0);
    // A picture at the size it has on screen, or at least `leastMillimetres`
    // high, never blurred and never stored lossy. `beside` sets it at the
    // right of the piece before it, where there is room.
    void addImage(const QImage& image, qreal leastMillimetres = 0, bool beside = false);

    // A straight scale from `from` to `to`, parted at `bounds` into bands,
    // each named, with `value` marked by a pointer that `valueLabel` heads;
    // its band's name is set in bold, a value on a bound counting to the band
    // below. A value beyond the ends points at the nearer end.
    struct Scale {
        double from = 0;
        double to = 0;
        QList<double> bounds; // ascending, inside the scale
        QStringList bands;    // one more than the bounds
        double value = 0;
        QString valueLabel;
    };
    void addScale(const Scale& scale);

    // A drawing across the page's width, `millimetres` high, painted by
    // `paint` into the rectangle it is given. It is painted on the worker
    // that writes the pages, so it holds its own copy of what it draws.
    using Paint = std::function<void(QPainter&, const QRectF&)>;
    void addDrawing(qreal millimetres, Paint paint);

    struct Table {
        QList<Column> columns;
        QList<QStringList> rows;
    };
    struct Line {
        QString text;
        bool bold = false;
    };
    struct Figures {
        QList<QStringList> rows;
        qreal points = 0;
    };
    struct Picture {
        QImage image;
        qreal leastMillimetres = 0;
        bool beside = false;
    };
    struct Drawing {
        qreal millimetres = 0;
        Paint paint;
    };
    using Piece = std::variant<Table, Line, Figures, Picture, Scale, Drawing>;
    // In the order they go on the pages.
    QList<Piece> pieces;
};

// Today's date as a Japanese page shows it: "2026年12月8日".
QString japaneseDate(const QDate& date);
// The name the save dialog proposes: "摂取_2026-12-08.pdf".
QString proposedPdfName(const QString& windowName, const QDate& date);

// What its pages and its print job are titled: the window's title and the date.
QString handoutTitle(const Handout& handout, const QDate& date);

// Lays the handout out on A4 portrait pages in the print font and writes the
// PDF into `device`, which must be open for writing. Every page has the head
// (title, date, "氏名：" and the client's name when it has one) and the foot (the program's name and "n /
// N"). Reports the pages to `progress`, stopping early once it is cancelled. Returns the number of pages.
int writeHandoutPdf(const Handout& handout, const QDate& date, QIODevice& device,
                    WorkProgress* progress = nullptr);
// The same pages on `device`, a PDF writer or a printer laying pages out at
// PageResolution.
int paintHandout(const Handout& handout, const QDate& date, QPagedPaintDevice& device,
                 WorkProgress* progress = nullptr);

// Prints the handout on `printer` as one job titled as its PDF is, its pages
// laid out once the printer is there. Runs on a worker thread.
void printHandout(const Handout& handout, const QDate& date, TextPrinter& printer, WorkProgress& progress);
