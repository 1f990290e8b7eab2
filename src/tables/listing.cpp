// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/listing.h"

#include "common/numbers.h"
#include "common/printedlines.h"
#include "tables/table.h"
#include "tables/tableload.h"

QString formattedListingRow(int rowNumber, const TableRow& row) {
    static const QString gap = QStringLiteral("   ");
    QString value;
    if (row.value < 0)
        value += u'-';
    value += u' ';
    // A zero value leaves only the space behind.
    if (row.value != 0)
        value += QString::number(qAbs(qint32(row.value)));
    return QString::number(rowNumber) + gap + row.name + gap + value;
}

void printListingRow(PrintedLines& panel, ListingStyle style, const Table& table, int rowNumber) {
    const TableRow& row = table.row(rowNumber);
    switch (style) {
    case ListingStyle::Formatted:
        panel.print(formattedListingRow(rowNumber, row));
        break;
    case ListingStyle::Zoned:
        panel.print(formatWhole(rowNumber));
        panel.nextZone();
        panel.print(row.name);
        panel.nextZone();
        panel.print(formatWhole(row.value));
        break;
    }
    panel.endLine();
}

void listRange(PrintedLines& panel, ListingStyle style, const Table& table, int first, int last) {
    for (int n = first; n <= last; ++n)
        printListingRow(panel, style, table, n);
}

void showListing(const Listing& listing, const QList<PrintedLines*>& panels, Table& table,
                 const std::optional<QString>& loadPath) {
    Q_ASSERT(listing.ranges.size() <= panels.size());
    for (PrintedLines* panel : panels)
        panel->clear();
    if (loadPath)
        loadTable(table, *loadPath);
    for (qsizetype i = 0; i < listing.ranges.size(); ++i) {
        const ListingRange& range = listing.ranges[i];
        listRange(*panels[i], listing.style, table, range.first, range.last.value_or(table.rowCount()));
    }
}
