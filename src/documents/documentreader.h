// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/runtimeerror.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// What the window takes, as text editors bound what they open. The samples
// are a few kilobytes and a long handout is under a megabyte; these leave room
// for twice that while keeping a load within about a hundred megabytes and a
// second, and stop a file picked by mistake before it costs more. Memory goes
// mostly by lines (the box keeps a layout for each, and holds the old
// document until the new one is ready), so the line count is bound as
// tightly as the size.
struct DocumentBounds {
    qint64 bytes;         // the file's size
    qsizetype lines;      // lines as the box shows them: CR, LF and CR LF each end one
    qsizetype lineLength; // characters (code points, not UTF-16 units) in the longest of them
};
inline constexpr DocumentBounds MaxDocument{qint64(2) * 1024 * 1024, 60'000, 10'000};

// A document as the box shows it.
struct Document {
    // Every line of the file followed by CR LF; empty for an empty file.
    QString text;
    // Set when reading failed part way; `text` then holds the lines read before.
    std::optional<RuntimeError> failure;
};

// Thrown out of a read whose caller said to stop.
struct LoadCancelled {};

// Told the bytes read so far; returns false to stop the read.
using ReadProgress = std::function<bool(qint64 bytesRead)>;

// The text of a document's bytes, in the encoding decodeUserText() finds
// (UTF-16 or UTF-8 with their marks, UTF-8 without one, else code page 932).
// A line ends at CR or CR LF; an LF alone stays inside its line. Bytes that
// are no character become U+FFFD.
QString documentText(QByteArrayView bytes);

// Reads the whole device into a document. Fails with DocumentTooLarge naming
// the bound when it holds more bytes, lines or a longer line than `bounds`; a read
// error midway ends the document at the last whole line read and is returned
// as its failure.
Document readDocument(QIODevice& device, const DocumentBounds& bounds = MaxDocument,
                      const ReadProgress& progress = {});

// Opens the file read-only (a regular file only), reads it and closes it.
// Throws a file error naming the path when the file cannot be opened, and
// DocumentTooLarge naming it and the bound when it is out of bounds; a read
// error midway comes back as the document's failure.
Document loadDocument(const QString& path, const ReadProgress& progress = {});
