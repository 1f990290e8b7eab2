// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/windowobject.h"
#include "tables/table.h"

// 定食1: lists the set meals of 定食.csv with their numbers and calories, on
// two pages of four panels.
class SetMealWindow : public WindowObject {
    Q_OBJECT
public:
    explicit SetMealWindow(WindowHost& host);

    // The set-meal table of the last display; it outlives the on-screen part,
    // so the next page of a reopened window still has something to show.
    const Table& table() const { return m_table; }

    // 表　　　　示: loads 定食.csv and shows rows 1 to 161.
    void display();
    // 次のページ: shows rows 162 onwards from the table in memory.
    void nextPage();

protected:
    void bindControls() override;
    std::optional<Handout> handout() const override;
    QString handoutButton() const override { return QStringLiteral("Command1"); }

private:
    Table m_table;
    // The table as the last completed 表示 or 次のページ showed it.
    std::optional<Table> m_shown;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& setMeal(); // 定食1
}
