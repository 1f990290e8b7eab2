#include "meals/intakewindow.h"

#include "common/numbers.h"
#include "meals/intake.h"
#include "tables/tableload.h"
#include "windows/picturearea.h"

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
    for (int i = 0; i < 4; ++i) {
        PrintedLines& panel = control<PictureArea>(QStringLiteral("Picture%1").arg(i + 1))->lines();
        panel.clear();
        panel.printLine(formatWhole(results[i]));
    }
}
