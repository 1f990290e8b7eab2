// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/picturearea.h"
#include "guitest.h"
#include "panels.h"
#include "shellfixture.h"
#include "tables/tableload.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

// 摂取 driven through its buttons.
class TestIntakeWindow : public QObject {
    Q_OBJECT
private slots:
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

void TestIntakeWindow::init() {
    m_app = std::make_unique<ShellFixture>();
    writeTableFile(
        m_app->dir, SetMealFileName,
        QStringLiteral("焼き魚定食,550\r\nとんかつ定食,900\r\n\"親子丼,みそ汁付\",720\r\nかけそば,-10\r\n"));
    m_app->shell.open<IntakeWindow>();
}

void TestIntakeWindow::cleanup() {
    m_app.reset();
}

QLineEdit* TestIntakeWindow::box(int k) {
    return m_app->shell.window<IntakeWindow>().control<QLineEdit>(QStringLiteral("Text%1").arg(k));
}

QString TestIntakeWindow::panel(int i) {
    return panelOf(m_app->shell.window<IntakeWindow>(), i).text();
}

void TestIntakeWindow::type(int k, const QString& text) {
    box(k)->clear();
    QTest::keyClicks(box(k), text);
}

void TestIntakeWindow::clickCalculate() {
    ShellFixture::click(m_app->shell.window<IntakeWindow>(), QStringLiteral("Command1"));
}

void TestIntakeWindow::emptyBoxesShowZeroInEveryPanel() {
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(panel(i), QString());
    clickCalculate();
    QVERIFY(m_app->errors.errors.isEmpty());
    for (int i = 1; i <= 4; ++i)
        QCOMPARE(panel(i), QStringLiteral(" 0 "));
}

void TestIntakeWindow::calculatePrintsTheFourResults() {
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

void TestIntakeWindow::failureLeavesPanelsAndTextsAndKeepsRunning() {
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

void TestIntakeWindow::missingFileLeavesPanelsUnchanged() {
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

void TestIntakeWindow::tableSurvivesReopeningButBoxesDoNot() {
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

YOMORISU_GUI_TEST_MAIN(TestIntakeWindow)
#include "tst_intakewindow.moc"
