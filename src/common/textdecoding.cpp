// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/textdecoding.h"

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
