// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFile;
class RuntimeError;

// Opens a file the user keeps (a table or a document) read-only. Only a
// regular file is opened: a folder, a named pipe, a device or a socket is
// refused before anything reads from it, so a click never waits on a pipe or
// reads a device without end. A link is followed to what it names.
// Throws RuntimeError with the path and the system's reason: path not found
// (76), file not found (53), or cannot open (75).
void openUserFile(QFile& file);

// The open itself, each system's own (userfile_*.cpp), for a name that is
// not empty.
void openRegularFile(QFile& file);
// Their errors: for a file that would not open, by what of its path is
// missing; for one that is no regular file.
RuntimeError userFileNotOpened(const QString& path, const QString& reason);
RuntimeError notARegularFile(const QString& path);
