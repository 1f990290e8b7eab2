// SPDX-License-Identifier: GPL-3.0-or-later
// Code page 932 on Windows: the system's own conversion, which defines it.
#include "common/textdecoding.h"

#include "common/codepage932.h"

#include <windows.h>

namespace {

constexpr UINT CodePage932 = 932;

bool isTrailByte(uchar b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The single bytes 0x80, 0xA0 and 0xFD to 0xFF are no character of the code
// page; Windows keeps them round-trip as U+0080 and U+F8F0 to U+F8F3, which
// would show as nothing or as a box. They read as on Debian: U+FFFD.
void replaceRoundTripBytes(QString& text) {
    for (QChar& c : text)
        if (c.unicode() == 0x80 || (c.unicode() >= 0xF8F0 && c.unicode() <= 0xF8F3))
            c = QChar::ReplacementCharacter;
}

// Decodes `bytes` whole into `out`, which has room for one character a byte;
// returns the characters written, or 0 when some byte is no character.
int convertStrictly(QByteArrayView bytes, QChar* out) {
    return ::MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                                 reinterpret_cast<wchar_t*>(out), int(bytes.size()));
}

} // namespace

// Nothing to keep: the system converts each call afresh.
struct CodePage932Decoder::Converter {};

CodePage932Decoder::CodePage932Decoder() = default;
CodePage932Decoder::~CodePage932Decoder() = default;

QString CodePage932Decoder::decode(QByteArrayView bytes) {
    // Asked to, Windows refuses bytes that are no character rather than
    // giving its default character (・) for them, which would pass for text.
    QString text(bytes.size(), Qt::Uninitialized);
    if (bytes.isEmpty())
        return text;
    if (const int written = convertStrictly(bytes, text.data()); written > 0) {
        text.truncate(written);
        replaceRoundTripBytes(text);
        return text;
    }
    // Some byte is no character: a character at a time, so that only the
    // bad ones become U+FFFD.
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size();) {
        const bool pair =
            isLeadByte(uchar(bytes[i])) && i + 1 < bytes.size() && isTrailByte(uchar(bytes[i + 1]));
        const qsizetype length = pair ? 2 : 1;
        if (const int written = convertStrictly(bytes.sliced(i, length), out); written > 0)
            out += written;
        else
            *out++ = QChar::ReplacementCharacter; // a pair that names no character is one bad character
        i += length;
    }
    text.truncate(out - text.constData());
    replaceRoundTripBytes(text);
    return text;
}

QByteArray encodeCodePage932(const QString& text) {
    if (text.isEmpty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size =
        ::WideCharToMultiByte(CodePage932, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    ::WideCharToMultiByte(CodePage932, 0, wide, int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}
