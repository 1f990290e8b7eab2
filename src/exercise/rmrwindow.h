// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tables/table.h"
#include "windows/windowobject.h"

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

private:
    Table m_table;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& rmr(); // RMR
}
