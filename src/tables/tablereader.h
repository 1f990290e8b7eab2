#pragma once

#include "common/textdecoding.h"

#include <QByteArray>
#include <QString>

class QIODevice;
class RuntimeError;

// Reads the fields of a comma-separated table file in order, paying no heed to
// line structure: a record may span two lines and a line may hold two records.
// The bytes are code page 932, or UTF-8 when the file starts with its byte
// order mark (what spreadsheets write for "CSV UTF-8").
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

    // A read that returns nothing counts as the end: only regular files and
    // buffers are read, never a pipe that might still get data.
    explicit TableReader(QIODevice& device);

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
    CodePage932Decoder m_decoder;
    bool m_utf8 = false;
};
