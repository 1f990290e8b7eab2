#include "tables/tableload.h"

#include "common/runtimeerror.h"
#include "common/userfile.h"
#include "tables/table.h"
#include "tables/tablereader.h"

#include <QFile>

void readTable(Table& table, QIODevice& device) {
    table.reset();
    TableReader reader(device);
    int count = 0;
    try {
        while (!reader.atEnd()) {
            if (count == Table::LastRow)
                throw RuntimeError(ErrorKind::SubscriptOutOfRange);
            TableRow& row = table.rowForLoading(count + 1);
            row.name = reader.readText();
            row.value = reader.readNumber();
            table.setRowCount(qint16(++count));
        }
    } catch (const RuntimeError&) {
        // Keep the rows read so far, but not half a record above them.
        if (count < Table::LastRow)
            table.rowForLoading(count + 1) = TableRow{};
        throw;
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
