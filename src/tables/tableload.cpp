#include "tables/tableload.h"

#include "common/runtimeerror.h"
#include "common/userfile.h"
#include "tables/table.h"
#include "tables/tablereader.h"

#include <QFile>

void loadTable(Table& table, const QString& path) {
    table.reset();
    QFile file(path);
    openUserFile(file);

    TableReader reader(file);
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(ErrorKind::DeviceIo, path, file.errorString());
    file.close();

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
    } catch (const RuntimeError& e) {
        // Keep the rows read so far, but not half a record above them.
        if (count < Table::LastRow)
            table.rowForLoading(count + 1) = TableRow{};
        throw e.withSource(path);
    }
}
