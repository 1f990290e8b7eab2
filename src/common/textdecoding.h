#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// The mark editors and spreadsheets put before UTF-8 text ("CSV UTF-8").
inline constexpr QByteArrayView Utf8ByteOrderMark("\xEF\xBB\xBF", 3);

inline bool startsWithUtf8ByteOrderMark(QByteArrayView bytes) {
    return bytes.startsWith(Utf8ByteOrderMark);
}

// Turns the bytes of a user's file in code page 932 (Shift-JIS as Windows
// writes it) into text. A byte or pair that is no character shows as U+FFFD
// and never stops the decoding. Each call stands on its own: a lead byte cut
// off at the end of `bytes` is a U+FFFD, not the start of the next call's text.
class CodePage932Decoder {
public:
    CodePage932Decoder();
    QString decode(QByteArrayView bytes);

private:
    // Decodes a part holding none of the three control codes the converter
    // moves about, writing from `out`; returns the end of what it wrote.
    QChar* decodePart(QString& text, QChar* out, QByteArrayView part);

    QStringDecoder m_decoder;
};
