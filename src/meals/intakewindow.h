// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tables/table.h"
#include "windows/windowobject.h"

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

private:
    Table m_table;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& intake(); // 摂取
}
