// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/tableload.h"

#include "common/runtimeerror.h"
#include "common/userfile.h"
#include "tables/table.h"
#include "tables/tablereader.h"

#include <QFile>

namespace {

void readRecords(Table& table, QIODevice& device, TableReader::Decoding decoding) {
    table.reset();
    TableReader reader(device, decoding);
    int count = 0;
    int line = 1;
    try {
        for (;;) {
            line = reader.line();
            if (reader.atEnd())
                break;
            if (count == Table::LastRow)
                throw RuntimeError(ErrorKind::SubscriptOutOfRange);
            TableRow& row = table.rowForLoading(count + 1);
            row.name = reader.readText();
            row.value = reader.readNumber();
            table.setRowCount(qint16(++count));
        }
    } catch (const RuntimeError& e) {
        // Keep the rows read so far, but not half a record above them.
        if (count < Table::LastRow)
            table.rowForLoading(count + 1) = TableRow{};
        // The line the user looks for: where the record at fault starts.
        throw e.atLine(line);
    }
}

} // namespace

void readTable(Table& table, QIODevice& device) {
    try {
        readRecords(table, device, TableReader::Decoding::Decide);
    } catch (const TableReader::NotUtf8&) {
        if (!device.seek(0))
            throw RuntimeError(ErrorKind::DeviceIo, {}, device.errorString());
        readRecords(table, device, TableReader::Decoding::CodePage932);
    }
}

void loadTable(Table& table, const QString& path) {
    table.reset();
    QFile file(path);
    openUserFile(file);
    try {
        readTable(table, file);
    } catch (const RuntimeError& e) {
        throw e.withSource(path);
    }
}
