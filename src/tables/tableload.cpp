#include "tables/tableload.h"

#include "common/runtimeerror.h"
#include "tables/table.h"
#include "tables/tablereader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

RuntimeError openError(const QString& path) {
    const QFileInfo info(path);
    if (!info.dir().exists())
        return RuntimeError(ErrorKind::PathNotFound, path);
    if (!info.exists())
        return RuntimeError(ErrorKind::FileNotFound, path);
    return RuntimeError(ErrorKind::FileAccess, path);
}

} // namespace

void loadTable(Table& table, const QString& path) {
    table.reset();
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw openError(path);

    TableReader reader(file);
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(ErrorKind::DeviceIo, path);
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
