// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/backgroundwork.h"
#include "forms/host.h"
#include "print/handout.h"
#include "records/actionplan.h"
#include "records/record.h"
#include "records/supportlevel.h"
#include "tables/table.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QSpinBox;

// Where a visit's plan is kept: the record file in the program, a stand-in
// in tests.
class PlanKeeper {
public:
    virtual ~PlanKeeper() = default;
    virtual std::optional<QString> plan(qint64 visitId) const = 0;
    // Keeps the plan; the empty text when it was kept, else why not, in
    // words for the user.
    virtual QString savePlan(qint64 visitId, const QString& json) = 0;
};

// The handout "行動計画" a client takes home: who and when, the level of
// support and why, the goal, the actions, the balance, and a table of the
// weeks by the actions to tick.
Handout actionPlanHandout(const Client& client, const SupportAssessment& support, const ActionPlan& plan);

// The window "行動計画": a goal, set meals to swap and exercises, chosen from
// the user's tables for one client's visit, with what they add up to.
class ActionPlanWindow : public QWidget {
    Q_OBJECT
public:
    ActionPlanWindow(WindowHost& host, PlanKeeper& keeper, const Client& client, const Visit& visit,
                     QWidget* parent = nullptr);
    ~ActionPlanWindow() override;

    const ActionPlan& plan() const { return m_plan; }
    Handout handout() const;
    // The ファイル menu's two items.
    void printHandout();
    void saveHandout();
    // Keeps the plan with its visit.
    void keep();

signals:
    // The plan was kept with its visit.
    void kept();

private:
    void loadTables();
    QWidget* makeGoal();
    QWidget* makeMeals();
    QWidget* makeExercises();
    // One kind of action (`kind`: 食事 or 運動): its choices, a button adding
    // one to `list` below them, and one taking the chosen one off.
    QWidget* actionGroup(const QString& title, const QString& kind,
                         const QList<std::pair<QString, QWidget*>>& choices, QListWidget*& list,
                         void (ActionPlanWindow::*add)(), bool meals);
    void addMeal();
    void addExercise();
    void removeSelected(QListWidget* list, bool meals);
    void readGoal();
    void refresh();

    WindowHost& m_host;
    PlanKeeper& m_keeper;
    Client m_client;
    Visit m_visit;
    SupportAssessment m_support;
    ActionPlan m_plan;
    Table m_setMeals;
    Table m_rmr;
    BackgroundWork m_work;

    QDoubleSpinBox* m_goalWeight = nullptr;
    QDoubleSpinBox* m_goalWaist = nullptr;
    QSpinBox* m_goalMonths = nullptr;
    QLabel* m_goalArithmetic = nullptr;
    QComboBox* m_eaten = nullptr;
    QComboBox* m_instead = nullptr;
    QSpinBox* m_timesPerWeek = nullptr;
    QListWidget* m_mealList = nullptr;
    QComboBox* m_exercise = nullptr;
    QSpinBox* m_minutes = nullptr;
    QSpinBox* m_daysPerWeek = nullptr;
    QListWidget* m_exerciseList = nullptr;
    QLabel* m_balance = nullptr;
    QLabel* m_kept = nullptr;
};
