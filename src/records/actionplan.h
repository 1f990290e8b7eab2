// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The action plan agreed with a client: a goal, the set meals to swap and the
// exercises to take up, and whether together they reach the goal in time.
// Every figure a client reads is a whole kcal, and the sums are of the
// figures as shown, so the page adds up.

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class Table;

struct PlanGoal {
    double weightKg = 2;
    double waistCm = 2;
    int months = 3;
};
// The programme's own target, offered first.
inline constexpr PlanGoal ProgrammeGoal{2, 2, 3};
// Body fat's energy, the figure the programme's materials use.
inline constexpr double KcalPerKg = 7000;

// A set meal the client eats, and one to eat instead (none: left out), so many
// times a week. Names and calories are kept as they were when agreed, so a
// changed table file does not change an old plan.
struct MealSwap {
    QString eaten;
    int eatenKcal = 0;
    QString instead; // empty: left out
    int insteadKcal = 0;
    int timesPerWeek = 0;
};

struct ExerciseHabit {
    QString name;
    int minutes = 0;
    int daysPerWeek = 0;
    double kcalPerSession = 0; // as the expenditure window works it
};

struct ActionPlan {
    QDate start; // the visit's date
    PlanGoal goal;
    QList<MealSwap> meals;
    QList<ExerciseHabit> exercises;
};

// The swap of table rows `eatenRow` and `insteadRow` (0: left out) of the
// set-meal table, the calories read as the intake window reads them.
MealSwap mealSwapFromTable(const Table& setMeals, qint32 eatenRow, qint32 insteadRow, int timesPerWeek);
// Exercise `row` of the RMR table for `minutes`, its energy worked as the
// expenditure window works it for a man or a woman.
ExerciseHabit exerciseFromTable(const Table& rmr, qint32 row, int minutes, int daysPerWeek, bool woman);

// The last day of the plan's period and the days it spans.
QDate planEnd(const ActionPlan& plan);
int planDays(const ActionPlan& plan);
// The goal's energy and what that is a day, rounded up so that saving the
// day's figure reaches the goal in time.
double goalKcal(const PlanGoal& goal);
int neededPerDay(const ActionPlan& plan);
// "2 kg × 7,000 kcal ＝ 14,000 kcal、92 日で割って 1 日あたり 153 kcal"
QString goalArithmetic(const ActionPlan& plan);

// Each action's saving a day, in whole kcal.
int dailyKcal(const MealSwap& swap);
int dailyKcal(const ExerciseHabit& habit);
// "ラーメン定食 → そば定食　週 3 回　1 日あたり 120 kcal"
QString actionText(const MealSwap& swap);
QString actionText(const ExerciseHabit& habit);

struct PlanBalance {
    int perDay = 0;                 // all the actions together
    int needed = 0;                 // the goal's figure
    int remaining = 0;              // still to find a day; 0 when the plan covers it
    std::optional<QDate> reachedOn; // at this pace; none when nothing is saved
    bool inTime = false;            // reached by the end of the period
};
PlanBalance planBalance(const ActionPlan& plan);
// The balance as a client reads it, one line each.
QStringList balanceText(const ActionPlan& plan);

// Kept with its visit in the record file.
QString planToJson(const ActionPlan& plan);
// None for a text that is no plan.
std::optional<ActionPlan> planFromJson(const QString& json);

// A later visit against the plan's: the change in weight and waist, and
// whether each reached the goal. A change is later minus earlier; none
// where either visit lacks the value.
struct PlanEvaluation {
    std::optional<double> weightChangeKg;
    std::optional<double> waistChangeCm;
    bool goalMet = false; // both measured and both lost as much as the goal
};
PlanEvaluation evaluatePlan(const PlanGoal& goal, std::optional<double> weightThen,
                            std::optional<double> waistThen, std::optional<double> weightNow,
                            std::optional<double> waistNow);
// "体重 −2.4 kg、腹囲 −1.0 cm（目標 −2 kg・−2 cm）：目標に届いていません"
QString evaluationText(const PlanGoal& goal, const PlanEvaluation& evaluation);
