// Memory over a long session: opens 定食1, 摂取 and RMR, presses their buttons
// and goes back to the menu, 1,000 times, and prints the resident memory at
// a few cycles. After the first cycles warm the caches, memory must level off.
// Run by hand (sample tables from data/):
//   build/bench/bench_session [-platform offscreen|xcb] [CYCLES]
#include "app/shell.h"
#include "benchsupport.h"
#include "windows/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <set>

namespace {

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void press(const WindowObject& window, const char* button) {
    window.control<QPushButton>(QString::fromLatin1(button))->click();
}

// Lets deferred deletions of unloaded windows happen, as the event loop would.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void cycle(Shell& shell) {
    shell.open<SetMealWindow>();
    press(shell.window<SetMealWindow>(), "Command1");
    press(shell.window<SetMealWindow>(), "Command3");
    press(shell.window<SetMealWindow>(), "Command2");
    settle();

    shell.open<IntakeWindow>();
    for (int k = 1; k <= 30; ++k)
        shell.window<IntakeWindow>()
            .control<QLineEdit>(QStringLiteral("Text%1").arg(k))
            ->setText(QString::number(k * 5));
    press(shell.window<IntakeWindow>(), "Command1");
    press(shell.window<IntakeWindow>(), "Command2");
    settle();

    shell.open<RmrWindow>();
    press(shell.window<RmrWindow>(), "Command1");
    press(shell.window<RmrWindow>(), "Command2");
    settle();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    prepareApplication();
    const int cycles = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]).toInt() : 1000;
    QTemporaryDir dir;
    for (const char* name : {"rmr.csv", "定食.csv"}) {
        const QString file = QString::fromUtf8(name);
        QFile::copy(QStringLiteral(YOMORISU_SAMPLE_DATA "/") + file, QDir(dir.path()).filePath(file));
    }
    FailingErrorStop errors;
    CancelledDialog dialog;
    NoPrinter printer;
    Shell shell(
        errors, dir.path(), [] {}, dialog, printer);
    shell.start();
    settle();

    const std::set<int> reported{1, 25, 100, 250, 500, 750, 1000};
    QTextStream out(stdout);
    long at100 = -1;
    for (int n = 1; n <= cycles; ++n) {
        cycle(shell);
        if (reported.count(n) || n == cycles) {
            const long kb = residentKilobytes();
            if (n == 100)
                at100 = kb;
            out << "cycle " << n << ": resident " << kb << " KB\n";
            out.flush();
        }
    }
    if (at100 > 0 && cycles >= 1000)
        out << "growth from cycle 100 to " << cycles << ": " << residentKilobytes() - at100
            << " KB (goal: within 1024 KB)\n";
    return 0;
}
