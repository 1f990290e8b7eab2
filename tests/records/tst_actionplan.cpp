// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/actionplan.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include <QTest>

// The plan's arithmetic with figures worked by hand: what a day must save,
// what the actions save, and when the goal is reached; the plan kept as JSON
// and read back; a later visit against the goal.
class TestActionPlan : public QObject {
    Q_OBJECT
private slots:
    void balance_data();
    void balance();
    void sampleTables();
    void evaluation_data();
    void evaluation();
};

void TestActionPlan::balance_data() {
    QTest::addColumn<QDate>("start");
    QTest::addColumn<double>("kg");
    QTest::addColumn<int>("months");
    // "eaten>instead*times" (instead 0: left out) and "kcal*days", ';' between.
    QTest::addColumn<QString>("meals");
    QTest::addColumn<QString>("exercises");
    QTest::addColumn<int>("needed");
    QTest::addColumn<int>("perDay");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<QDate>("reachedOn"); // invalid: never
    QTest::addColumn<bool>("inTime");

    const QDate june(2026, 6, 1); // 92 days to 1 September: 14,000 / 92 = 152.2, up to 153
    // clang-format off
    QTest::newRow("swap and walk: 69 + 105") << june << 2.0 << 3 << "480>320*3" << "147.3*5" << 153 << 174 << 0 << QDate(2026, 8, 21) << true;
    QTest::newRow("exactly the day's 153: on the last day") << june << 2.0 << 3 << "1071>0*1" << "" << 153 << 153 << 0 << QDate(2026, 9, 1) << true;
    QTest::newRow("152: a day late") << june << 2.0 << 3 << "1064>0*1" << "" << 153 << 152 << 1 << QDate(2026, 9, 2) << false;
    QTest::newRow("nothing saved") << june << 2.0 << 3 << "" << "" << 153 << 0 << 153 << QDate() << false;
    QTest::newRow("a swap to more calories") << june << 2.0 << 3 << "500>640*7" << "" << 153 << -140 << 293 << QDate() << false;
    QTest::newRow("each action's 3.5 rounds up before the sum") << june << 2.0 << 3 << "" << "3.5*7;3.5*7" << 153 << 8 << 145 << QDate(2031, 3, 17) << false;
    QTest::newRow("1.5 kg: 10,500 / 92") << june << 1.5 << 3 << "" << "700*1" << 115 << 100 << 15 << QDate(2026, 9, 14) << false;
    QTest::newRow("6 months from 31 January: 181 days") << QDate(2026, 1, 31) << 3.0 << 6 << "" << "" << 117 << 0 << 117 << QDate() << false;
    QTest::newRow("from 30 November to 28 February") << QDate(2026, 11, 30) << 2.0 << 3 << "" << "1092*1" << 156 << 156 << 0 << QDate(2027, 2, 28) << true;
    // clang-format on
}

void TestActionPlan::balance() {
    QFETCH(QDate, start);
    QFETCH(double, kg);
    QFETCH(int, months);
    QFETCH(QString, meals);
    QFETCH(QString, exercises);
    ActionPlan plan;
    plan.start = start;
    plan.goal = {kg, 2, months};
    for (const QString& m : meals.split(u';', Qt::SkipEmptyParts))
        plan.meals.append({QStringLiteral("定食A"), m.section(u'>', 0, 0).toInt(), QString(),
                           m.section(u'>', 1).section(u'*', 0, 0).toInt(), m.section(u'*', 1).toInt()});
    for (const QString& e : exercises.split(u';', Qt::SkipEmptyParts))
        plan.exercises.append(
            {QStringLiteral("速歩"), 30, e.section(u'*', 1).toInt(), e.section(u'*', 0, 0).toDouble()});

    const PlanBalance b = planBalance(plan);
    QTEST(b.needed, "needed");
    QTEST(b.perDay, "perDay");
    QTEST(b.remaining, "remaining");
    QTEST(b.reachedOn.value_or(QDate()), "reachedOn");
    QTEST(b.inTime, "inTime");

    // Kept and read back, the plan gives the same page.
    const std::optional<ActionPlan> back = planFromJson(planToJson(plan));
    QVERIFY(back);
    QCOMPARE(balanceText(*back), balanceText(plan));
    QCOMPARE(goalArithmetic(*back), goalArithmetic(plan));
}

void TestActionPlan::sampleTables() {
    Table setMeals;
    loadTable(setMeals, QStringLiteral(YOMORISU_TEST_DATA "/定食.csv"));
    QCOMPARE(actionText(mealSwapFromTable(setMeals, 136, 0, 1)), // 醤油ラーメン, 480 kcal
             QStringLiteral("醤油ラーメン → 食べない　週 1 回　1 日あたり 69 kcal"));

    // 速歩 (RMR 5) for 200 minutes: 1,000 × 0.9821 for a man, × 0.9833 for a woman.
    Table rmr;
    loadTable(rmr, QStringLiteral(YOMORISU_TEST_DATA "/rmr.csv"));
    QCOMPARE(dailyKcal(exerciseFromTable(rmr, 3, 200, 7, false)), 982);
    QCOMPARE(dailyKcal(exerciseFromTable(rmr, 3, 200, 7, true)), 983);
    QVERIFY(!planFromJson(QStringLiteral("{\"version\":2}")));
}

void TestActionPlan::evaluation_data() {
    QTest::addColumn<double>("weightThen");
    QTest::addColumn<double>("weightNow");
    QTest::addColumn<double>("waistThen"); // 0: not measured
    QTest::addColumn<double>("waistNow");
    QTest::addColumn<bool>("met");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("2 kg and 2 cm") << 80.0 << 78.0 << 92.0 << 90.0 << true << "体重 −2.0 kg、腹囲 −2.0 cm（目標 −2 kg・−2 cm）：目標を達成しました";
    QTest::newRow("65.1 to 63.1 is 2.0 lost, not 1.99999") << 65.1 << 63.1 << 90.1 << 88.1 << true << "";
    QTest::newRow("1.9 kg short") << 80.0 << 78.1 << 92.0 << 89.0 << false << "体重 −1.9 kg、腹囲 −3.0 cm（目標 −2 kg・−2 cm）：目標に届いていません";
    QTest::newRow("gained") << 80.0 << 81.5 << 92.0 << 92.0 << false << "体重 +1.5 kg、腹囲 0.0 cm（目標 −2 kg・−2 cm）：目標に届いていません";
    QTest::newRow("no waist now") << 80.0 << 75.0 << 92.0 << 0.0 << false << "腹囲 未測定";
    // clang-format on
}

void TestActionPlan::evaluation() {
    QFETCH(double, weightThen);
    QFETCH(double, weightNow);
    QFETCH(double, waistThen);
    QFETCH(double, waistNow);
    QFETCH(QString, text);
    const auto value = [](double v) { return v > 0 ? std::optional<double>(v) : std::nullopt; };
    const PlanEvaluation e =
        evaluatePlan(ProgrammeGoal, weightThen, value(waistThen), weightNow, value(waistNow));
    QTEST(e.goalMet, "met");
    QVERIFY2(evaluationText(ProgrammeGoal, e).contains(text), qPrintable(evaluationText(ProgrammeGoal, e)));
}

QTEST_APPLESS_MAIN(TestActionPlan)
#include "tst_actionplan.moc"
