#pragma once

#include "common/runtimeerror.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

class QIODevice;

// The largest document the window takes. The box keeps the whole text, and
// each byte of the file can become two bytes of text held both by the box and
// by its document, plus the layout of every line; 32 MiB keeps a load to a few
// hundred megabytes at worst, admits documents a thousand times the size of
// any real one (and the 20 MB of the benchmark), and stops a file that never
// ends or was picked by mistake before it takes the memory of the machine.
inline constexpr qint64 MaxDocumentBytes = qint64(32) * 1024 * 1024;

// A document as the box shows it.
struct Document {
    // Every line of the file followed by CR LF; empty for an empty file.
    QString text;
    // Set when reading failed part way; `text` then holds the lines read before.
    std::optional<RuntimeError> failure;
};

// The text of a document's bytes, in the encoding decodeUserText() finds
// (UTF-16 or UTF-8 with their marks, UTF-8 without one, else code page 932).
// A line ends at CR or CR LF; an LF alone stays inside its line. Bytes that
// are no character become U+FFFD.
QString documentText(QByteArrayView bytes);

// Reads the whole device into a document. Fails with a file error when it
// holds more than `maxBytes`; a read error midway ends the document at the
// last whole line read and is returned as its failure.
Document readDocument(QIODevice& device, qint64 maxBytes = MaxDocumentBytes);

// Opens the file read-only (a regular file only), reads it and closes it.
// Throws a file error naming the path when the file cannot be opened or is
// too large; a read error midway comes back as the document's failure.
Document loadDocument(const QString& path);
