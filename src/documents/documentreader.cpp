#include "documents/documentreader.h"

#include "common/textdecoding.h"
#include "common/userfile.h"

#include <QFile>
#include <QIODevice>
#include <QLocale>

#include <algorithm>
#include <cstring>

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
    return RuntimeError(ErrorKind::FileAccess, {},
                        QStringLiteral("文書が大きすぎます（%1 まで）").arg(bound));
}

// Lines as the box will show them, counted on the bytes: no second byte of a
// code page 932 or UTF-8 character is a CR or an LF.
qsizetype boxLines(QByteArrayView bytes) {
    qsizetype ends = 0;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const void* cr = memchr(p, '\r', size_t(end - p));
        const void* lf = memchr(p, '\n', size_t(end - p));
        const char* next = static_cast<const char*>(cr && (!lf || cr < lf) ? cr : lf);
        if (!next)
            return ends + 1;
        ++ends;
        p = next + ((*next == '\r' && next + 1 < end && next[1] == '\n') ? 2 : 1);
    }
    return ends;
}

qsizetype longestBoxLine(QStringView text) {
    qsizetype longest = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == Cr || c == Lf) {
            longest = std::max(longest, i - start);
            start = i + 1;
        }
    }
    return std::max(longest, text.size() - start);
}

// The bounds beyond the size, checked once the whole file is in: the count
// on the bytes, before the cost of decoding them, the length on the text.
void checkLineCount(QByteArrayView bytes, const DocumentBounds& bounds) {
    if (boxLines(bytes) > bounds.lines)
        throw RuntimeError(ErrorKind::FileAccess, {},
                           QStringLiteral("文書の行が多すぎます（%1 行まで）").arg(counted(bounds.lines)));
}

void checkLineLength(QStringView text, const DocumentBounds& bounds) {
    if (longestBoxLine(text) > bounds.lineLength)
        throw RuntimeError(
            ErrorKind::FileAccess, {},
            QStringLiteral("文書に長すぎる行があります（1 行 %1 字まで）").arg(counted(bounds.lineLength)));
}

// Ends every line with CR LF: a CR alone gets its LF, and a last line without
// a line end gets one. One pass, and none at all for a file already in CR LF.
QString withCrLfLineEnds(QString text) {
    qsizetype loneCrs = 0;
    for (qsizetype i = text.indexOf(Cr); i >= 0; i = text.indexOf(Cr, i + 1)) {
        if (i + 1 == text.size() || text.at(i + 1) != Lf)
            ++loneCrs;
    }
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

} // namespace

QString documentText(QByteArrayView bytes) {
    if (startsWithUtf8ByteOrderMark(bytes))
        return withCrLfLineEnds(QString::fromUtf8(bytes.sliced(Utf8ByteOrderMark.size())));
    return withCrLfLineEnds(CodePage932Decoder().decode(bytes));
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
            // failure does not.
            bytes.truncate(used);
            const qsizetype lineEnd = bytes.lastIndexOf('\r');
            const QByteArrayView whole = QByteArrayView(bytes).first(lineEnd + 1);
            checkLineCount(whole, bounds);
            QString text = documentText(whole);
            checkLineLength(text, bounds);
            return {std::move(text), RuntimeError(ErrorKind::DeviceIo, {}, device.errorString())};
        }
        bytes.truncate(used + got);
        if (bytes.size() > maxBytes)
            throw tooLarge(maxBytes);
        if (got == 0)
            break;
        if (progress && !progress(bytes.size()))
            throw LoadCancelled{};
    }
    checkLineCount(bytes, bounds);
    QString text = documentText(bytes);
    bytes = QByteArray(); // given back before the box makes its copy
    checkLineLength(text, bounds);
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
