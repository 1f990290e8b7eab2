// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFile;

// Opens a file the user keeps (a table or a document) read-only. Only a
// regular file is opened: a folder, a named pipe, a device or a socket is
// refused before anything reads from it, so a click never waits on a pipe or
// reads a device without end. A link is followed to what it names.
// Throws RuntimeError with the path and the system's reason: path not found
// (76), file not found (53), or cannot open (75).
void openUserFile(QFile& file);
