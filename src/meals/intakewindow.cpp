// SPDX-License-Identifier: GPL-3.0-or-later
#include "meals/intakewindow.h"

#include "common/datafolder.h"
#include "common/numbers.h"
#include "common/picturelines.h"
#include "meals/intake.h"
#include "tables/tableload.h"

#include <QLineEdit>

IntakeWindow::IntakeWindow(WindowHost& host) : WindowObject(host, layout::intake()) {}

void IntakeWindow::bindControls() {
    m_shown.reset();
    onClick(QStringLiteral("Command1"), [this] { calculate(); });
    onBackToMenu(QStringLiteral("Command2"));
}

void IntakeWindow::calculate() {
    m_shown.reset();
    loadTable(m_table, tablePath(SetMealFileName));

    // All thirty texts are taken before any is read as a number.
    IntakeEntries entries;
    for (int k = 1; k <= IntakeEntryCount; ++k)
        entries[size_t(k - 1)] = control<QLineEdit>(QStringLiteral("Text%1").arg(k))->text();

    const IntakeTotals totals = computeIntake(m_table, entries);

    const qint64 results[] = {totals.breakfast, totals.lunch, totals.dinner, totals.day};
    const QList<PictureLines*> panels = pictureAreas(4);
    for (int i = 0; i < 4; ++i) {
        panels[i]->clear();
        panels[i]->printLine(formatWhole(results[i]));
    }
    m_shown = Calculation{m_table, entries, totals};
}

std::optional<Handout> IntakeWindow::handout() const {
    if (!m_shown)
        return std::nullopt;
    const Calculation& c = *m_shown;
    Handout paper{caption(QStringLiteral("Label1")), layout().name, {}};
    const QString meals[] = {caption(QStringLiteral("Label5")), caption(QStringLiteral("Label6")),
                             caption(QStringLiteral("Label7"))};
    const QString sumLabels[] = {caption(QStringLiteral("Label9")), caption(QStringLiteral("Label10")),
                                 caption(QStringLiteral("Label11"))};
    const qint64 sums[] = {c.totals.breakfast, c.totals.lunch, c.totals.dinner};
    for (int meal = 0; meal < 3; ++meal) {
        paper.addLine(meals[meal], true);
        QList<QStringList> rows;
        for (int k = meal * 10 + 1; k <= meal * 10 + 10; ++k) {
            const QString& entry = c.entries[size_t(k - 1)];
            if (entry.trimmed().isEmpty())
                continue;
            const qint32 row = intakeEntryRow(entry);
            const bool found = row >= 1 && row <= c.table.rowCount();
            rows.append({formatWhole(row).trimmed(),
                         found ? c.table.row(row).name : QStringLiteral("（該当なし）"),
                         formatWhole(found ? c.table.row(row).value : 0).trimmed()});
        }
        if (!rows.isEmpty())
            paper.addTable({{QStringLiteral("番号"), 12, true},
                            {QStringLiteral("定食"), 68, false},
                            {QStringLiteral("kcal"), 20, true}},
                           rows);
        paper.addFigures({{sumLabels[meal], formatWhole(sums[meal]).trimmed()}});
    }
    paper.addFigures({{caption(QStringLiteral("Label8")), formatWhole(c.totals.day).trimmed(),
                       caption(QStringLiteral("Label12"))}});
    return paper;
}
