// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/windowobject.h"
#include "tables/table.h"

// RMR: lists the exercises of rmr.csv with their numbers and RMR values.
class RmrWindow : public WindowObject {
    Q_OBJECT
public:
    explicit RmrWindow(WindowHost& host);

    // The RMR table of the last display; it outlives the on-screen part.
    const Table& table() const { return m_table; }

    // 表　　　　示: loads rmr.csv and lists it over the three panels.
    void display();

protected:
    void bindControls() override;
    std::optional<Handout> handout() const override;
    QString handoutButton() const override { return QStringLiteral("Command1"); }

private:
    Table m_table;
    // The table as the last completed 表示 showed it.
    std::optional<Table> m_shown;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& rmr(); // RMR
}
