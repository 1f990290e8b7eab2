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

int rmrValue(int n) {
    return n % 12 + 1;
}

QString exercisesText(int count) {
    return tableText(count, QStringLiteral("運動"), rmrValue);
}

QString expectedRow(int n, int count) {
    if (n > count)
        return QStringLiteral("%1       ").arg(n);
    return QStringLiteral("%1   運動%1    %2").arg(n).arg(rmrValue(n));
}

} // namespace

class TestRmrWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void display_data();
    void display();
    void shortenedFileShowsBareNumbersAboveItsEnd();
    void failedDisplayLeavesPanelsEmpty();
    void lastVisibleRowOfEachPanel();
    void sampleFileIsListed();

private:
    RmrWindow& window() { return m_app->shell.window<RmrWindow>(); }
    void clickDisplay();
    PictureLines& panel(int i);
    void comparePanels(const PanelRows& expected, int count);

    std::unique_ptr<ShellFixture> m_app;
};

void TestRmrWindow::init() {
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.open<RmrWindow>();
}

void TestRmrWindow::cleanup() {
    QCOMPARE(m_app->quits, 0);
    m_app.reset();
}

void TestRmrWindow::clickDisplay() {
    ShellFixture::click(window(), QStringLiteral("Command1"));
}

PictureLines& TestRmrWindow::panel(int i) {
    return panelOf(window(), i);
}

void TestRmrWindow::comparePanels(const PanelRows& expected, int count) {
    const QString difference =
        panelsDifference(window(), expected, [count](int n) { return expectedRow(n, count); });
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestRmrWindow::display_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<PanelRows>("rows");

    QTest::newRow("empty file: two panels of never-loaded rows") << 0 << PanelRows{{1, 20}, {21, 40}, {1, 0}};
    QTest::newRow("5 records: rows 6-40 bare") << 5 << PanelRows{{1, 20}, {21, 40}, {1, 0}};
    QTest::newRow("40 records: Picture3 empty") << 40 << PanelRows{{1, 20}, {21, 40}, {1, 0}};
    QTest::newRow("41 records: Picture3 holds row 41") << 41 << PanelRows{{1, 20}, {21, 40}, {41, 41}};
    QTest::newRow("300 records: Picture3 runs to the end") << 300 << PanelRows{{1, 20}, {21, 40}, {41, 300}};
}

void TestRmrWindow::display() {
    QFETCH(int, count);
    QFETCH(PanelRows, rows);

    writeTableFile(m_app->dir, RmrFileName, exercisesText(count));
    clickDisplay();
    comparePanels(rows, count);
    clickDisplay(); // the same file, the same listing
    comparePanels(rows, count);
    QCOMPARE(window().table().rowCount(), count);
    QVERIFY(m_app->errors.errors.isEmpty());
}

void TestRmrWindow::shortenedFileShowsBareNumbersAboveItsEnd() {
    writeTableFile(m_app->dir, RmrFileName, exercisesText(50));
    clickDisplay();
    writeTableFile(m_app->dir, RmrFileName, exercisesText(10));
    clickDisplay();
    comparePanels(PanelRows{{1, 20}, {21, 40}, {1, 0}}, 10);
}

void TestRmrWindow::failedDisplayLeavesPanelsEmpty() {
    writeTableFile(m_app->dir, RmrFileName, exercisesText(60));
    clickDisplay();
    writeTableFile(m_app->dir, RmrFileName, exercisesText(301));
    clickDisplay();
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(panel(i).lineCount(), 0);
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors.first().kind(), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(m_app->errors.errors.first().number(), 9);
    QVERIFY(window().isLoaded());
}

void TestRmrWindow::lastVisibleRowOfEachPanel() {
    writeTableFile(m_app->dir, RmrFileName, exercisesText(300));
    clickDisplay();
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(window().control<PictureArea>(QStringLiteral("Picture%1").arg(i))->visibleLineCount(), 20);
    QCOMPARE(panel(1).lineText(19), expectedRow(20, 300));
    QCOMPARE(panel(2).lineText(19), expectedRow(40, 300));
    QCOMPARE(panel(3).lineText(19), expectedRow(60, 300)); // 61 onwards is cut off
}

void TestRmrWindow::sampleFileIsListed() {
    const QString sample = QDir(QStringLiteral(YOMORISU_TEST_DATA)).filePath(RmrFileName);
    QVERIFY(QFile::copy(sample, QDir(m_app->dir.path()).filePath(RmrFileName)));
    clickDisplay();
    const int count = window().table().rowCount();
    QVERIFY(count >= 60);
    QCOMPARE(panel(3).lineCount(), count - 40);
    QVERIFY(m_app->errors.errors.isEmpty());
}

YOMORISU_GUI_TEST_MAIN(TestRmrWindow)
#include "tst_rmrwindow.moc"
