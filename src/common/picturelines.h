// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

// What a picture area shows: lines of printed text, each made of items that
// stand at successive print zones. The widget that draws it lives in forms/;
// this model is what handlers print into and what tests read.
class PictureLines : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Erases everything; the print position goes back to the top-left corner.
    void clear();
    // Prints text at the print position, which stays on the same line.
    void print(const QString& text);
    // Moves the print position to the start of the next print zone.
    void nextZone();
    // Ends the current line; the next print starts at the left of the next line.
    void endLine();
    void printLine(const QString& text) {
        print(text);
        endLine();
    }
    // Prints text that gives way when its line is wider than the picture
    // area, so that what follows it on the line stays whole: a listing row's
    // name. It reads as printed all the same. One such text a line.
    void printYielding(const QString& text);

    // Where a yielding text stands in a line: in which item, from which
    // character, how many.
    struct Span {
        qsizetype item = 0;
        qsizetype start = 0;
        qsizetype length = 0;
    };

    // Every line printed so far, including one still open; each line lists
    // the texts that start at successive zones.
    const QList<QStringList>& lines() const { return m_lines; }
    int lineCount() const { return int(m_lines.size()); }
    // The printed text as a reader sees it: lines joined by line feeds, a move
    // to the next print zone shown as a tab.
    QString text() const;
    // One line as text, with zone moves as tabs; empty past the last line.
    QString lineText(int index) const;
    // The yielding text of a line, if it has one.
    std::optional<Span> yieldingSpan(int index) const;

signals:
    void changed();

private:
    QStringList& openLine();

    QList<QStringList> m_lines;
    QList<std::optional<Span>> m_yielding; // one per line
    bool m_lineOpen = false;
};
