#include "app/shell.h"
#include "meals/intake.h"
#include "shellfixture.h"
#include "tables/table.h"
#include "tables/tableload.h"
#include "windows/picturearea.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

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

    // The 摂取 window, driven through its buttons.
    void init();
    void cleanup();
    void emptyBoxesShowZeroInEveryPanel();
    void calculatePrintsTheFourResults();
    void failureLeavesPanelsAndTextsAndKeepsRunning();
    void missingFileLeavesPanelsUnchanged();
    void tableSurvivesReopeningButBoxesDoNot();

private:
    QLineEdit* box(int k);
    QString panel(int i);
    void type(int k, const QString& text);
    void clickCalculate();

    std::unique_ptr<ShellFixture> m_app;
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
    try {
        computeIntake(tableOf(SampleCalories, 12), entriesOf(entries));
        QFAIL("the calculation did not fail");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), errorNumber);
        QVERIFY2(e.source().contains(source), qPrintable(e.source()));
    }
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
    try {
        computeIntake(table, entriesOf({{1, "1"}, {11, "4"}}));
        QFAIL("a day total of 32768 did not fail");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.kind(), ErrorKind::Overflow);
    }
    // Negative calories are added as they stand.
    totals = computeIntake(table, entriesOf({{21, "5"}, {22, "5"}}));
    QCOMPARE(totals.dinner, -2);
    QCOMPARE(int(totals.day), -2);
}

void TestIntake::init() {
    m_app = std::make_unique<ShellFixture>();
    writeTableFile(
        m_app->dir, SetMealFileName,
        QStringLiteral("焼き魚定食,550\r\nとんかつ定食,900\r\n\"親子丼,みそ汁付\",720\r\nかけそば,-10\r\n"));
    m_app->shell.open<IntakeWindow>();
}

void TestIntake::cleanup() {
    m_app.reset();
}

QLineEdit* TestIntake::box(int k) {
    return m_app->shell.window<IntakeWindow>().control<QLineEdit>(QStringLiteral("Text%1").arg(k));
}

QString TestIntake::panel(int i) {
    return m_app->shell.window<IntakeWindow>()
        .control<PictureArea>(QStringLiteral("Picture%1").arg(i))
        ->lines()
        .text();
}

void TestIntake::type(int k, const QString& text) {
    box(k)->clear();
    QTest::keyClicks(box(k), text);
}

void TestIntake::clickCalculate() {
    ShellFixture::click(m_app->shell.window<IntakeWindow>(), QStringLiteral("Command1"));
}

void TestIntake::emptyBoxesShowZeroInEveryPanel() {
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(panel(i), QString());
    clickCalculate();
    QVERIFY(m_app->errors.errors.isEmpty());
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(panel(i), QStringLiteral(" 0 "));
}

void TestIntake::calculatePrintsTheFourResults() {
    type(1, QStringLiteral("1"));
    type(2, QStringLiteral("3"));
    type(11, QStringLiteral("2"));
    type(21, QStringLiteral("4"));
    type(30, QStringLiteral("4"));
    clickCalculate();
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(panel(1), QStringLiteral(" 1270 "));
    QCOMPARE(panel(2), QStringLiteral(" 900 "));
    QCOMPARE(panel(3), QStringLiteral("-20 "));
    QCOMPARE(panel(4), QStringLiteral(" 2150 "));
    // Pressing again with the same entries shows the same figures, once each.
    clickCalculate();
    QCOMPARE(panel(4), QStringLiteral(" 2150 "));
    QCOMPARE(m_app->shell.window<IntakeWindow>()
                 .control<PictureArea>(QStringLiteral("Picture4"))
                 ->lines()
                 .lineCount(),
             1);
}

void TestIntake::failureLeavesPanelsAndTextsAndKeepsRunning() {
    type(1, QStringLiteral("2"));
    clickCalculate();
    QCOMPARE(panel(1), QStringLiteral(" 900 "));

    type(5, QStringLiteral("301"));
    type(12, QStringLiteral("-1"));
    clickCalculate();
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), 9);
    QVERIFY(m_app->errors.errors[0].source().contains(QStringLiteral("朝食 5")));
    QCOMPARE(panel(1), QStringLiteral(" 900 "));
    QCOMPARE(panel(4), QStringLiteral(" 900 "));
    QCOMPARE(box(5)->text(), QStringLiteral("301"));
    QCOMPARE(box(12)->text(), QStringLiteral("-1"));
    QCOMPARE(m_app->quits, 0);
    QVERIFY(m_app->shell.window<IntakeWindow>().isLoaded());

    // The user mends the entries and goes on.
    type(5, QStringLiteral("1"));
    type(12, QString());
    clickCalculate();
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(panel(1), QStringLiteral(" 1450 "));
}

void TestIntake::missingFileLeavesPanelsUnchanged() {
    clickCalculate();
    QVERIFY(QFile::remove(QDir(m_app->dir.path()).filePath(SetMealFileName)));
    type(1, QStringLiteral("1"));
    clickCalculate();
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), 53);
    QVERIFY(m_app->errors.errors[0].source().endsWith(SetMealFileName));
    QCOMPARE(panel(1), QStringLiteral(" 0 "));
    QCOMPARE(m_app->quits, 0);
}

void TestIntake::tableSurvivesReopeningButBoxesDoNot() {
    type(1, QStringLiteral("2"));
    clickCalculate();
    QTest::mouseClick(m_app->shell.window<IntakeWindow>().control<QPushButton>(QStringLiteral("Command2")),
                      Qt::LeftButton);
    QVERIFY(!m_app->shell.window<IntakeWindow>().isLoaded());
    m_app->shell.open<IntakeWindow>();
    QCOMPARE(box(1)->text(), QString());
    QCOMPARE(panel(1), QString());
    QCOMPARE(int(m_app->shell.window<IntakeWindow>().table().rowCount()), 4);
    QCOMPARE(m_app->shell.window<IntakeWindow>().table().row(3).name, QStringLiteral("親子丼,みそ汁付"));
}

QTEST_MAIN(TestIntake)
#include "tst_intake.moc"
