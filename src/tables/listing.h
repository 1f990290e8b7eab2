// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class PictureLines;
class Table;
struct TableRow;

// How a table is shown to the user: one printed line per table row, spread
// over the side-by-side picture areas (panels) of a window.

enum class ListingStyle {
    // Row number, name and value run together with blanks between them.
    Formatted,
    // Row number, name and value each start at a print zone.
    Zoned,
};

// The rows one panel receives. A fixed range is printed in full whatever the
// row count; an open range (no `last`) ends at the row count as it stands when
// the range starts.
struct ListingRange {
    int first = 1;
    std::optional<int> last;
};

// Which rows go where, in which style. Range i goes into panel i; panels past
// the last range are cleared and left empty.
struct Listing {
    ListingStyle style = ListingStyle::Formatted;
    QList<ListingRange> ranges;
};

// The text of one row in the formatted style, e.g. "1   散歩    3". The name is
// printed whole: never cut, never padded.
QString formattedListingRow(int rowNumber, const TableRow& row);

// Rows 1 to the row count as the formatted style shows them, one text each
// for the number, the name and the value: what a listing puts on paper.
QList<QStringList> formattedListingCells(const Table& table);

// Prints row `rowNumber` (0..300) of the table into the panel and ends the
// line. The name is printed as the text that gives way where the row is wider
// than its panel, so the number and the value show whole.
void printListingRow(PictureLines& panel, ListingStyle style, const Table& table, int rowNumber);

// Prints rows first..last in order; nothing when last is below first.
void listRange(PictureLines& panel, ListingStyle style, const Table& table, int first, int last);

// The one panel listing every window uses: clears the panels in order, loads
// the table from `loadPath` when one is given, then lists each range into its
// panel. A failed load leaves the panels cleared and prints nothing.
void showListing(const Listing& listing, const QList<PictureLines*>& panels, Table& table,
                 const std::optional<QString>& loadPath);
