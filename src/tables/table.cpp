// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/table.h"

#include "common/runtimeerror.h"

const TableRow& Table::row(qint64 n) const {
    if (n < 0 || n > LastRow)
        throw RuntimeError(ErrorKind::SubscriptOutOfRange);
    return m_rows[size_t(n)];
}

TableRow& Table::rowForLoading(int n) {
    if (n < 1 || n > LastRow)
        throw RuntimeError(ErrorKind::SubscriptOutOfRange);
    return m_rows[size_t(n)];
}

void Table::reset() {
    m_rows.fill(TableRow{});
    m_rowCount = 0;
}
