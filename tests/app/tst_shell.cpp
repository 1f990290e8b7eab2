// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell.h"
#include "guitest.h"
#include "shellfixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// Processes the deferred deletion of unloaded windows.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A window whose code names a button its layout does not have.
class MisspelledWindow : public WindowObject {
public:
    explicit MisspelledWindow(WindowHost& host) : WindowObject(host, layout::body()) {}

protected:
    void bindControls() override {
        onClick(QStringLiteral("Comand1"), [] {});
    }
};

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsOnTheMainMenuAlone();
    void menuButtonsOpenTheirWindows_data();
    void menuButtonsOpenTheirWindows();
    void secondPressRaisesTheSameWindow();
    void workingWindowsStayOpenSideBySide();
    void backToMenu_data();
    void backToMenu();
    void menuClosedWhileAWindowIsOpen();
    void closingTheLastWindowEndsTheProgram();
    void endClosesEverythingAtOnce();
    void windowObjectsOutliveTheirForms();
    void misspelledControlStopsTheLoad();

private:
    void clickMenu(const QString& button);
    WindowObject* windowNamed(const QString& name);
    QList<WindowObject*> loadedWindows();

    std::unique_ptr<ShellFixture> m_app;
};

void TestShell::init() {
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.start();
}

void TestShell::cleanup() {
    QVERIFY(m_app->errors.errors.isEmpty());
    m_app.reset();
    settle();
}

void TestShell::clickMenu(const QString& button) {
    ShellFixture::click(m_app->shell.window<MainMenuWindow>(), button);
}

// The window object whose form carries that name, among those created so far.
WindowObject* TestShell::windowNamed(const QString& name) {
    WindowObject* found = nullptr;
    auto check = [&](WindowObject& w) {
        if (w.layout().name == name)
            found = &w;
    };
    if (m_app->shell.exists<MainMenuWindow>())
        check(m_app->shell.window<MainMenuWindow>());
    if (m_app->shell.exists<SetMealWindow>())
        check(m_app->shell.window<SetMealWindow>());
    if (m_app->shell.exists<IntakeWindow>())
        check(m_app->shell.window<IntakeWindow>());
    if (m_app->shell.exists<RmrWindow>())
        check(m_app->shell.window<RmrWindow>());
    if (m_app->shell.exists<ExpenditureWindow>())
        check(m_app->shell.window<ExpenditureWindow>());
    if (m_app->shell.exists<BodyWindow>())
        check(m_app->shell.window<BodyWindow>());
    if (m_app->shell.exists<DocumentWindow>())
        check(m_app->shell.window<DocumentWindow>());
    return found;
}

QList<WindowObject*> TestShell::loadedWindows() {
    QList<WindowObject*> loaded;
    for (const QString& name :
         {QStringLiteral("健康menu"), QStringLiteral("定食1"), QStringLiteral("摂取"), QStringLiteral("RMR"),
          QStringLiteral("消費"), QStringLiteral("標準"), QStringLiteral("病気")}) {
        if (WindowObject* w = windowNamed(name); w && w->isLoaded())
            loaded.append(w);
    }
    return loaded;
}

void TestShell::startsOnTheMainMenuAlone() {
    QVERIFY(m_app->shell.window<MainMenuWindow>().isLoaded());
    QVERIFY(m_app->shell.window<MainMenuWindow>().form()->isVisible());
    QCOMPARE(m_app->shell.window<MainMenuWindow>().form()->windowTitle(), QStringLiteral("ヨモリス"));
    QVERIFY(!m_app->shell.exists<SetMealWindow>());
    QVERIFY(!m_app->shell.exists<IntakeWindow>());
    QVERIFY(!m_app->shell.exists<RmrWindow>());
    QVERIFY(!m_app->shell.exists<ExpenditureWindow>());
    QVERIFY(!m_app->shell.exists<BodyWindow>());
    QVERIFY(!m_app->shell.exists<DocumentWindow>());
}

void TestShell::menuButtonsOpenTheirWindows_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("食品カロリー") << "Command1"
                                  << "定食1"
                                  << "定食1";
    QTest::newRow("摂取カロリー") << "Command2"
                                  << "摂取"
                                  << "摂取";
    QTest::newRow("運動エネルギー") << "Command3"
                                    << "RMR"
                                    << "ＲＭＲ";
    QTest::newRow("消費エネルギー") << "Command4"
                                    << "消費"
                                    << "消費エネルギー";
    QTest::newRow("標準体重指標") << "Command5"
                                  << "標準"
                                  << "標準";
    QTest::newRow("文献など") << "Command6"
                              << "病気"
                              << "病気";
}

void TestShell::menuButtonsOpenTheirWindows() {
    QFETCH(QString, button);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    clickMenu(button);
    WindowObject* opened = windowNamed(window);
    QVERIFY(opened);
    QVERIFY(opened->isLoaded());
    QVERIFY(opened->form()->isVisible());
    QCOMPARE(opened->form()->objectName(), window);
    QCOMPARE(opened->form()->windowTitle(), caption);
    // The menu stays as it was, and no other window was made.
    QVERIFY(m_app->shell.window<MainMenuWindow>().form()->isVisible());
    QCOMPARE(loadedWindows().size(), 2);
}

void TestShell::secondPressRaisesTheSameWindow() {
    clickMenu(QStringLiteral("Command2"));
    IntakeWindow* first = &m_app->shell.window<IntakeWindow>();
    QWidget* form = first->form();
    QTest::keyClicks(first->control<QLineEdit>(QStringLiteral("Text1")), QStringLiteral("12"));
    clickMenu(QStringLiteral("Command2"));
    QCOMPARE(&m_app->shell.window<IntakeWindow>(), first);
    QCOMPARE(first->form(), form);
    QCOMPARE(first->control<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("12"));
}

void TestShell::workingWindowsStayOpenSideBySide() {
    clickMenu(QStringLiteral("Command3"));
    clickMenu(QStringLiteral("Command4"));
    QVERIFY(m_app->shell.window<RmrWindow>().isLoaded());
    QVERIFY(m_app->shell.window<ExpenditureWindow>().isLoaded());
    QVERIFY(m_app->shell.window<MainMenuWindow>().isLoaded());
    QCOMPARE(loadedWindows().size(), 3);
}

void TestShell::backToMenu_data() {
    QTest::addColumn<QString>("menuButton");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("backButton");
    QTest::newRow("定食1") << "Command1"
                           << "定食1"
                           << "Command2";
    QTest::newRow("摂取") << "Command2"
                          << "摂取"
                          << "Command2";
    QTest::newRow("RMR") << "Command3"
                         << "RMR"
                         << "Command2";
    QTest::newRow("消費") << "Command4"
                          << "消費"
                          << "Command2";
    QTest::newRow("標準") << "Command5"
                          << "標準"
                          << "Command2";
    QTest::newRow("病気") << "Command6"
                          << "病気"
                          << "Command3";
}

void TestShell::backToMenu() {
    QFETCH(QString, menuButton);
    QFETCH(QString, window);
    QFETCH(QString, backButton);
    clickMenu(menuButton);
    WindowObject* w = windowNamed(window);
    auto* back = w->control<QPushButton>(backButton);
    QVERIFY(back);
    QCOMPARE(back->text(), QStringLiteral("処方menuへ"));
    QPointer<QWidget> oldForm = w->form();
    QTest::mouseClick(back, Qt::LeftButton);
    QVERIFY(!w->isLoaded());
    settle();
    QVERIFY(oldForm.isNull());
    QVERIFY(m_app->shell.window<MainMenuWindow>().isLoaded());
    QCOMPARE(m_app->quits, 0);
    // The object survives; opening again builds a fresh form.
    clickMenu(menuButton);
    QCOMPARE(windowNamed(window), w);
    QVERIFY(w->isLoaded());
}

void TestShell::menuClosedWhileAWindowIsOpen() {
    clickMenu(QStringLiteral("Command5"));
    QVERIFY(m_app->shell.window<MainMenuWindow>().form()->close());
    QVERIFY(!m_app->shell.window<MainMenuWindow>().isLoaded());
    QCOMPARE(m_app->quits, 0);
    QVERIFY(m_app->shell.window<BodyWindow>().isLoaded());

    QTest::mouseClick(m_app->shell.window<BodyWindow>().control<QPushButton>(QStringLiteral("Command2")),
                      Qt::LeftButton);
    QVERIFY(!m_app->shell.window<BodyWindow>().isLoaded());
    QVERIFY(m_app->shell.window<MainMenuWindow>().isLoaded());
    QVERIFY(m_app->shell.window<MainMenuWindow>().form()->isVisible());
    QCOMPARE(m_app->quits, 0);
}

void TestShell::closingTheLastWindowEndsTheProgram() {
    clickMenu(QStringLiteral("Command1"));
    m_app->shell.window<MainMenuWindow>().form()->close();
    QCOMPARE(m_app->quits, 0);
    m_app->shell.window<SetMealWindow>().form()->close();
    QCOMPARE(m_app->quits, 1);
    QVERIFY(loadedWindows().isEmpty());
}

void TestShell::endClosesEverythingAtOnce() {
    clickMenu(QStringLiteral("Command1"));
    clickMenu(QStringLiteral("Command5"));
    clickMenu(QStringLiteral("Command6"));
    QCOMPARE(loadedWindows().size(), 4);
    clickMenu(QStringLiteral("Command7"));
    QCOMPARE(m_app->quits, 1);
    QVERIFY(loadedWindows().isEmpty());
}

void TestShell::windowObjectsOutliveTheirForms() {
    clickMenu(QStringLiteral("Command2"));
    IntakeWindow* intake = &m_app->shell.window<IntakeWindow>();
    intake->form()->close();
    QVERIFY(!intake->isLoaded());
    QCOMPARE(m_app->quits, 0); // the menu is still there
    clickMenu(QStringLiteral("Command2"));
    QCOMPARE(&m_app->shell.window<IntakeWindow>(), intake);
    QCOMPARE(intake->control<QLineEdit>(QStringLiteral("Text1"))->text(), QString());
}

// A misspelled name is the program's own fault, not the user's: the program
// stops at once, naming the window and the control, rather than carry on
// with a half-bound window. It stops a forked copy of this test.
void TestShell::misspelledControlStopsTheLoad() {
#ifndef Q_OS_UNIX
    QSKIP("needs fork()");
#else
    int output[2];
    QVERIFY(pipe(output) == 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Qt's own report, without the test framework's log and crash handler.
        qInstallMessageHandler(nullptr);
        signal(SIGABRT, SIG_DFL);
        dup2(output[1], STDERR_FILENO);
        MisspelledWindow window(m_app->shell);
        window.load();
        _exit(0);
    }
    close(output[1]);
    QByteArray said;
    char buffer[4096];
    for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    close(output[0]);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT, "the load went on");
    const QString message = QString::fromUtf8(said);
    QVERIFY2(message.contains(QStringLiteral("標準")) && message.contains(QStringLiteral("Comand1")),
             qPrintable(message));
#endif
}

YOMORISU_GUI_TEST_MAIN(TestShell)
#include "tst_shell.moc"
