// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading printed PDFs back with poppler's tools (pdftotext, pdfinfo,
// pdffonts), and comparing what they hold with the text that was printed.

#include <QHash>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The tool's output, or a text naming its failure (which no check matches).
inline QString runPdfTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return QStringLiteral("(%1 failed: %2 %3)")
            .arg(tool, process.errorString(), QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString& pdf) {
    // In the order it was drawn, which is the text's own: reading columns into
    // the page, pdftotext would split lines at wide blanks.
    return runPdfTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                                    QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

// The text of one page, counted from 1.
inline QString pdfPageText(const QString& pdf, int page) {
    const QString n = QString::number(page);
    return runPdfTool(QStringLiteral("pdftotext"),
                      {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                       QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

// A word on a page and where it stands, in points from the top left.
struct PdfWord {
    QString text;
    QRectF box;
};

// The words of one page, in the order pdftotext reads them.
inline QList<PdfWord> pdfWords(const QString& pdf, int page) {
    const QString n = QString::number(page);
    const QString html =
        runPdfTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                    QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                            QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// 0 when pdfinfo cannot tell.
inline int pdfPages(const QString& pdf) {
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(runPdfTool(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Without blanks of any kind: where a printed line wraps is the layout's
// business, the characters and their order are the test's. Pairs of
// characters that share one glyph may come back out of the PDF as either.
inline QString squeezed(const QString& text) {
    static const QHash<QChar, QChar> sameGlyph{
        {QChar(0x301C), QChar(0xFF5E)}, {QChar(0x2016), QChar(0x2225)}, {QChar(0x2212), QChar(0xFF0D)}};
    QString out;
    for (QChar c : text) {
        if (!c.isSpace())
            out += sameGlyph.value(c, c);
    }
    return out;
}

// Empty when every non-blank line of `text` appears in `printed`, in order;
// otherwise the first line that does not.
inline QString missingLine(const QString& text, const QString& printed) {
    const QString all = squeezed(printed);
    qsizetype from = 0;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& line : lines) {
        const QString wanted = squeezed(line);
        if (wanted.isEmpty())
            continue;
        const qsizetype at = all.indexOf(wanted, from);
        if (at < 0)
            return line;
        from = at + wanted.size();
    }
    return {};
}

// Whether some printed line holds all of `line`: it was not wrapped.
inline bool printedWhole(const QString& line, const QString& printed) {
    const QStringList lines = printed.split(u'\n');
    return std::any_of(lines.begin(), lines.end(),
                       [&](const QString& l) { return squeezed(l).contains(squeezed(line)); });
}
