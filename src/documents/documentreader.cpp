// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentreader.h"

#include "common/characters.h"
#include "common/textdecoding.h"
#include "common/userfile.h"

#include <QFile>
#include <QIODevice>
#include <QLocale>

#include <algorithm>

namespace {

constexpr QChar Cr = u'\r';
constexpr QChar Lf = u'\n';

QString counted(qint64 n) {
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(n);
}

RuntimeError tooLarge(qint64 maxBytes) {
    // In the unit the bound is set in, so the figure is exact.
    const QString bound = maxBytes % (1024 * 1024) == 0
                              ? QStringLiteral("%1 MiB").arg(counted(maxBytes / (1024 * 1024)))
                              : QStringLiteral("%1 バイト").arg(counted(maxBytes));
    return RuntimeError(ErrorKind::DocumentTooLarge, {},
                        QStringLiteral("文書が大きすぎます（%1 まで）").arg(bound));
}

// What the bounds and the line ends need to know of a text, found in one
// pass: in UTF-16 a byte 0D or 0A need not be a line end, so this is done on
// the text, not the bytes.
struct LineScan {
    qsizetype lines = 0;   // as the box shows them: CR, LF and CR LF each end one
    qsizetype longest = 0; // characters (code points) in the longest of them
    qsizetype loneCrs = 0; // CRs without an LF after them
};

LineScan scanLines(QStringView text) {
    LineScan scan;
    const qsizetype size = text.size();
    const QChar* c = text.data();
    qsizetype start = 0;
    // A character beyond the basic plane is two UTF-16 units but one
    // character to the user: each pair in the line counts one less.
    qsizetype pairs = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (c[i].unicode() > u'\r') {
            if (characterLength(text, i) == 2) {
                ++pairs;
                ++i;
            }
            continue;
        }
        if (c[i] == Lf) {
            ++scan.lines;
        } else if (c[i] == Cr) {
            if (i + 1 == size || c[i + 1] != Lf) {
                ++scan.lines;
                ++scan.loneCrs;
            }
        } else {
            continue;
        }
        scan.longest = std::max(scan.longest, i - start - pairs);
        start = i + 1;
        pairs = 0;
    }
    scan.longest = std::max(scan.longest, size - start - pairs);
    if (size > 0 && c[size - 1] != Cr && c[size - 1] != Lf)
        ++scan.lines;
    return scan;
}

void checkBounds(const LineScan& scan, const DocumentBounds& bounds) {
    if (scan.lines > bounds.lines)
        throw RuntimeError(ErrorKind::DocumentTooLarge, {},
                           QStringLiteral("文書の行が多すぎます（%1 行まで）").arg(counted(bounds.lines)));
    if (scan.longest > bounds.lineLength)
        throw RuntimeError(
            ErrorKind::DocumentTooLarge, {},
            QStringLiteral("文書に長すぎる行があります（1 行 %1 字まで）").arg(counted(bounds.lineLength)));
}

// Ends every line with CR LF: a CR alone gets its LF, and a last line without
// a line end gets one. Copies the text only when it has a CR alone.
QString withCrLfLineEnds(QString text, qsizetype loneCrs) {
    // A CR at the very end is one of the lone ones; an LF there is inside the line.
    const bool needsEnd = !text.isEmpty() && !text.endsWith(Cr) && !text.endsWith(u"\r\n");
    if (loneCrs == 0) {
        if (needsEnd)
            text += u"\r\n";
        return text;
    }
    QString out;
    out.reserve(text.size() + loneCrs + 2);
    qsizetype start = 0;
    for (qsizetype i = text.indexOf(Cr); i >= 0; i = text.indexOf(Cr, i + 1)) {
        if (i + 1 < text.size() && text.at(i + 1) == Lf)
            continue;
        out += QStringView(text).sliced(start, i + 1 - start);
        out += Lf;
        start = i + 1;
    }
    out += QStringView(text).sliced(start);
    if (needsEnd)
        out += u"\r\n";
    return out;
}

// The document's text, within its bounds; `wholeLinesOnly` drops a last
// line that has no line end.
QString boundedText(QByteArrayView bytes, const DocumentBounds& bounds, bool wholeLinesOnly) {
    QString text = decodeUserText(bytes);
    if (wholeLinesOnly)
        text.truncate(text.lastIndexOf(Cr) + 1);
    const LineScan scan = scanLines(text);
    checkBounds(scan, bounds);
    return withCrLfLineEnds(std::move(text), scan.loneCrs);
}

} // namespace

QString documentText(QByteArrayView bytes) {
    QString text = decodeUserText(bytes);
    const qsizetype loneCrs = scanLines(text).loneCrs;
    return withCrLfLineEnds(std::move(text), loneCrs);
}

Document readDocument(QIODevice& device, const DocumentBounds& bounds, const ReadProgress& progress) {
    constexpr qint64 Chunk = 256 * 1024;
    const qint64 maxBytes = bounds.bytes;
    QByteArray bytes;
    if (!device.isSequential())
        bytes.reserve(std::min(device.size(), maxBytes) + Chunk);
    for (;;) {
        const qint64 room = std::min(Chunk, maxBytes + 1 - bytes.size());
        const qsizetype used = bytes.size();
        bytes.resize(used + room);
        const qint64 got = device.read(bytes.data() + used, room);
        if (got < 0) {
            // What was read up to the last line end stays; a line cut off by the
            // failure does not. Cut in the text: in UTF-16 a CR is two bytes.
            bytes.truncate(used);
            return {boundedText(bytes, bounds, true),
                    RuntimeError(ErrorKind::DeviceIo, {}, device.errorString())};
        }
        bytes.truncate(used + got);
        if (bytes.size() > maxBytes)
            throw tooLarge(maxBytes);
        if (got == 0)
            break;
        if (progress && !progress(bytes.size()))
            throw LoadCancelled{};
    }
    QString text = boundedText(bytes, bounds, false);
    bytes = QByteArray(); // given back before the box makes its copy
    return {std::move(text), std::nullopt};
}

Document loadDocument(const QString& path, const ReadProgress& progress) {
    QFile file(path);
    openUserFile(file);
    try {
        // Refused before a byte is read when the size already says so; the
        // reader still stops a file that grows while it reads.
        if (file.size() > MaxDocument.bytes)
            throw tooLarge(MaxDocument.bytes);
        Document document = readDocument(file, MaxDocument, progress);
        if (document.failure)
            document.failure = document.failure->withSource(path);
        return document;
    } catch (const RuntimeError& e) {
        throw e.withSource(path);
    }
}
