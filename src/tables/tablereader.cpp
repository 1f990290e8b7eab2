#include "tables/tablereader.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "common/textdecoding.h"

#include <QIODevice>

namespace {
constexpr char Quote = '"';
} // namespace

TableReader::TableReader(QIODevice& device) : m_data(device.readAll()) {
    if (startsWithUtf8ByteOrderMark(m_data)) {
        m_pos = Utf8ByteOrderMark.size();
        m_utf8 = true;
    }
}

void TableReader::skipBlanks() {
    while (!atEnd() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t'))
        ++m_pos;
}

bool TableReader::atLineEnd() const {
    return !atEnd() && (m_data[m_pos] == '\r' || m_data[m_pos] == '\n');
}

void TableReader::consumeSeparator() {
    if (atEnd())
        return;
    const char c = m_data[m_pos];
    if (c == ',' || c == '\n') {
        ++m_pos;
    } else if (c == '\r') {
        ++m_pos;
        if (!atEnd() && m_data[m_pos] == '\n')
            ++m_pos;
    }
}

void TableReader::skipPastSeparator() {
    while (!atEnd() && m_data[m_pos] != ',' && !atLineEnd())
        ++m_pos;
    consumeSeparator();
}

QByteArray TableReader::rawField(bool stopAtBlank) {
    skipBlanks();
    if (atEnd())
        throw RuntimeError(ErrorKind::InputPastEndOfFile);
    if (m_data[m_pos] == Quote) {
        const qsizetype close = m_data.indexOf(Quote, m_pos + 1);
        const qsizetype end = close < 0 ? m_data.size() : close;
        QByteArray field = m_data.mid(m_pos + 1, end - m_pos - 1);
        m_pos = end;
        skipPastSeparator();
        return field;
    }
    const qsizetype start = m_pos;
    while (!atEnd() && m_data[m_pos] != ',' && !atLineEnd() &&
           !(stopAtBlank && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t')))
        ++m_pos;
    QByteArray field = m_data.mid(start, m_pos - start);
    // Blanks after a value, then its comma or line end, belong to the record.
    skipBlanks();
    consumeSeparator();
    return field;
}

QString TableReader::decode(const QByteArray& bytes) {
    // Each field is decoded on its own, so a broken byte never joins two fields.
    return m_utf8 ? QString::fromUtf8(bytes) : m_decoder.decode(bytes);
}

QString TableReader::readText() {
    // Trailing blanks of an unquoted name are an accident of editing, not part
    // of the name.
    const bool quoted = [&] {
        qsizetype p = m_pos;
        while (p < m_data.size() && (m_data[p] == ' ' || m_data[p] == '\t'))
            ++p;
        return p < m_data.size() && m_data[p] == Quote;
    }();
    QString text = decode(rawField(false));
    if (!quoted) {
        while (text.endsWith(u' ') || text.endsWith(u'\t'))
            text.chop(1);
    }
    return text;
}

qint16 TableReader::readNumber() {
    return roundToInt16(leadingNumber(decode(rawField(true))));
}
