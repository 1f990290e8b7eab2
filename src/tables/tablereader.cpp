#include "tables/tablereader.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "common/textdecoding.h"

#include <QIODevice>

namespace {
constexpr char Quote = '"';
constexpr qsizetype ChunkBytes = 64 * 1024;
} // namespace

TableReader::TableReader(QIODevice& device) : m_device(device), m_buffer(ChunkBytes, Qt::Uninitialized) {
    while (m_size < Utf8ByteOrderMark.size() && readMore()) {
    }
    if (startsWithUtf8ByteOrderMark(QByteArrayView(m_buffer.constData(), m_size))) {
        m_pos = Utf8ByteOrderMark.size();
        m_utf8 = true;
    }
}

bool TableReader::readMore() {
    if (m_ended)
        return false;
    if (m_pos == m_size)
        m_pos = m_size = 0;
    const qint64 got = m_device.read(m_buffer.data() + m_size, m_buffer.size() - m_size);
    if (got < 0)
        throw RuntimeError(ErrorKind::DeviceIo, {}, m_device.errorString());
    if (got == 0) {
        m_ended = true;
        return false;
    }
    m_size += qsizetype(got);
    return true;
}

int TableReader::peek() {
    if (m_pos == m_size && !readMore())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

RuntimeError TableReader::fieldTooLong() {
    return RuntimeError(ErrorKind::Overflow, {},
                        QStringLiteral("1 つの欄が %1 バイトを超えています。表のファイルではないようです。")
                            .arg(MaxFieldBytes));
}

void TableReader::take() {
    if (++m_fieldSpan > MaxFieldBytes)
        throw fieldTooLong();
    ++m_pos;
}

template <class Predicate> void TableReader::takeWhile(Predicate more, QByteArray* kept) {
    while (m_pos < m_size || readMore()) {
        const char* data = m_buffer.constData();
        qsizetype end = m_pos;
        while (end < m_size && more(static_cast<unsigned char>(data[end])))
            ++end;
        const qsizetype run = end - m_pos;
        m_fieldSpan += run;
        if (m_fieldSpan > MaxFieldBytes)
            throw fieldTooLong();
        if (kept)
            kept->append(m_buffer.constData() + m_pos, run);
        m_pos = end;
        if (end < m_size)
            return;
    }
}

bool TableReader::atEnd() {
    return peek() < 0;
}

namespace {
bool isBlank(int c) {
    return c == ' ' || c == '\t';
}
bool isSeparator(int c) {
    return c == ',' || c == '\r' || c == '\n';
}
} // namespace

void TableReader::skipBlanks() {
    takeWhile(isBlank, nullptr);
}

void TableReader::consumeSeparator() {
    const int c = peek();
    if (c == ',' || c == '\n') {
        ++m_pos;
    } else if (c == '\r') {
        ++m_pos;
        if (peek() == '\n')
            ++m_pos;
    }
}

void TableReader::skipPastSeparator() {
    takeWhile([](int c) { return !isSeparator(c); }, nullptr);
    consumeSeparator();
}

TableReader::Field TableReader::rawField(bool stopAtBlank) {
    m_fieldSpan = 0;
    Field field;
    skipBlanks();
    if (atEnd())
        throw RuntimeError(ErrorKind::InputPastEndOfFile);
    if (peek() == Quote) {
        field.quoted = true;
        take();
        // Up to the next quote, commas and line ends included; a quote never
        // closed runs to the end of the file.
        takeWhile([](int c) { return c != Quote; }, &field.bytes);
        skipPastSeparator();
        return field;
    }
    takeWhile([stopAtBlank](int c) { return !isSeparator(c) && !(stopAtBlank && isBlank(c)); }, &field.bytes);
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
    const Field field = rawField(false);
    QString text = decode(field.bytes);
    // Trailing blanks of an unquoted name are an accident of editing, not part
    // of the name.
    if (!field.quoted) {
        while (text.endsWith(u' ') || text.endsWith(u'\t'))
            text.chop(1);
    }
    return text;
}

qint16 TableReader::readNumber() {
    return roundToInt16(leadingNumber(decode(rawField(true).bytes)));
}
