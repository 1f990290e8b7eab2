// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/record.h"

#include <QList>

class QIODevice;

// A client's visits as a CSV file that a spreadsheet on a Japanese Windows
// opens right by a double-click: UTF-8 with a byte-order mark, one header
// row, dates as YYYY-MM-DD, CRLF line ends, fields quoted where needed.
// Returns false when the device would not take the bytes.
bool writeVisitsCsv(QIODevice& device, const QList<Visit>& visits);
