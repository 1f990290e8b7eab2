// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 932 on Debian: ICU's converter for it, through Qt.
#include "common/textdecoding.h"

#include "common/codepage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

// The converter maps 0x1A, 0x1C and 0x7F round among themselves, as IBM's
// tables do, and writes 0x1A for a byte it cannot decode. None of the three
// can be half of a double-byte character, so they are kept out of the
// converter and put back as what Windows reads them as: themselves.
bool isMovedControl(uchar b) {
    return b == 0x1A || b == 0x1C || b == 0x7F;
}

// Whether the last byte is a lead byte whose second byte is missing. Lead
// bytes can also be second bytes, so the run of them at the end is counted
// back to the first byte that cannot lead, where a character surely ends.
bool endsInCutLeadByte(QByteArrayView bytes) {
    qsizetype run = 0;
    for (qsizetype i = bytes.size() - 1; i >= 0 && isLeadByte(uchar(bytes[i])); --i)
        ++run;
    return run % 2 == 1;
}

} // namespace

struct CodePage932Decoder::Converter {
    QStringDecoder decoder{"windows-31j", QStringConverter::Flag::Stateless};

    // Decodes a part holding none of the three control codes the converter
    // moves about, writing from `out`; returns the end of what it wrote.
    QChar* decodePart(QString& text, QChar* out, QByteArrayView part) {
        // Room for these bytes decoded, a lead byte cut off at their end and
        // the control code that follows them.
        const qsizetype used = out - text.constData();
        const qsizetype needed = used + decoder.requiredSpace(part.size()) + 2;
        if (text.size() < needed) {
            text.resize(std::max(needed, 2 * text.size()));
            out = text.data() + used;
        }
        if (part.isEmpty())
            return out;
        QChar* const begin = out;
        out = decoder.appendToBuffer(out, part);
        std::replace(begin, out, QChar(0x1A), QChar(QChar::ReplacementCharacter));
        if (endsInCutLeadByte(part))
            *out++ = QChar::ReplacementCharacter;
        return out;
    }
};

CodePage932Decoder::CodePage932Decoder() : m_converter(std::make_unique<Converter>()) {}
CodePage932Decoder::~CodePage932Decoder() = default;

QString CodePage932Decoder::decode(QByteArrayView bytes) {
    QString text;
    QChar* out = text.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && !isMovedControl(uchar(bytes[i])))
            continue;
        out = m_converter->decodePart(text, out, bytes.sliced(start, i - start));
        if (i < bytes.size())
            *out++ = QChar(char16_t(uchar(bytes[i])));
        start = i + 1;
    }
    text.truncate(out - text.constData());
    return text;
}

QByteArray encodeCodePage932(const QString& text) {
    return QStringEncoder("windows-31j").encode(text);
}
