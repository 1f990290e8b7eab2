// SPDX-License-Identifier: GPL-3.0-or-later
// Memory over a long session: opens one window from the main menu, presses
// its buttons with data as a user would, goes back to the menu, and does that
// 1,000 times after a warm-up. Once the warm-up has filled the caches, the
// process must not grow.
// Run by hand, with the accessibility bridge on (scripts/bench.sh does this
// for every window under one virtual display and one D-Bus session):
//   build/bench/bench_session -platform xcb WINDOW [CYCLES]
// WINDOW is one of 健康menu 定食1 摂取 RMR 消費 標準 病気.
#include "app/shell.h"
#include "benchsupport.h"
#include "forms/startup.h"
#include "forms/textbox.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

constexpr int WarmUpCycles = 100;

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Lets queued work and deferred deletions happen, as the event loop would.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void press(const WindowObject& window, const char* button) {
    window.control<QPushButton>(QString::fromLatin1(button))->click();
    settle();
}

void type(const WindowObject& window, const QString& box, const QString& text) {
    window.control<QLineEdit>(box)->setText(text);
}

// The document 病気 loads on every cycle.
class ChosenDocument : public OpenFileDialog {
public:
    QString chooseFile(QWidget*, const QString&, const QString&) override { return path; }
    QString path;
};

// One cycle of a window: opened by its menu button, used, back to the menu.
using Cycle = std::function<void(Shell&)>;

std::map<QString, Cycle> cycles() {
    auto menu = [](Shell& shell, const char* button) { press(shell.window<MainMenuWindow>(), button); };
    std::map<QString, Cycle> all;
    // The menu closed from its title bar and opened again, as the back-to-menu
    // button of another window opens it.
    all[QStringLiteral("健康menu")] = [](Shell& shell) {
        shell.window<MainMenuWindow>().form()->close();
        settle();
        shell.open<MainMenuWindow>();
        settle();
    };
    all[QStringLiteral("定食1")] = [menu](Shell& shell) {
        menu(shell, "Command1");
        const auto& w = shell.window<SetMealWindow>();
        press(w, "Command1");
        press(w, "Command3");
        press(w, "Command2");
    };
    all[QStringLiteral("摂取")] = [menu](Shell& shell) {
        menu(shell, "Command2");
        const auto& w = shell.window<IntakeWindow>();
        for (int k = 1; k <= 30; ++k)
            type(w, QStringLiteral("Text%1").arg(k), QString::number(k * 5));
        press(w, "Command1");
        press(w, "Command2");
    };
    all[QStringLiteral("RMR")] = [menu](Shell& shell) {
        menu(shell, "Command3");
        const auto& w = shell.window<RmrWindow>();
        press(w, "Command1");
        press(w, "Command2");
    };
    all[QStringLiteral("消費")] = [menu](Shell& shell) {
        menu(shell, "Command4");
        const auto& w = shell.window<ExpenditureWindow>();
        press(w, "Command3");
        for (int k = 1; k <= 16; ++k)
            type(w, QStringLiteral("Text%1").arg(k), QString::number(k % 2 ? k : 30));
        type(w, QStringLiteral("Text17"), QStringLiteral("2"));
        press(w, "Command1");
        press(w, "Command2");
    };
    all[QStringLiteral("標準")] = [menu](Shell& shell) {
        menu(shell, "Command5");
        const auto& w = shell.window<BodyWindow>();
        w.control<TextBox>(QStringLiteral("Text1"))->setText(QStringLiteral("170"));
        w.control<TextBox>(QStringLiteral("Text2"))->setText(QStringLiteral("65"));
        press(w, "Command1");
        press(w, "Command2");
    };
    all[QStringLiteral("病気")] = [menu](Shell& shell) {
        menu(shell, "Command6");
        const auto& w = shell.window<DocumentWindow>();
        press(w, "Command1");
        press(w, "Command2");
        press(w, "Command3");
    };
    return all;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    prepareApplication();
    const QStringList args = QApplication::arguments().mid(1);
    const auto all = cycles();
    const auto chosen = all.find(args.value(0));
    if (chosen == all.end()) {
        std::fprintf(stderr, "usage: bench_session WINDOW [CYCLES]\n");
        return 2;
    }
    const int count = args.size() > 1 ? args[1].toInt() : 1000;

    QTemporaryDir dir;
    for (const char* name : {"rmr.csv", "定食.csv"}) {
        const QString file = QString::fromUtf8(name);
        QFile::copy(QStringLiteral(YOMORISU_SAMPLE_DATA "/") + file, QDir(dir.path()).filePath(file));
    }
    FailingErrorStop errors;
    ChosenDocument document;
    document.path = QStringLiteral(YOMORISU_SAMPLE_DATA "/健康相談/糖尿病.txt");
    NoPrinter printer;
    Shell shell(
        errors, dir.path(), [] {}, document, printer);
    shell.start();
    settle();

    for (int n = 0; n < WarmUpCycles; ++n)
        chosen->second(shell);
    const long before = residentKilobytes();
    for (int n = 0; n < count; ++n)
        chosen->second(shell);
    const long growth = residentKilobytes() - before;
    const double budget = 1024.0 * count / 1000; // KB: 1 MB over 1,000 cycles
    std::printf("session %s: %+ld KB over %d cycles after %d (%.0f bytes a cycle), ratio %.2f to %.0f KB, "
                "accessibility bridge %s\n",
                qUtf8Printable(chosen->first), growth, count, WarmUpCycles, double(growth) * 1024 / count,
                double(growth) / budget, budget, QAccessible::isActive() ? "on" : "off");
    std::fflush(stdout);
    // Leaves without tearing anything down, so that under a heap profiler
    // what the cycles kept shows as not freed.
    std::_Exit(0);
}
