// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/listing.h"

#include "common/numbers.h"
#include "common/picturelines.h"
#include "tables/table.h"
#include "tables/tableload.h"

namespace {

const QString gap = QStringLiteral("   ");

// The row number as the formatted style prints it, with the gap after it.
QString formattedNumber(int rowNumber) {
    return QString::number(rowNumber) + gap;
}

// The gap before the value, and the value; a zero value leaves only the space.
QString formattedValue(qint16 value) {
    QString text = gap;
    if (value < 0)
        text += u'-';
    text += u' ';
    if (value != 0)
        text += QString::number(qAbs(qint32(value)));
    return text;
}

} // namespace

QString formattedListingRow(int rowNumber, const TableRow& row) {
    return formattedNumber(rowNumber) + row.name + formattedValue(row.value);
}

QList<QStringList> formattedListingCells(const Table& table) {
    QList<QStringList> cells;
    for (int n = 1; n <= table.rowCount(); ++n) {
        const TableRow& row = table.row(n);
        cells.append({formattedNumber(n).trimmed(), row.name, formattedValue(row.value).trimmed()});
    }
    return cells;
}

void printListingRow(PictureLines& panel, ListingStyle style, const Table& table, int rowNumber) {
    const TableRow& row = table.row(rowNumber);
    // The name gives way where a row is wider than its panel: the number and
    // the value are what the user looks the row up for.
    switch (style) {
    case ListingStyle::Formatted:
        panel.print(formattedNumber(rowNumber));
        panel.printYielding(row.name);
        panel.print(formattedValue(row.value));
        break;
    case ListingStyle::Zoned:
        panel.print(formatWhole(rowNumber));
        panel.nextZone();
        panel.printYielding(row.name);
        panel.nextZone();
        panel.print(formatWhole(row.value));
        break;
    }
    panel.endLine();
}

void listRange(PictureLines& panel, ListingStyle style, const Table& table, int first, int last) {
    for (int n = first; n <= last; ++n)
        printListingRow(panel, style, table, n);
}

void showListing(const Listing& listing, const QList<PictureLines*>& panels, Table& table,
                 const std::optional<QString>& loadPath) {
    Q_ASSERT(listing.ranges.size() <= panels.size());
    for (PictureLines* panel : panels)
        panel->clear();
    if (loadPath)
        loadTable(table, *loadPath);
    for (qsizetype i = 0; i < listing.ranges.size(); ++i) {
        const ListingRange& range = listing.ranges[i];
        listRange(*panels[i], listing.style, table, range.first, range.last.value_or(table.rowCount()));
    }
}
