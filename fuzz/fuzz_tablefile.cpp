// SPDX-License-Identifier: GPL-3.0-or-later
// A table file's bytes through the reader and the load procedure.
// Properties: the row count stays within 0..300 and row 0 stays empty; a
// failure is one of the kinds a table file can end in; no decoded name holds a
// lone surrogate; a load that fails keeps no half record above its rows and
// names the line its record starts on, which lies within the file.
#include "common/runtimeerror.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include <QBuffer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool property, const char* what) {
    if (!property) {
        fprintf(stderr, "property failed: %s\n", what);
        abort();
    }
}

bool wellFormed(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 == text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        } else if (text[i].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    Table table;
    bool failed = false;
    try {
        readTable(table, device);
    } catch (const RuntimeError& e) {
        failed = true;
        const ErrorKind kind = e.kind();
        require(kind == ErrorKind::Overflow || kind == ErrorKind::SubscriptOutOfRange ||
                    kind == ErrorKind::InputPastEndOfFile,
                "a table fails only with overflow, out of range or input past end");
        // UTF-16 has two bytes to a line end; a line is never past the bytes.
        require(e.line() >= 1 && e.line() <= bytes.size() + 1, "a failure names a line within the file");
    }
    const int count = table.rowCount();
    require(count >= 0 && count <= Table::LastRow, "the row count stays within 0..300");
    require(table.row(0).name.isEmpty() && table.row(0).value == 0, "row 0 stays empty");
    for (int n = 1; n <= count; ++n)
        require(wellFormed(table.row(n).name), "a name holds no lone surrogate");
    if (failed && count < Table::LastRow)
        require(table.row(count + 1).name.isEmpty() && table.row(count + 1).value == 0,
                "a failed load keeps no half record");
    return 0;
}
