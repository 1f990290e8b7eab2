// SPDX-License-Identifier: GPL-3.0-or-later
#include "meals/setmealwindow.h"

#include "common/datafolder.h"
#include "tables/listing.h"
#include "tables/tableload.h"

namespace {

// Each panel shows 41 lines. Page 1 stops the first three panels at 40 rows,
// so they keep a blank line at the bottom; the last panel runs on to 161.
const Listing firstPage{ListingStyle::Formatted, {{1, 40}, {41, 80}, {81, 120}, {121, std::nullopt}}};
// Page 2 picks up at 162 and lets every panel run to the end of the table, so
// a row past 243 goes into all three; the last panel stays empty.
const Listing secondPage{ListingStyle::Formatted,
                         {{162, std::nullopt}, {203, std::nullopt}, {244, std::nullopt}}};

} // namespace

SetMealWindow::SetMealWindow(WindowHost& host) : WindowObject(host, layout::setMeal()) {}

void SetMealWindow::bindControls() {
    m_shown.reset();
    onClick(QStringLiteral("Command1"), [this] { display(); });
    onClick(QStringLiteral("Command3"), [this] { nextPage(); });
    onBackToMenu(QStringLiteral("Command2"));
}

void SetMealWindow::display() {
    m_shown.reset();
    showListing(firstPage, pictureAreas(4), m_table, tablePath(SetMealFileName));
    m_shown = m_table;
}

void SetMealWindow::nextPage() {
    m_shown.reset();
    showListing(secondPage, pictureAreas(4), m_table, std::nullopt);
    m_shown = m_table;
}

std::optional<Handout> SetMealWindow::handout() const {
    if (!m_shown)
        return std::nullopt;
    return listingHandout(QStringLiteral("定食"), QStringLiteral("kcal"), formattedListingCells(*m_shown));
}
