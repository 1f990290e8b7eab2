// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/picturearea.h"
#include "guitest.h"
#include "panels.h"
#include "shellfixture.h"
#include "tables/tableload.h"

#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

const PanelRows Empty{{1, 0}, {1, 0}, {1, 0}, {1, 0}};

int calories(int n) {
    return 300 + n;
}

QString mealsText(int count) {
    return tableText(count, QStringLiteral("定食"), calories);
}

// The listing row of row n when the last load read `count` rows.
QString expectedRow(int n, int count) {
    if (n > count)
        return QStringLiteral("%1       ").arg(n);
    return QStringLiteral("%1   定食%1    %2").arg(n).arg(calories(n));
}

} // namespace

class TestSetMealWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void pages_data();
    void pages();
    void nextPageBeforeAnyDisplayShowsNothing();
    void nextPageNeverOpensTheFile();
    void nextPageAfterReopeningListsTheKeptTable();
    void failedDisplayLeavesPanelsEmpty_data();
    void failedDisplayLeavesPanelsEmpty();
    void shortenedFileShowsBareNumbersAboveItsEnd();
    void lastVisibleRowOfEachPanel();
    void sampleFileFillsBothPages();

private:
    SetMealWindow& window() { return m_app->shell.window<SetMealWindow>(); }
    void click(const char* button);
    PictureLines& panel(int i);
    void comparePanels(const PanelRows& expected, int count);

    std::unique_ptr<ShellFixture> m_app;
};

void TestSetMealWindow::init() {
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.open<SetMealWindow>();
}

void TestSetMealWindow::cleanup() {
    QCOMPARE(m_app->quits, 0);
    m_app.reset();
}

void TestSetMealWindow::click(const char* button) {
    ShellFixture::click(window(), QString::fromLatin1(button));
}

PictureLines& TestSetMealWindow::panel(int i) {
    return panelOf(window(), i);
}

void TestSetMealWindow::comparePanels(const PanelRows& expected, int count) {
    const QString difference =
        panelsDifference(window(), expected, [count](int n) { return expectedRow(n, count); });
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestSetMealWindow::pages_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<PanelRows>("firstPage");
    QTest::addColumn<PanelRows>("secondPage");

    QTest::newRow("empty file: fixed ranges of never-loaded rows")
        << 0 << PanelRows{{1, 40}, {41, 80}, {81, 120}, {1, 0}} << Empty;
    QTest::newRow("100 rows: 101-120 bare in Picture3")
        << 100 << PanelRows{{1, 40}, {41, 80}, {81, 120}, {1, 0}} << Empty;
    QTest::newRow("121 rows: Picture4 holds row 121 alone")
        << 121 << PanelRows{{1, 40}, {41, 80}, {81, 120}, {121, 121}} << Empty;
    QTest::newRow("161 rows: nothing for page 2")
        << 161 << PanelRows{{1, 40}, {41, 80}, {81, 120}, {121, 161}} << Empty;
    QTest::newRow("162 rows: page 2 shows row 162 alone")
        << 162 << PanelRows{{1, 40}, {41, 80}, {81, 120}, {121, 162}}
        << PanelRows{{162, 162}, {1, 0}, {1, 0}, {1, 0}};
    QTest::newRow("300 rows: every panel of page 2 runs to the end")
        << 300 << PanelRows{{1, 40}, {41, 80}, {81, 120}, {121, 300}}
        << PanelRows{{162, 300}, {203, 300}, {244, 300}, {1, 0}};
}

void TestSetMealWindow::pages() {
    QFETCH(int, count);
    QFETCH(PanelRows, firstPage);
    QFETCH(PanelRows, secondPage);

    writeTableFile(m_app->dir, SetMealFileName, mealsText(count));
    click("Command1");
    comparePanels(firstPage, count);
    QCOMPARE(window().table().rowCount(), count);

    click("Command3");
    comparePanels(secondPage, count);
    click("Command3"); // again: the same page, never a third
    comparePanels(secondPage, count);

    click("Command1");
    comparePanels(firstPage, count);
    QVERIFY(m_app->errors.errors.isEmpty());
}

void TestSetMealWindow::nextPageBeforeAnyDisplayShowsNothing() {
    // A file is there, but page 2 does not load it.
    writeTableFile(m_app->dir, SetMealFileName, mealsText(300));
    click("Command3");
    comparePanels(Empty, 0);
    QVERIFY(m_app->errors.errors.isEmpty());
}

void TestSetMealWindow::nextPageNeverOpensTheFile() {
    writeTableFile(m_app->dir, SetMealFileName, mealsText(210));
    click("Command1");
    QVERIFY(QFile::remove(QDir(m_app->dir.path()).filePath(SetMealFileName)));
    click("Command3");
    comparePanels(PanelRows{{162, 210}, {203, 210}, {1, 0}, {1, 0}}, 210);
    QVERIFY(m_app->errors.errors.isEmpty());
}

void TestSetMealWindow::nextPageAfterReopeningListsTheKeptTable() {
    writeTableFile(m_app->dir, SetMealFileName, mealsText(250));
    click("Command1");
    click("Command2"); // back to the menu unloads the window
    QVERIFY(!window().isLoaded());
    writeTableFile(m_app->dir, SetMealFileName, mealsText(5));

    m_app->shell.open<SetMealWindow>();
    comparePanels(Empty, 0);
    click("Command3");
    comparePanels(PanelRows{{162, 250}, {203, 250}, {244, 250}, {1, 0}}, 250);
}

void TestSetMealWindow::failedDisplayLeavesPanelsEmpty_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<int>("errorNumber");

    QTest::newRow("301 records: out of range") << mealsText(301) << false << 9;
    QTest::newRow("a value beyond 16 bits: overflow")
        << QStringLiteral("焼き魚定食,550\r\n大盛,40000\r\n") << false << 6;
    QTest::newRow("no file") << QString() << true << 53;
}

void TestSetMealWindow::failedDisplayLeavesPanelsEmpty() {
    QFETCH(QString, text);
    QFETCH(bool, missing);
    QFETCH(int, errorNumber);

    writeTableFile(m_app->dir, SetMealFileName, mealsText(200));
    click("Command1");
    click("Command3");
    QCOMPARE(panel(1).lineCount(), 39);

    if (missing)
        QVERIFY(QFile::remove(QDir(m_app->dir.path()).filePath(SetMealFileName)));
    else
        writeTableFile(m_app->dir, SetMealFileName, text);
    click("Command1");
    comparePanels(Empty, 0);
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors.first().number(), errorNumber);
    QVERIFY(window().isLoaded());
}

void TestSetMealWindow::shortenedFileShowsBareNumbersAboveItsEnd() {
    writeTableFile(m_app->dir, SetMealFileName, mealsText(170));
    click("Command1");
    writeTableFile(m_app->dir, SetMealFileName, mealsText(10));
    click("Command1");
    comparePanels(PanelRows{{1, 40}, {41, 80}, {81, 120}, {1, 0}}, 10);
    click("Command3");
    comparePanels(Empty, 10);
}

void TestSetMealWindow::lastVisibleRowOfEachPanel() {
    writeTableFile(m_app->dir, SetMealFileName, mealsText(300));
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(window().control<PictureArea>(QStringLiteral("Picture%1").arg(i))->visibleLineCount(), 41);

    // Page 1: three panels end with one blank line, Picture4 ends at 161.
    click("Command1");
    QCOMPARE(panel(1).lineText(40), QString());
    QCOMPARE(panel(3).lineText(39), expectedRow(120, 300));
    QCOMPARE(panel(4).lineText(40), expectedRow(161, 300));

    // Page 2: 162-202, 203-243, 244-284; 285 onwards is never seen.
    click("Command3");
    QCOMPARE(panel(1).lineText(40), expectedRow(202, 300));
    QCOMPARE(panel(2).lineText(40), expectedRow(243, 300));
    QCOMPARE(panel(3).lineText(40), expectedRow(284, 300));
}

void TestSetMealWindow::sampleFileFillsBothPages() {
    const QString sample = QDir(QStringLiteral(YOMORISU_TEST_DATA)).filePath(SetMealFileName);
    QVERIFY(QFile::copy(sample, QDir(m_app->dir.path()).filePath(SetMealFileName)));
    click("Command1");
    const int count = window().table().rowCount();
    QVERIFY(count >= 170);
    QCOMPARE(panel(4).lineCount(), count - 120);
    click("Command3");
    QVERIFY(panel(1).lineText(0).startsWith(QStringLiteral("162   ")));
    QCOMPARE(panel(1).lineCount(), count - 161);
    QVERIFY(m_app->errors.errors.isEmpty());
}

YOMORISU_GUI_TEST_MAIN(TestSetMealWindow)
#include "tst_setmealwindow.moc"
