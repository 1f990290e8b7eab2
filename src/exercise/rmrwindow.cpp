// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/rmrwindow.h"

#include "common/datafolder.h"
#include "tables/listing.h"
#include "tables/tableload.h"

namespace {

// Each panel shows 20 lines: the first two always get their 20 rows, the
// third runs to the end of the table and shows rows 41 to 60.
const Listing rmrListing{ListingStyle::Formatted, {{1, 20}, {21, 40}, {41, std::nullopt}}};

} // namespace

RmrWindow::RmrWindow(WindowHost& host) : WindowObject(host, layout::rmr()) {}

void RmrWindow::bindControls() {
    m_shown.reset();
    onClick(QStringLiteral("Command1"), [this] { display(); });
    onBackToMenu(QStringLiteral("Command2"));
}

void RmrWindow::display() {
    m_shown.reset();
    showListing(rmrListing, pictureAreas(3), m_table, tablePath(RmrFileName));
    m_shown = m_table;
}

std::optional<Handout> RmrWindow::handout() const {
    if (!m_shown)
        return std::nullopt;
    return listingHandout(QStringLiteral("種目"), QStringLiteral("RMR"), formattedListingCells(*m_shown));
}
