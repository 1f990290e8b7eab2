// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/runtimeerror.h"
#include "meals/intake.h"
#include "tables/table.h"

#include "testsupport.h"

#include <QTest>

using Entries = QMap<int, QString>; // entry number -> text; the others stay empty
Q_DECLARE_METATYPE(Entries)

namespace {

// Row n of the table holds the calories given for it.
Table tableOf(const QMap<int, int>& calories, int rowCount) {
    Table table;
    for (auto it = calories.begin(); it != calories.end(); ++it)
        table.rowForLoading(it.key()).value = qint16(it.value());
    table.setRowCount(qint16(rowCount));
    return table;
}

IntakeEntries entriesOf(const Entries& given) {
    IntakeEntries entries;
    for (auto it = given.begin(); it != given.end(); ++it)
        entries[size_t(it.key() - 1)] = it.value();
    return entries;
}

const QMap<int, int> SampleCalories{{1, 500}, {2, 620}, {3, 480}, {4, 700}, {7, 350}, {12, 810}};

} // namespace

class TestIntake : public QObject {
    Q_OBJECT
private slots:
    void sums_data();
    void sums();
    void failures_data();
    void failures();
    void onlyTheDayTotalIsChecked();
};

void TestIntake::sums_data() {
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<int>("breakfast");
    QTest::addColumn<int>("lunch");
    QTest::addColumn<int>("dinner");
    QTest::newRow("all boxes empty") << Entries{} << 0 << 0 << 0;
    QTest::newRow("one meal each") << Entries{{1, "1"}, {11, "2"}, {21, "3"}} << 500 << 620 << 480;
    QTest::newRow("same number counted once per box")
        << Entries{{1, "7"}, {2, "7"}, {10, "7"}, {15, "7"}} << 1050 << 350 << 0;
    QTest::newRow("blanks are removed")
        << Entries{{1, " 7"}, {2, "7 "}, {3, "0 7"}, {4, "1 2"}} << 1860 << 0 << 0;
    QTest::newRow("a unit after the number") << Entries{{1, "7kcal"}} << 350 << 0 << 0;
    QTest::newRow("no number adds 0") << Entries{{1, "abc"}, {2, "-"}} << 0 << 0 << 0;
    QTest::newRow("halves round to even") << Entries{{1, "2.5"}, {2, "3.5"}} << 620 + 700 << 0 << 0;
    QTest::newRow("small negative rounds to row 0") << Entries{{1, "-0.4"}, {2, "-0.5"}} << 0 << 0 << 0;
    QTest::newRow("row 300 past the loaded rows adds 0") << Entries{{21, "300"}} << 0 << 0 << 0;
    QTest::newRow("full-width digits from an input method")
        << Entries{{1, "７"}, {11, "\u3000１２"}} << 350 << 810 << 0;
    QTest::newRow("a thousands separator ends the number") << Entries{{1, "1,2"}} << 500 << 0 << 0;
}

void TestIntake::sums() {
    QFETCH(Entries, entries);
    QFETCH(int, breakfast);
    QFETCH(int, lunch);
    QFETCH(int, dinner);
    const IntakeTotals totals = computeIntake(tableOf(SampleCalories, 12), entriesOf(entries));
    QCOMPARE(totals.breakfast, breakfast);
    QCOMPARE(totals.lunch, lunch);
    QCOMPARE(totals.dinner, dinner);
    QCOMPARE(int(totals.day), breakfast + lunch + dinner);
}

void TestIntake::failures_data() {
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("source");
    QTest::newRow("row -1") << Entries{{3, "-1"}} << 9 << "朝食 3";
    QTest::newRow("row 301") << Entries{{20, "301"}} << 9 << "昼食 10";
    QTest::newRow("beyond 32 bits") << Entries{{25, "1E10"}} << 6 << "夕食 5";
    QTest::newRow("-0.6 rounds to -1") << Entries{{1, "-0.6"}} << 9 << "朝食 1";
    QTest::newRow("breakfast is read before lunch")
        << Entries{{11, "-1"}, {10, "999999999999"}} << 6 << "朝食 10";
    QTest::newRow("left to right within a meal") << Entries{{5, "400"}, {6, "1E20"}} << 9 << "朝食 5";
}

void TestIntake::failures() {
    QFETCH(Entries, entries);
    QFETCH(int, errorNumber);
    QFETCH(QString, source);
    const auto error = failureOf([&] { computeIntake(tableOf(SampleCalories, 12), entriesOf(entries)); });
    QVERIFY(error);
    QCOMPARE(error->number(), errorNumber);
    QVERIFY2(error->source().contains(source), qPrintable(error->source()));
}

void TestIntake::onlyTheDayTotalIsChecked() {
    const Table table = tableOf({{1, 30000}, {2, -30000}, {3, 2767}, {4, 2768}, {5, -1}}, 5);
    // 30000 + 30000 - 30000: every meal fits and so does the total.
    IntakeTotals totals = computeIntake(table, entriesOf({{1, "1"}, {11, "1"}, {21, "2"}}));
    QCOMPARE(int(totals.day), 30000);
    // Meal sums past 16 bits are fine on their own.
    totals = computeIntake(table, entriesOf({{1, "1"}, {2, "1"}, {21, "2"}, {22, "2"}, {23, "3"}}));
    QCOMPARE(totals.breakfast, 60000);
    QCOMPARE(totals.dinner, -57233);
    QCOMPARE(int(totals.day), 2767);
    // 32767 is shown, 32768 is the overflow error.
    totals = computeIntake(table, entriesOf({{1, "1"}, {11, "3"}}));
    QCOMPARE(int(totals.day), 32767);
    const auto error = failureOf([&] { computeIntake(table, entriesOf({{1, "1"}, {11, "4"}})); });
    QVERIFY(error);
    QCOMPARE(error->kind(), ErrorKind::Overflow);
    // Negative calories are added as they stand.
    totals = computeIntake(table, entriesOf({{21, "5"}, {22, "5"}}));
    QCOMPARE(totals.dinner, -2);
    QCOMPARE(int(totals.day), -2);
}

QTEST_GUILESS_MAIN(TestIntake)
#include "tst_intake.moc"
