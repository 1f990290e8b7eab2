// SPDX-License-Identifier: GPL-3.0-or-later
#include "meals/intakewindow.h"

#include "common/datafolder.h"
#include "common/numbers.h"
#include "common/printedlines.h"
#include "meals/intake.h"
#include "tables/tableload.h"

#include <QLineEdit>

IntakeWindow::IntakeWindow(WindowHost& host) : WindowObject(host, layout::intake()) {}

void IntakeWindow::bindControls() {
    onClick(QStringLiteral("Command1"), [this] { calculate(); });
    onBackToMenu(QStringLiteral("Command2"));
}

void IntakeWindow::calculate() {
    loadTable(m_table, tablePath(SetMealFileName));

    // All thirty texts are taken before any is read as a number.
    IntakeEntries entries;
    for (int k = 1; k <= IntakeEntryCount; ++k)
        entries[size_t(k - 1)] = control<QLineEdit>(QStringLiteral("Text%1").arg(k))->text();

    const IntakeTotals totals = computeIntake(m_table, entries);

    const qint64 results[] = {totals.breakfast, totals.lunch, totals.dinner, totals.day};
    const QList<PrintedLines*> panels = pictureAreas(4);
    for (int i = 0; i < 4; ++i) {
        panels[i]->clear();
        panels[i]->printLine(formatWhole(results[i]));
    }
}
