// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/textdecoding.h"

#include <algorithm>

namespace {

bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

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

CodePage932Decoder::CodePage932Decoder() : m_decoder("windows-31j", QStringConverter::Flag::Stateless) {}

QString CodePage932Decoder::decode(QByteArrayView bytes) {
    QString text;
    QChar* out = text.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && !isMovedControl(uchar(bytes[i])))
            continue;
        out = decodePart(text, out, bytes.sliced(start, i - start));
        if (i < bytes.size())
            *out++ = QChar(char16_t(uchar(bytes[i])));
        start = i + 1;
    }
    text.truncate(out - text.constData());
    return text;
}

QChar* CodePage932Decoder::decodePart(QString& text, QChar* out, QByteArrayView part) {
    // Room for these bytes decoded, a lead byte cut off at their end and the
    // control code that follows them.
    const qsizetype used = out - text.constData();
    const qsizetype needed = used + m_decoder.requiredSpace(part.size()) + 2;
    if (text.size() < needed) {
        text.resize(std::max(needed, 2 * text.size()));
        out = text.data() + used;
    }
    if (part.isEmpty())
        return out;
    QChar* const begin = out;
    out = m_decoder.appendToBuffer(out, part);
    std::replace(begin, out, QChar(0x1A), QChar(QChar::ReplacementCharacter));
    if (endsInCutLeadByte(part))
        *out++ = QChar::ReplacementCharacter;
    return out;
}

qsizetype EncodingDecision::begin(QByteArrayView start) {
    if (start.startsWith(QByteArrayView("\xFF\xFE", 2))) {
        m_marked = TextEncoding::Utf16LittleEndian;
        return 2;
    }
    if (start.startsWith(QByteArrayView("\xFE\xFF", 2))) {
        m_marked = TextEncoding::Utf16BigEndian;
        return 2;
    }
    if (startsWithUtf8ByteOrderMark(start)) {
        m_marked = TextEncoding::Utf8;
        return Utf8ByteOrderMark.size();
    }
    return 0;
}

void EncodingDecision::feed(QByteArrayView piece) {
    if (m_marked || m_invalid)
        return;
    for (const char c : piece) {
        const auto b = uchar(c);
        if (m_needed > 0) {
            if (b < m_low || b > m_high) {
                m_invalid = true;
                return;
            }
            --m_needed;
            m_low = 0x80;
            m_high = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        m_nonAscii = true;
        // The ranges of well-formed UTF-8: no overlong forms, no surrogates,
        // nothing past U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            m_needed = 1;
        } else if (b == 0xE0) {
            m_needed = 2;
            m_low = 0xA0;
        } else if (b == 0xED) {
            m_needed = 2;
            m_high = 0x9F;
        } else if (b >= 0xE1 && b <= 0xEF) {
            m_needed = 2;
        } else if (b == 0xF0) {
            m_needed = 3;
            m_low = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            m_needed = 3;
        } else if (b == 0xF4) {
            m_needed = 3;
            m_high = 0x8F;
        } else {
            m_invalid = true;
            return;
        }
    }
}

void EncodingDecision::end() {
    if (m_needed > 0)
        m_invalid = true;
}

TextEncoding EncodingDecision::encoding() const {
    if (m_marked)
        return *m_marked;
    return m_nonAscii && !m_invalid ? TextEncoding::Utf8 : TextEncoding::CodePage932;
}

QString Utf16Decoder::decode(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size() / 2 + 2);
    auto put = [&](char16_t u) {
        if (m_high && QChar::isLowSurrogate(u)) {
            text += QChar(*m_high);
            text += QChar(u);
            m_high.reset();
            return;
        }
        if (m_high) {
            text += QChar::ReplacementCharacter;
            m_high.reset();
        }
        if (QChar::isHighSurrogate(u))
            m_high = u;
        else
            text += QChar::isLowSurrogate(u) ? QChar(QChar::ReplacementCharacter) : QChar(u);
    };
    qsizetype i = 0;
    if (m_oddByte && !bytes.isEmpty()) {
        const uchar first = *m_oddByte;
        const auto second = uchar(bytes[0]);
        put(m_bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first));
        m_oddByte.reset();
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = uchar(bytes[i]);
        const auto b = uchar(bytes[i + 1]);
        put(m_bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a));
    }
    if (i < bytes.size())
        m_oddByte = uchar(bytes[i]);
    return text;
}

QString Utf16Decoder::end() {
    QString text;
    if (m_high)
        text += QChar::ReplacementCharacter;
    if (m_oddByte)
        text += QChar::ReplacementCharacter;
    m_high.reset();
    m_oddByte.reset();
    return text;
}

QString decodeUserText(QByteArrayView bytes) {
    EncodingDecision decision;
    const QByteArrayView text = bytes.sliced(decision.begin(bytes));
    decision.feed(text);
    decision.end();
    switch (decision.encoding()) {
    case TextEncoding::Utf8:
        return QString::fromUtf8(text);
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
        Utf16Decoder decoder(decision.encoding() == TextEncoding::Utf16BigEndian);
        return decoder.decode(text) + decoder.end();
    }
    case TextEncoding::CodePage932:
        break;
    }
    return CodePage932Decoder().decode(text);
}
