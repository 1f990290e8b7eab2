// SPDX-License-Identifier: GPL-3.0-or-later
// Every button handler with its largest input, from the click to the window
// repainted. Goal: at most 16 ms each (one frame) on the project machine.
// Run by hand:
//   build/bench/bench_handlers -platform offscreen        (or under Xvfb with -platform xcb)
#include "app/shell.h"
#include "benchsupport.h"
#include "common/textdecoding.h"
#include "guitest.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A full table: 300 records with long names.
void writeFullTable(const QString& path, const QString& name) {
    QString text;
    for (int n = 1; n <= 300; ++n)
        text += QStringLiteral("%1 その%2 とても長い名前の項目,%3\r\n").arg(name).arg(n).arg(n % 20 + 1);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encodeCodePage932(text)) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

void fillBoxes(const WindowObject& window, int count, const std::function<QString(int)>& text) {
    for (int k = 1; k <= count; ++k)
        window.control<QLineEdit>(QStringLiteral("Text%1").arg(k))->setText(text(k));
}

} // namespace

class BenchHandlers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        writeFullTable(QDir(m_dir.path()).filePath(QStringLiteral("定食.csv")), QStringLiteral("焼き魚定食"));
        writeFullTable(QDir(m_dir.path()).filePath(QStringLiteral("rmr.csv")), QStringLiteral("ジョギング"));
    }

    void setMealDisplay() { measure(m_shell.window<SetMealWindow>(), "Command1"); }
    void setMealNextPage() {
        auto& window = m_shell.window<SetMealWindow>();
        prepare(window);
        window.control<QPushButton>(QStringLiteral("Command1"))->click();
        measure(window, "Command3", false);
    }
    void intakeCalculate() {
        auto& window = m_shell.window<IntakeWindow>();
        prepare(window);
        fillBoxes(window, 30, [](int k) { return QString::number(k * 10); });
        measure(window, "Command1", false);
    }
    void rmrDisplay() { measure(m_shell.window<RmrWindow>(), "Command1"); }
    void expenditureCalculate() {
        auto& window = m_shell.window<ExpenditureWindow>();
        prepare(window);
        fillBoxes(window, 17, [](int k) { return k == 17 ? QStringLiteral("2") : QString::number(k * 10); });
        measure(window, "Command1", false);
    }
    void expenditureList() { measure(m_shell.window<ExpenditureWindow>(), "Command3"); }
    void bodyCalculate() {
        auto& window = m_shell.window<BodyWindow>();
        prepare(window);
        // 140 cm and 51 kg: the heavy figure, so the picture changes each time
        // it is set after the window opened.
        window.control<QWidget>(QStringLiteral("Text1"))->setProperty("text", QStringLiteral("140"));
        window.control<QWidget>(QStringLiteral("Text2"))->setProperty("text", QStringLiteral("51"));
        measure(window, "Command1", false);
    }

private:
    void prepare(WindowObject& window) {
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(window.form()));
    }
    void measure(WindowObject& window, const char* button, bool open = true) {
        if (open)
            prepare(window);
        QPushButton* pressed = window.control<QPushButton>(QString::fromLatin1(button));
        QBENCHMARK {
            pressed->click();
            window.form()->repaint();
        }
    }

    QTemporaryDir m_dir;
    FailingErrorStop m_errors;
    CancelledDialog m_dialog;
    NoPrinter m_printer;
    Shell m_shell{m_errors, m_dir.path(), [] {}, m_dialog, m_printer};
};

YOMORISU_GUI_TEST_MAIN(BenchHandlers)
#include "bench_handlers.moc"
