// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/tablereader.h"

#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "common/textdecoding.h"

#include <QIODevice>

#include <algorithm>

namespace {
constexpr char Quote = '"';
constexpr qsizetype ChunkBytes = 64 * 1024;
} // namespace

TableReader::TableReader(QIODevice& device, Decoding decoding)
    : m_device(device), m_buffer(ChunkBytes, Qt::Uninitialized), m_deciding(decoding == Decoding::Decide) {
    // The first piece, which the mark must be in.
    while (m_size < Utf8ByteOrderMark.size()) {
        const qint64 got = readDevice(m_buffer.data() + m_size, m_buffer.size() - m_size);
        if (got == 0)
            break;
        m_size += qsizetype(got);
    }
    if (!m_deciding)
        return;
    const QByteArrayView first(m_buffer.constData(), m_size);
    const qsizetype mark = m_decision.begin(first);
    switch (m_decision.encoding()) {
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian:
        // Read on as UTF-8, so that commas, quotes and line ends are single
        // bytes as in the other forms.
        m_utf16.emplace(m_decision.encoding() == TextEncoding::Utf16BigEndian);
        m_raw = QByteArray(ChunkBytes, Qt::Uninitialized);
        m_size = 0;
        appendUtf8(m_utf16->decode(first.sliced(mark)));
        m_utf8 = true;
        return;
    case TextEncoding::Utf8:
    case TextEncoding::CodePage932:
        break;
    }
    m_pos = mark;
    m_utf8 = mark > 0;
    follow(first.sliced(mark));
}

qint64 TableReader::readDevice(char* into, qint64 room) {
    const qint64 got = m_device.read(into, room);
    if (got < 0)
        throw RuntimeError(ErrorKind::DeviceIo, {}, m_device.errorString());
    return got;
}

void TableReader::appendUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (m_size + bytes.size() > m_buffer.size())
        m_buffer.resize(m_size + bytes.size());
    std::copy(bytes.cbegin(), bytes.cend(), m_buffer.data() + m_size);
    m_size += bytes.size();
}

void TableReader::follow(QByteArrayView piece, bool ended) {
    if (!m_deciding)
        return;
    if (ended)
        m_decision.end();
    else
        m_decision.feed(piece);
    const bool utf8 = m_decision.encoding() == TextEncoding::Utf8;
    // Fields already read were taken as UTF-8; only a new start can read
    // them as code page 932. A device that cannot go back keeps UTF-8, bad
    // bytes showing as U+FFFD.
    if (m_utf8 && !utf8 && !m_device.isSequential())
        throw NotUtf8{};
    m_utf8 = m_utf8 || utf8;
}

bool TableReader::readMore() {
    if (m_ended)
        return false;
    if (m_pos == m_size)
        m_pos = m_size = 0;
    for (;;) {
        if (m_utf16) {
            const qint64 got = readDevice(m_raw.data(), m_raw.size());
            const qsizetype before = m_size;
            if (got == 0) {
                m_ended = true;
                appendUtf8(m_utf16->end());
                return m_size > before;
            }
            appendUtf8(m_utf16->decode(QByteArrayView(m_raw.constData(), got)));
            if (m_size > before)
                return true; // else one byte, half a character: read on
            continue;
        }
        const qint64 got = readDevice(m_buffer.data() + m_size, m_buffer.size() - m_size);
        if (got == 0) {
            m_ended = true;
            follow({}, true);
            return false;
        }
        follow(QByteArrayView(m_buffer.constData() + m_size, got));
        m_size += qsizetype(got);
        return true;
    }
}

void TableReader::advance(qsizetype count) {
    const char* data = m_buffer.constData();
    for (qsizetype i = m_pos; i < m_pos + count; ++i) {
        const char c = data[i];
        if (c == '\r' || (c == '\n' && !m_afterCr))
            ++m_line;
        m_afterCr = c == '\r';
    }
    m_pos += count;
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
    advance(1);
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
        advance(run);
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
        advance(1);
    } else if (c == '\r') {
        advance(1);
        if (peek() == '\n')
            advance(1);
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
