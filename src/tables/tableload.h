// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QIODevice;
class Table;

// Fills the table from the file at `path`, opened read-only and closed again
// before returning. Every row above the new row count is left empty, so a
// shortened file never leaves stale rows behind. Throws RuntimeError (with the
// path as its source): the file cannot be opened, more than 300 records (out
// of range), a record cut short (input past end of file), a value outside the
// 16-bit range or a field too long to be a table's (overflow), reading failed
// (device I/O). Each carries the line where the record at fault starts. A
// failed load keeps the records read before it.
void loadTable(Table& table, const QString& path);

// The records of a table file from a device open for reading, taken as they
// come: the 301st record ends it before anything past the 300th is read. A
// file that looked like UTF-8 and proves not to be is read again from its
// start as code page 932 (a sequential device cannot go back and keeps UTF-8).
// Throws as loadTable, without a source.
void readTable(Table& table, QIODevice& device);
