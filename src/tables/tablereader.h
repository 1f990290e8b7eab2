#pragma once

#include "common/textdecoding.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads the fields of a comma-separated table file in order, paying no heed to
// line structure: a record may span two lines and a line may hold two records.
// The bytes are code page 932, or UTF-8 when the file starts with its byte
// order mark (what spreadsheets write for "CSV UTF-8").
class TableReader {
public:
    // Reads the whole device; table files are small.
    explicit TableReader(QIODevice& device);

    bool atEnd() const { return m_pos >= m_data.size(); }
    // A name field. Throws InputPastEndOfFile when the file has ended.
    QString readText();
    // A value field, rounded to a 16-bit whole number (text that is no number
    // reads as 0). Throws InputPastEndOfFile or Overflow.
    qint16 readNumber();

private:
    void skipBlanks();
    bool atLineEnd() const;
    // Consumes one comma or line end (CR LF, lone CR, lone LF) if one is next.
    void consumeSeparator();
    // Skips to just past the next comma or line end.
    void skipPastSeparator();
    QByteArray rawField(bool stopAtBlank);
    QString decode(const QByteArray& bytes);

    QByteArray m_data;
    qsizetype m_pos = 0;
    CodePage932Decoder m_decoder;
    bool m_utf8 = false;
};
