// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/actionplan.h"

#include "exercise/energy.h"
#include "meals/intake.h"
#include "tables/table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace {

constexpr double DaysPerWeek = 7;

// Thousands grouped, as the programme's own leaflets print energy.
QString kcal(double value) {
    return QLocale(QLocale::English).toString(qint64(value));
}

// As the handouts date their pages: "2026年8月20日".
QString japaneseDate(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QString figure(double value) {
    return QString::number(value, 'g', 6);
}

// A change with its sign, minus as a client's page writes it.
QString signedFigure(double value) {
    const QString text = QString::number(std::abs(value), 'f', 1);
    return value < 0 ? QStringLiteral("−") + text : value > 0 ? QStringLiteral("+") + text : text;
}

} // namespace

MealSwap mealSwapFromTable(const Table& setMeals, qint32 eatenRow, qint32 insteadRow, int timesPerWeek) {
    // One entry through the intake's own sum, so a row reads as it does there.
    const auto calories = [&](qint32 row) {
        IntakeEntries entries;
        entries[0] = QString::number(row);
        return int(computeIntake(setMeals, entries).day);
    };
    MealSwap swap;
    swap.eaten = setMeals.row(eatenRow).name;
    swap.eatenKcal = calories(eatenRow);
    if (insteadRow != 0) {
        swap.instead = setMeals.row(insteadRow).name;
        swap.insteadKcal = calories(insteadRow);
    }
    swap.timesPerWeek = timesPerWeek;
    return swap;
}

ExerciseHabit exerciseFromTable(const Table& rmr, qint32 row, int minutes, int daysPerWeek, bool woman) {
    ExerciseEntries entries;
    entries[0] = QString::number(row);
    entries[1] = QString::number(minutes);
    ExerciseHabit habit;
    habit.name = rmr.row(row).name;
    habit.minutes = minutes;
    habit.daysPerWeek = daysPerWeek;
    // The sex box's codes: 2 a woman, 1 a man.
    habit.kcalPerSession = computeEnergy(rmr, entries, woman ? QStringLiteral("2") : QStringLiteral("1"));
    return habit;
}

QDate planEnd(const ActionPlan& plan) {
    return plan.start.addMonths(plan.goal.months);
}

int planDays(const ActionPlan& plan) {
    return int(plan.start.daysTo(planEnd(plan)));
}

double goalKcal(const PlanGoal& goal) {
    return goal.weightKg * KcalPerKg;
}

int neededPerDay(const ActionPlan& plan) {
    const int days = planDays(plan);
    return days > 0 ? int(std::ceil(goalKcal(plan.goal) / days)) : 0;
}

QString goalArithmetic(const ActionPlan& plan) {
    return QStringLiteral("%1 kg × %2 kcal ＝ %3 kcal、%4 日（%5〜%6）で割って 1 日あたり %7 kcal")
        .arg(figure(plan.goal.weightKg), kcal(KcalPerKg), kcal(goalKcal(plan.goal)))
        .arg(planDays(plan))
        .arg(japaneseDate(plan.start), japaneseDate(planEnd(plan)))
        .arg(neededPerDay(plan));
}

int dailyKcal(const MealSwap& swap) {
    return int(std::lround((swap.eatenKcal - swap.insteadKcal) * swap.timesPerWeek / DaysPerWeek));
}

int dailyKcal(const ExerciseHabit& habit) {
    return int(std::lround(habit.kcalPerSession * habit.daysPerWeek / DaysPerWeek));
}

QString actionText(const MealSwap& swap) {
    return QStringLiteral("%1 → %2　週 %3 回　1 日あたり %4 kcal")
        .arg(swap.eaten, swap.instead.isEmpty() ? QStringLiteral("食べない") : swap.instead)
        .arg(swap.timesPerWeek)
        .arg(dailyKcal(swap));
}

QString actionText(const ExerciseHabit& habit) {
    return QStringLiteral("%1 %2 分　週 %3 日　1 日あたり %4 kcal")
        .arg(habit.name)
        .arg(habit.minutes)
        .arg(habit.daysPerWeek)
        .arg(dailyKcal(habit));
}

PlanBalance planBalance(const ActionPlan& plan) {
    PlanBalance b;
    for (const MealSwap& swap : plan.meals)
        b.perDay += dailyKcal(swap);
    for (const ExerciseHabit& habit : plan.exercises)
        b.perDay += dailyKcal(habit);
    b.needed = neededPerDay(plan);
    b.remaining = std::max(0, b.needed - b.perDay);
    if (b.perDay > 0) {
        b.reachedOn = plan.start.addDays(qint64(std::ceil(goalKcal(plan.goal) / b.perDay)));
        b.inTime = *b.reachedOn <= planEnd(plan);
    }
    return b;
}

QStringList balanceText(const ActionPlan& plan) {
    const PlanBalance b = planBalance(plan);
    QStringList lines{QStringLiteral("1 日あたり 合計 %1 kcal（目標 %2 kcal）").arg(b.perDay).arg(b.needed)};
    if (!b.reachedOn) {
        lines << QStringLiteral(
                     "この計画では目標に届きません。1 日あたり %1 kcal を減らす行動を決めましょう。")
                     .arg(b.remaining);
        return lines;
    }
    if (b.remaining > 0)
        lines << QStringLiteral("あと 1 日あたり %1 kcal").arg(b.remaining);
    if (b.inTime)
        lines << QStringLiteral("このペースで %1 に目標に届きます。").arg(japaneseDate(*b.reachedOn));
    else
        lines << QStringLiteral("このペースでは期間内（%1 まで）に目標に届きません。届くのは %2 です。")
                     .arg(japaneseDate(planEnd(plan)), japaneseDate(*b.reachedOn));
    return lines;
}

QString planToJson(const ActionPlan& plan) {
    QJsonArray meals;
    for (const MealSwap& m : plan.meals)
        meals.append(QJsonObject{{QStringLiteral("eaten"), m.eaten},
                                 {QStringLiteral("eatenKcal"), m.eatenKcal},
                                 {QStringLiteral("instead"), m.instead},
                                 {QStringLiteral("insteadKcal"), m.insteadKcal},
                                 {QStringLiteral("timesPerWeek"), m.timesPerWeek}});
    QJsonArray exercises;
    for (const ExerciseHabit& e : plan.exercises)
        exercises.append(QJsonObject{{QStringLiteral("name"), e.name},
                                     {QStringLiteral("minutes"), e.minutes},
                                     {QStringLiteral("daysPerWeek"), e.daysPerWeek},
                                     {QStringLiteral("kcalPerSession"), e.kcalPerSession}});
    const QJsonObject root{
        {QStringLiteral("version"), 1},
        {QStringLiteral("start"), plan.start.toString(Qt::ISODate)},
        {QStringLiteral("weightKg"), plan.goal.weightKg},
        {QStringLiteral("waistCm"), plan.goal.waistCm},
        {QStringLiteral("months"), plan.goal.months},
        {QStringLiteral("meals"), meals},
        {QStringLiteral("exercises"), exercises},
    };
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

std::optional<ActionPlan> planFromJson(const QString& json) {
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QStringLiteral("version")).toInt() != 1)
        return std::nullopt;
    ActionPlan plan;
    plan.start = QDate::fromString(root.value(QStringLiteral("start")).toString(), Qt::ISODate);
    plan.goal.weightKg = root.value(QStringLiteral("weightKg")).toDouble();
    plan.goal.waistCm = root.value(QStringLiteral("waistCm")).toDouble();
    plan.goal.months = root.value(QStringLiteral("months")).toInt();
    if (!plan.start.isValid() || plan.goal.months <= 0)
        return std::nullopt;
    for (const QJsonValue& v : root.value(QStringLiteral("meals")).toArray()) {
        const QJsonObject m = v.toObject();
        plan.meals.append(
            {m.value(QStringLiteral("eaten")).toString(), m.value(QStringLiteral("eatenKcal")).toInt(),
             m.value(QStringLiteral("instead")).toString(), m.value(QStringLiteral("insteadKcal")).toInt(),
             m.value(QStringLiteral("timesPerWeek")).toInt()});
    }
    for (const QJsonValue& v : root.value(QStringLiteral("exercises")).toArray()) {
        const QJsonObject e = v.toObject();
        plan.exercises.append({e.value(QStringLiteral("name")).toString(),
                               e.value(QStringLiteral("minutes")).toInt(),
                               e.value(QStringLiteral("daysPerWeek")).toInt(),
                               e.value(QStringLiteral("kcalPerSession")).toDouble()});
    }
    return plan;
}

PlanEvaluation evaluatePlan(const PlanGoal& goal, std::optional<double> weightThen,
                            std::optional<double> waistThen, std::optional<double> weightNow,
                            std::optional<double> waistNow) {
    PlanEvaluation e;
    if (weightThen && weightNow)
        e.weightChangeKg = *weightNow - *weightThen;
    if (waistThen && waistNow)
        e.waistChangeCm = *waistNow - *waistThen;
    // Compared in tenths, as the values are typed, so 2.0 lost is 2 lost.
    const auto reached = [](double change, double target) {
        return std::lround(-change * 10) >= std::lround(target * 10);
    };
    e.goalMet = e.weightChangeKg && e.waistChangeCm && reached(*e.weightChangeKg, goal.weightKg) &&
                reached(*e.waistChangeCm, goal.waistCm);
    return e;
}

QString evaluationText(const PlanGoal& goal, const PlanEvaluation& evaluation) {
    const QString weight = evaluation.weightChangeKg
                               ? signedFigure(*evaluation.weightChangeKg) + QStringLiteral(" kg")
                               : QStringLiteral("未測定");
    const QString waist = evaluation.waistChangeCm
                              ? signedFigure(*evaluation.waistChangeCm) + QStringLiteral(" cm")
                              : QStringLiteral("未測定");
    return QStringLiteral("体重 %1、腹囲 %2（目標 −%3 kg・−%4 cm）：%5")
        .arg(weight, waist, figure(goal.weightKg), figure(goal.waistCm),
             evaluation.goalMet ? QStringLiteral("目標を達成しました")
                                : QStringLiteral("目標に届いていません"));
}
