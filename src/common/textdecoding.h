// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

// The mark editors and spreadsheets put before UTF-8 text ("CSV UTF-8").
inline constexpr QByteArrayView Utf8ByteOrderMark("\xEF\xBB\xBF", 3);

inline bool startsWithUtf8ByteOrderMark(QByteArrayView bytes) {
    return bytes.startsWith(Utf8ByteOrderMark);
}

// Turns the bytes of a user's file in code page 932 (Shift-JIS as Windows
// writes it) into text. A byte or pair that is no character shows as U+FFFD
// and never stops the decoding. Each call stands on its own: a lead byte cut
// off at the end of `bytes` is a U+FFFD, not the start of the next call's text.
// Debian decodes with ICU, Windows with the system's own code page; each
// system has its file (codepage932_unix.cpp, codepage932_windows.cpp).
class CodePage932Decoder {
public:
    CodePage932Decoder();
    ~CodePage932Decoder();
    CodePage932Decoder(const CodePage932Decoder&) = delete;
    CodePage932Decoder& operator=(const CodePage932Decoder&) = delete;
    QString decode(QByteArrayView bytes);

    struct Converter;

private:
    std::unique_ptr<Converter> m_converter;
};

// The bytes of `text` in code page 932, as Windows writes them; a character
// the code page lacks becomes "?". The program never writes the user's
// files: tests and the sample tools make theirs with it.
QByteArray encodeCodePage932(const QString& text);

// What a user's text file is written in.
enum class TextEncoding { CodePage932, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The one rule for what a table or document is written in, taken from its
// bytes in order, a piece at a time, so that a file need not be read whole to
// decide:
// - it starts with the UTF-16 byte order mark (either order): UTF-16;
// - it starts with the UTF-8 mark: UTF-8;
// - no mark, every byte so far valid UTF-8 and some not ASCII: UTF-8 (code
//   page 932 Japanese text is practically never valid UTF-8);
// - anything else: code page 932. Plain ASCII reads the same either way.
// Without a mark the answer can turn from UTF-8 to code page 932 when a later
// piece breaks the UTF-8; it never turns back.
class EncodingDecision {
public:
    // The first bytes of the file, at least three of them unless the file is
    // shorter. Returns the length of the mark found there, 0 for none.
    qsizetype begin(QByteArrayView start);
    // The file's bytes after the mark, in order.
    void feed(QByteArrayView piece);
    // The file has ended; a character cut off by the end is no UTF-8.
    void end();
    TextEncoding encoding() const;

private:
    std::optional<TextEncoding> m_marked;
    bool m_nonAscii = false;
    bool m_invalid = false;
    int m_needed = 0;   // continuation bytes still to come
    uchar m_low = 0x80; // the range the next continuation byte must lie in
    uchar m_high = 0xBF;
};

// UTF-16 in the given byte order, a piece at a time: a byte or half a
// surrogate pair cut off at the end of a piece waits for the next. A lone
// surrogate shows as U+FFFD.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian) : m_bigEndian(bigEndian) {}
    QString decode(QByteArrayView bytes);
    // What is left at the end of the file, as U+FFFD.
    QString end();

private:
    bool m_bigEndian;
    std::optional<uchar> m_oddByte;
    std::optional<char16_t> m_high;
};

// The text of a whole file of the user's, in the encoding the rule above
// gives, without its mark. Bytes that are no character become U+FFFD.
QString decodeUserText(QByteArrayView bytes);
