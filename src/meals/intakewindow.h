// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/windowobject.h"
#include "meals/intake.h"
#include "tables/table.h"

// 摂取: adds up the calories of the set meals eaten at breakfast, lunch and
// dinner into the day's intake.
class IntakeWindow : public WindowObject {
    Q_OBJECT
public:
    explicit IntakeWindow(WindowHost& host);

    // The set-meal table of the last calculation; it outlives the on-screen part.
    const Table& table() const { return m_table; }

    // 計　　算: loads the set-meal table, then prints the three meal sums
    // and the day total.
    void calculate();

protected:
    void bindControls() override;
    std::optional<Handout> handout() const override;
    QString handoutButton() const override { return QStringLiteral("Command1"); }

private:
    Table m_table;
    // What the last completed 計　　算 read and showed.
    struct Calculation {
        Table table;
        IntakeEntries entries;
        IntakeTotals totals;
    };
    std::optional<Calculation> m_shown;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& intake(); // 摂取
}
