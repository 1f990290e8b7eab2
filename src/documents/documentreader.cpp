#include "documents/documentreader.h"

#include "common/textdecoding.h"
#include "common/userfile.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>

namespace {

constexpr QChar Cr = u'\r';
constexpr QChar Lf = u'\n';

QString tooLarge(qint64 maxBytes) {
    return QStringLiteral("文書が大きすぎます（%1 MB まで）").arg(maxBytes / (1024 * 1024));
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
    return withCrLfLineEnds(decodeUserText(bytes));
}

Document readDocument(QIODevice& device, qint64 maxBytes) {
    constexpr qint64 Chunk = 1024 * 1024;
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
            QString text = decodeUserText(bytes);
            text.truncate(text.lastIndexOf(Cr) + 1);
            return {withCrLfLineEnds(std::move(text)),
                    RuntimeError(ErrorKind::DeviceIo, {}, device.errorString())};
        }
        bytes.truncate(used + got);
        if (bytes.size() > maxBytes)
            throw RuntimeError(ErrorKind::FileAccess, {}, tooLarge(maxBytes));
        if (got == 0)
            break;
    }
    return {documentText(bytes), std::nullopt};
}

Document loadDocument(const QString& path) {
    QFile file(path);
    openUserFile(file);
    try {
        // Refused before a byte is read when the size already says so; the
        // reader still stops a file that grows while it reads.
        if (file.size() > MaxDocumentBytes)
            throw RuntimeError(ErrorKind::FileAccess, {}, tooLarge(MaxDocumentBytes));
        Document document = readDocument(file);
        if (document.failure)
            document.failure = document.failure->withSource(path);
        return document;
    } catch (const RuntimeError& e) {
        throw e.withSource(path);
    }
}
