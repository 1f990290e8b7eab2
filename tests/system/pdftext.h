// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading printed PDFs back with poppler's tools (pdftotext, pdfinfo,
// pdffonts), and comparing what they hold with the text that was printed.

#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#ifdef Q_OS_WIN
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <windows.h>

// Under Wine the Windows tests use this machine's own poppler tools. Wine
// starts a program of this machine's when it is named by its path on the Z:
// drive, but gives the starter no handle to wait on nor its output; so a
// shell runs the tool, writing its output and then its status to files, and
// the test waits for the status.

// The path of a file on this machine, as Wine tells it; `path` when not
// under Wine.
inline QString unixPath(const QString& path) {
    using UnixFileName = char* (*)(const wchar_t*);
    static const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!unixFileName)
        return path;
    const QString native = QDir::toNativeSeparators(QDir(path).absolutePath());
    char* unix = unixFileName(reinterpret_cast<const wchar_t*>(native.utf16()));
    if (!unix)
        return path;
    const QString converted = QString::fromUtf8(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return converted;
}

inline bool pdfToolsPresent() {
    return QFileInfo::exists(QStringLiteral("Z:/usr/bin/pdftotext"));
}

inline QString runPdfTool(const QString& tool, const QStringList& arguments) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QStringList passed{
        QStringLiteral("-c"),
        QStringLiteral("t=$1; o=$2; shift 2; \"$t\" \"$@\" >\"$o\" 2>&1; echo $? >\"$o.part\"; "
                       "mv \"$o.part\" \"$o.status\""),
        QStringLiteral("-"), tool, unixPath(out)};
    for (const QString& argument : arguments)
        passed.append(QFileInfo::exists(argument) ? unixPath(argument) : argument);
    if (!QProcess::startDetached(QStringLiteral("Z:/bin/sh"), passed))
        return QStringLiteral("(%1 failed to start)").arg(tool);
    QFile status(out + QStringLiteral(".status"));
    for (QDeadlineTimer deadline(60000); !status.exists(); QThread::msleep(20))
        if (deadline.hasExpired())
            return QStringLiteral("(%1 did not finish)").arg(tool);
    QFile output(out);
    if (!status.open(QIODevice::ReadOnly) || !output.open(QIODevice::ReadOnly))
        return QStringLiteral("(%1 left no output)").arg(tool);
    const QByteArray said = output.readAll();
    if (status.readAll().trimmed() != "0")
        return QStringLiteral("(%1 failed: %2)").arg(tool, QString::fromUtf8(said));
    return QString::fromUtf8(said);
}
#else
inline bool pdfToolsPresent() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

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
#endif

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
