// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exercise/energy.h"
#include "forms/windowobject.h"
#include "tables/table.h"

#include <QLineEdit>
#include <QPointer>

#include <array>

class PictureArea;

// 消費: the energy spent on up to eight exercises, beside a listing of the RMR
// table to look the exercise numbers up in.
class ExpenditureWindow : public WindowObject {
    Q_OBJECT
public:
    explicit ExpenditureWindow(WindowHost& host);

    // 　計　　　算: reads the sex code, lists the RMR table afresh, then prints
    // the energy of the entry rows into Picture3.
    void calculate();
    // RMR表示: lists the RMR table afresh; Picture3 and the boxes stay as they are.
    void list();

protected:
    void bindControls() override;
    std::optional<Handout> handout() const override;
    QString handoutButton() const override { return QStringLiteral("Command1"); }

private:
    // What the last completed 計　　　算 read and showed.
    struct Calculation {
        Table table;
        ExerciseEntries entries;
        SexFactor sex;
        float energy = 0;
    };
    std::optional<Calculation> m_shown;
    // Text1..Text16: entry row k's exercise number, then its minutes.
    std::array<QPointer<QLineEdit>, 2 * ExerciseRowCount> m_entryBoxes;
    QPointer<QLineEdit> Text17;
    QPointer<PictureArea> Picture1;
    QPointer<PictureArea> Picture2;
    QPointer<PictureArea> Picture3;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& expenditure(); // 消費
}
