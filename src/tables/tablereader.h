// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/textdecoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;
class RuntimeError;

// Reads the fields of a comma-separated table file in order, paying no heed to
// line structure: a record may span two lines and a line may hold two records.
// The file is in the encoding EncodingDecision finds as it is read: UTF-16 or
// UTF-8 after their marks, UTF-8 without a mark, or code page 932. UTF-16 is
// read on as UTF-8, so the field bound counts UTF-8 bytes for it.
//
// The device is read a piece at a time as fields are taken, never as a whole,
// and a field may span at most MaxFieldBytes: memory and time stay small
// whatever the file holds, and the load's record limit ends a long file before
// the rest of it is read.
class TableReader {
public:
    // Everything between two separators (blanks and quotes included). A name
    // is a few dozen bytes and a whole table of 300 records a few kilobytes,
    // so a longer field means the file is no table at all.
    static constexpr qsizetype MaxFieldBytes = 16 * 1024;

    enum class Decoding {
        Decide,      // by the file's mark and bytes
        CodePage932, // the file proved not to be the UTF-8 it looked like
    };
    // Thrown when a file without a mark read as UTF-8 turns out not to be
    // UTF-8 after all (a later piece, or its end, breaks it): the file is to
    // be read again from its start, as code page 932. Never thrown for a
    // sequential device or in CodePage932 mode.
    struct NotUtf8 {};

    // A read that returns nothing counts as the end: only regular files and
    // buffers are read, never a pipe that might still get data.
    explicit TableReader(QIODevice& device, Decoding decoding = Decoding::Decide);

    // The line (from 1) that the next byte stands on; a line ends at CR LF,
    // a lone CR or a lone LF, inside a quoted name too.
    int line() const { return m_line; }

    // Reads ahead one byte at most. Throws DeviceIo when reading fails.
    bool atEnd();
    // A name field. Throws InputPastEndOfFile when the file has ended,
    // Overflow for a field longer than MaxFieldBytes, DeviceIo.
    QString readText();
    // A value field, rounded to a 16-bit whole number (text that is no number
    // reads as 0). Throws InputPastEndOfFile, Overflow or DeviceIo.
    qint16 readNumber();

private:
    struct Field {
        QByteArray bytes;
        bool quoted = false;
    };

    // The next byte without taking it, or -1 at the end of the device.
    int peek();
    // Takes the byte peek() returned, counting it against the field's span.
    void take();
    // Takes bytes while `more` holds for them, counting them against the
    // field's span and appending them to `kept` if given.
    template <class Predicate> void takeWhile(Predicate more, QByteArray* kept);
    static RuntimeError fieldTooLong();
    // Reads more of the device into the buffer; false at its end.
    bool readMore();
    qint64 readDevice(char* into, qint64 room);
    void appendUtf8(const QString& text);
    // Tells the decision about a piece just read, or the end.
    void follow(QByteArrayView piece, bool ended = false);
    // Takes `count` bytes, counting the line ends among them.
    void advance(qsizetype count);
    void skipBlanks();
    // Consumes one comma or line end (CR LF, lone CR, lone LF) if one is next.
    void consumeSeparator();
    // Skips to just past the next comma or line end.
    void skipPastSeparator();
    Field rawField(bool stopAtBlank);
    QString decode(const QByteArray& bytes);

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_size = 0; // bytes of m_buffer read from the device
    qsizetype m_pos = 0;
    bool m_ended = false;
    qsizetype m_fieldSpan = 0;
    int m_line = 1;
    bool m_afterCr = false;
    CodePage932Decoder m_decoder;
    EncodingDecision m_decision;
    bool m_deciding;
    bool m_utf8 = false; // fields are UTF-8 (as read, or from UTF-16)
    std::optional<Utf16Decoder> m_utf16;
    QByteArray m_raw; // UTF-16 bytes as read, before they become UTF-8
};
