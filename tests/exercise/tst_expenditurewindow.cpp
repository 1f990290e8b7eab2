// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/picturearea.h"
#include "guitest.h"
#include "panels.h"
#include "shellfixture.h"
#include "tables/tableload.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

// Box number (1..17) -> what the user types; the other boxes stay empty.
using Boxes = QMap<int, QString>;
Q_DECLARE_METATYPE(Boxes)

namespace {

// RMR values of the test file: rows 1, 3, 5 and 7 hold what the worked totals
// need, the rest follow a pattern.
int rmrValue(int n) {
    switch (n) {
    case 1:
        return 1;
    case 3:
        return 4;
    case 5:
        return 10;
    case 7:
        return 2;
    default:
        return n % 12 + 1;
    }
}

QString exercisesText(int count) {
    return tableText(count, QStringLiteral("運動"), rmrValue);
}

// A zoned listing row as the panel reports it, zone moves as tabs.
QString listedRow(int n, int count) {
    if (n > count)
        return QStringLiteral(" %1 \t\t 0 ").arg(n);
    return QStringLiteral(" %1 \t運動%1\t %2 ").arg(n).arg(rmrValue(n));
}

QStringList listedRows(int first, int last, int count) {
    QStringList rows;
    for (int n = first; n <= last; ++n)
        rows.append(listedRow(n, count));
    return rows;
}

} // namespace

// 消費 driven through its boxes and buttons.
class TestExpenditureWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void calculate_data();
    void calculate();
    void listing_data();
    void listing();
    void listingShowsRowsOneToFifty();
    void failures_data();
    void failures();
    void listButtonLeavesTotalAndBoxes();
    void rowsOfAnEarlierLoadCountForNothing();
    void sampleFile();

private:
    ExpenditureWindow& window() { return m_app->shell.window<ExpenditureWindow>(); }
    PictureLines& panel(int i);
    void type(const Boxes& boxes);
    void click(const char* button);
    void writeFile(int count);
    void verifyPanel(int i, const QStringList& wanted);

    std::unique_ptr<ShellFixture> m_app;
};

void TestExpenditureWindow::init() {
    m_app = std::make_unique<ShellFixture>();
    writeFile(30);
    m_app->shell.open<ExpenditureWindow>();
}

void TestExpenditureWindow::cleanup() {
    QCOMPARE(m_app->quits, 0);
    m_app.reset();
}

PictureLines& TestExpenditureWindow::panel(int i) {
    return panelOf(window(), i);
}

void TestExpenditureWindow::type(const Boxes& boxes) {
    for (auto it = boxes.begin(); it != boxes.end(); ++it) {
        auto* box = window().control<QLineEdit>(QStringLiteral("Text%1").arg(it.key()));
        box->clear();
        QTest::keyClicks(box, it.value());
    }
}

void TestExpenditureWindow::click(const char* button) {
    ShellFixture::click(window(), QString::fromLatin1(button));
}

void TestExpenditureWindow::writeFile(int count) {
    writeTableFile(m_app->dir, RmrFileName, exercisesText(count));
}

void TestExpenditureWindow::verifyPanel(int i, const QStringList& wanted) {
    const QString difference = panelDifference(panel(i), wanted);
    QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("Picture%1: %2").arg(i).arg(difference)));
}

void TestExpenditureWindow::calculate_data() {
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<QString>("energy");
    // Row 3 holds 4, row 7 holds 2: 4 x 30 + 2 x 15 = 150.
    QTest::newRow("all boxes empty") << Boxes{} << " 0 ";
    QTest::newRow("150, man") << Boxes{{1, "3"}, {2, "30"}, {3, "7"}, {4, "15"}, {17, "1"}} << " 147.315 ";
    QTest::newRow("150, woman") << Boxes{{1, "3"}, {2, "30"}, {3, "7"}, {4, "15"}, {17, "2"}} << " 147.495 ";
    QTest::newRow("10 x 10, woman") << Boxes{{1, "5"}, {2, "10"}, {17, "2"}} << " 98.32999 ";
    QTest::newRow("1 x -5, man") << Boxes{{1, "1"}, {2, "-5"}, {17, "1"}} << "-4.9105 ";
    QTest::newRow("sex 2.5 is a woman") << Boxes{{1, "5"}, {2, "10"}, {17, "2.5"}} << " 98.32999 ";
}

void TestExpenditureWindow::calculate() {
    QFETCH(Boxes, boxes);
    QFETCH(QString, energy);
    type(boxes);
    click("Command1");
    QVERIFY(m_app->errors.errors.isEmpty());
    verifyPanel(3, {energy});
    // Pressing again prints the same line once.
    click("Command1");
    verifyPanel(3, {energy});
    verifyPanel(1, listedRows(1, 25, 30));
    verifyPanel(2, listedRows(26, 30, 30));
}

void TestExpenditureWindow::listing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("count");
    for (const char* button : {"Command1", "Command3"}) {
        const QString name = QString::fromLatin1(button);
        QTest::addRow("%s, 10 rows: 11-25 bare, Picture2 empty", button) << name << 10;
        QTest::addRow("%s, 26 rows", button) << name << 26;
        QTest::addRow("%s, 300 rows", button) << name << 300;
    }
}

void TestExpenditureWindow::listing() {
    QFETCH(QString, button);
    QFETCH(int, count);
    writeFile(count);
    ShellFixture::click(window(), button);
    QVERIFY(m_app->errors.errors.isEmpty());
    verifyPanel(1, listedRows(1, 25, count));
    verifyPanel(2, listedRows(26, count, count));
}

void TestExpenditureWindow::listingShowsRowsOneToFifty() {
    writeFile(300);
    click("Command3");
    for (int i = 1; i <= 2; ++i)
        QCOMPARE(window().control<PictureArea>(QStringLiteral("Picture%1").arg(i))->visibleLineCount(), 25);
    QCOMPARE(panel(2).lineText(24), listedRow(50, 300));
}

void TestExpenditureWindow::failures_data() {
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<int>("fileRows"); // -1: no file
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("cleared"); // else the earlier panels stay
    QTest::addColumn<bool>("listed");

    QTest::newRow("sex code past 32 bits: nothing cleared")
        << Boxes{{17, "1E10"}} << 30 << 6 << "「性別」の入力欄" << false << true;
    QTest::newRow("exercise -1 in row 3")
        << Boxes{{5, "-1"}} << 30 << 9 << "「種目番号 3」の入力欄" << true << true;
    QTest::newRow("minutes past 16 bits in row 3")
        << Boxes{{5, "1"}, {6, "40000"}} << 30 << 6 << "「時間 3」の入力欄" << true << true;
    QTest::newRow("301 rows: nothing listed") << Boxes{} << 301 << 9 << RmrFileName << true << false;
    QTest::newRow("no file: nothing listed") << Boxes{} << -1 << 53 << RmrFileName << true << false;
}

void TestExpenditureWindow::failures() {
    QFETCH(Boxes, boxes);
    QFETCH(int, fileRows);
    QFETCH(int, errorNumber);
    QFETCH(QString, source);
    QFETCH(bool, cleared);
    QFETCH(bool, listed);

    // An earlier calculation has filled all three panels.
    type({{1, "3"}, {2, "30"}});
    click("Command1");
    verifyPanel(3, {QStringLiteral(" 117.852 ")});

    if (fileRows < 0)
        QVERIFY(QFile::remove(QDir(m_app->dir.path()).filePath(RmrFileName)));
    else
        writeFile(fileRows);
    type(boxes);
    click("Command1");

    QCOMPARE(m_app->errors.errors.size(), 1);
    const RuntimeError& error = m_app->errors.errors.first();
    QCOMPARE(error.number(), errorNumber);
    QVERIFY2(error.source().endsWith(source), qPrintable(error.source()));
    verifyPanel(1, listed ? listedRows(1, 25, 30) : QStringList());
    verifyPanel(2, listed ? listedRows(26, 30, 30) : QStringList());
    verifyPanel(3, cleared ? QStringList() : QStringList{QStringLiteral(" 117.852 ")});
    QVERIFY(window().isLoaded());
    for (auto it = boxes.begin(); it != boxes.end(); ++it)
        QCOMPARE(window().control<QLineEdit>(QStringLiteral("Text%1").arg(it.key()))->text(), it.value());
}

void TestExpenditureWindow::listButtonLeavesTotalAndBoxes() {
    type({{1, "3"}, {2, "30"}, {3, "7"}, {4, "15"}, {17, "2"}});
    click("Command1");
    verifyPanel(3, {QStringLiteral(" 147.495 ")});

    // Entries that would fail a calculation are not read by the list button.
    type({{1, "-1"}, {17, "1E10"}});
    writeFile(40);
    click("Command3");
    QVERIFY(m_app->errors.errors.isEmpty());
    verifyPanel(2, listedRows(26, 40, 40));
    verifyPanel(3, {QStringLiteral(" 147.495 ")});
    QCOMPARE(window().control<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("-1"));

    // Its one failure is the load: the listing goes, the total stays.
    writeFile(301);
    click("Command3");
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors.first().number(), 9);
    verifyPanel(1, {});
    verifyPanel(2, {});
    verifyPanel(3, {QStringLiteral(" 147.495 ")});
}

void TestExpenditureWindow::rowsOfAnEarlierLoadCountForNothing() {
    // Row 40 holds 5 while the file is long; after shortening it, neither an
    // earlier calculation nor the RMR window's own table lends it a value.
    writeFile(50);
    m_app->shell.open<RmrWindow>();
    ShellFixture::click(m_app->shell.window<RmrWindow>(), QStringLiteral("Command1"));
    type({{1, "40"}, {2, "10"}});
    click("Command1");
    verifyPanel(3, {QStringLiteral(" 49.105 ")});

    writeFile(10);
    click("Command1");
    QVERIFY(m_app->errors.errors.isEmpty());
    verifyPanel(3, {QStringLiteral(" 0 ")});
    verifyPanel(1, listedRows(1, 25, 10));
    QCOMPARE(m_app->shell.window<RmrWindow>().table().row(40).value, 5);
}

void TestExpenditureWindow::sampleFile() {
    const QString sample = QDir(QStringLiteral(YOMORISU_TEST_DATA)).filePath(RmrFileName);
    QVERIFY(QFile::remove(QDir(m_app->dir.path()).filePath(RmrFileName)));
    QVERIFY(QFile::copy(sample, QDir(m_app->dir.path()).filePath(RmrFileName)));
    type({{1, "2"}, {2, "30"}, {17, "1"}});
    click("Command1");
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(panel(1).lineText(1), QStringLiteral(" 2 \t普通の歩行\t 3 "));
    QCOMPARE(panel(1).lineCount(), 25);
    QCOMPARE(panel(2).lineCount(), 50);
    verifyPanel(3, {QStringLiteral(" 88.389 ")}); // 3 x 30 x 0.9821
}

YOMORISU_GUI_TEST_MAIN(TestExpenditureWindow)
#include "tst_expenditurewindow.moc"
