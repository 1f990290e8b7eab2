// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

// One row of a table file: an exercise or a set meal with its RMR value or
// calories.
struct TableRow {
    QString name;
    qint16 value = 0;
};

// Rows 0..300 and the number of records the last load read. Row 0 is never
// filled: an entry of 0 in the calculation windows selects it and adds 0.
class Table {
public:
    static constexpr int LastRow = 300;

    // Row n for 0 <= n <= 300; any other index is the out-of-range error.
    const TableRow& row(qint64 n) const;
    qint16 rowCount() const { return m_rowCount; }

    // Used by the loader only.
    void reset();
    TableRow& rowForLoading(int n);
    void setRowCount(qint16 count) { m_rowCount = count; }

private:
    std::array<TableRow, LastRow + 1> m_rows{};
    qint16 m_rowCount = 0;
};
