// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/expenditurewindow.h"

#include "common/datafolder.h"
#include "common/numbers.h"
#include "forms/picturearea.h"
#include "tables/listing.h"
#include "tables/table.h"
#include "tables/tableload.h"

namespace {

// Picture1 always gets rows 1-25, whatever was loaded; Picture2 runs on to the
// end of the table and shows rows 26 to 50.
const Listing expenditureListing{ListingStyle::Zoned, {{1, 25}, {26, std::nullopt}}};

} // namespace

ExpenditureWindow::ExpenditureWindow(WindowHost& host) : WindowObject(host, layout::expenditure()) {}

void ExpenditureWindow::bindControls() {
    m_shown.reset();
    for (int n = 1; n <= int(m_entryBoxes.size()); ++n)
        m_entryBoxes[size_t(n - 1)] = control<QLineEdit>(QStringLiteral("Text%1").arg(n));
    Text17 = control<QLineEdit>(QStringLiteral("Text17"));
    Picture1 = control<PictureArea>(QStringLiteral("Picture1"));
    Picture2 = control<PictureArea>(QStringLiteral("Picture2"));
    Picture3 = control<PictureArea>(QStringLiteral("Picture3"));
    onClick(QStringLiteral("Command1"), [this] { calculate(); });
    onClick(QStringLiteral("Command3"), [this] { list(); });
    onBackToMenu(QStringLiteral("Command2"));
}

void ExpenditureWindow::calculate() {
    m_shown.reset();
    // A sex code that overflows stops the click before anything is cleared.
    const SexFactor sex = readSex(Text17->text());

    // Made for this click only, so no row of an earlier load can count.
    Table table;
    showListing(expenditureListing, {&Picture1->lines(), &Picture2->lines(), &Picture3->lines()}, table,
                tablePath(RmrFileName));

    ExerciseEntries entries;
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = m_entryBoxes[i]->text();
    const qint16 total = exerciseTotal(table, entries);

    const float spent = energy(total, sex);
    Picture3->lines().clear();
    Picture3->lines().printLine(formatSingle(spent));
    m_shown = Calculation{table, entries, sex, spent};
}

std::optional<Handout> ExpenditureWindow::handout() const {
    if (!m_shown)
        return std::nullopt;
    const Calculation& c = *m_shown;
    Handout paper{caption(QStringLiteral("Label1")), layout().name, {}, {}};
    QList<QStringList> rows;
    for (int k = 1; k <= ExerciseRowCount; ++k) {
        const QString& numberText = c.entries[size_t(2 * k - 2)];
        const QString& minutesText = c.entries[size_t(2 * k - 1)];
        if (numberText.trimmed().isEmpty() && minutesText.trimmed().isEmpty())
            continue;
        const TableRow& row = c.table.row(exerciseRowOf(numberText));
        rows.append({formatWhole(exerciseRowOf(numberText)).trimmed(), row.name,
                     formatWhole(row.value).trimmed(),
                     formatWhole(exerciseMinutesOf(minutesText)).trimmed()});
    }
    if (!rows.isEmpty())
        paper.addTable({{QStringLiteral("種目番号"), 14, true},
                        {QStringLiteral("種目"), 56, false},
                        {QStringLiteral("RMR"), 12, true},
                        {QStringLiteral("時間（分）"), 18, true}},
                       rows);
    const QString meaning = caption(c.sex.code == 2 ? QStringLiteral("Label7") : QStringLiteral("Label6"));
    paper.addFigures({{caption(QStringLiteral("Label5")), formatWhole(c.sex.code).trimmed(), meaning},
                      {caption(QStringLiteral("Label9")), formatSingle(c.energy).trimmed(),
                       caption(QStringLiteral("Label8")).trimmed()}});
    return paper;
}

void ExpenditureWindow::list() {
    Table table;
    showListing(expenditureListing, {&Picture1->lines(), &Picture2->lines()}, table, tablePath(RmrFileName));
}
