// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: help, version and a wrong option are answered at once,
// without a display and in Japanese, and Qt's own options are not mistaken
// for ours.

#include "app/commandline.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built program with no display at all, as on a text console.
Run runProgram(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(YOMORISU_PROGRAM), arguments);
    Run run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("(did not end)");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    // Lines end as the system ends them: CR LF on Windows.
    run.out = QString::fromUtf8(process.readAllStandardOutput()).replace(u"\r\n"_qs, u"\n"_qs);
    run.err = QString::fromUtf8(process.readAllStandardError()).replace(u"\r\n"_qs, u"\n"_qs);
    return run;
}

// Every line of a text has a Japanese character in it: no English line
// from the toolkit slips in.
QString firstLineNotJapanese(const QString& text) {
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (!std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() >= 0x3000; }))
            return line;
    }
    return {};
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void answersBeforeTheWindows_data();
    void answersBeforeTheWindows();
    void versionWithoutADisplay();
    void helpWithoutADisplay_data();
    void helpWithoutADisplay();
    void unknownOptionWithoutADisplay();
};

void TestCommandLine::answersBeforeTheWindows_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status"); // -1: the windows open
    QTest::newRow("no arguments") << QStringList{} << -1;
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0;
    QTest::newRow("--help-all") << QStringList{QStringLiteral("--help-all")} << 0;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0;
    QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << 0;
    QTest::newRow("after a Qt option with its value")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--version")} << 0;
    QTest::newRow("-reverse holds a v but is Qt's") << QStringList{QStringLiteral("-reverse")} << -1;
    QTest::newRow("-style with a value")
        << QStringList{QStringLiteral("-style"), QStringLiteral("fusion")} << -1;
    QTest::newRow("-style=value") << QStringList{QStringLiteral("-style=fusion")} << -1;
    QTest::newRow("Qt's option with two dashes")
        << QStringList{QStringLiteral("--platform"), QStringLiteral("offscreen")} << -1;
    QTest::newRow("after -- it is no option")
        << QStringList{QStringLiteral("--"), QStringLiteral("--help")} << -1;
    QTest::newRow("unknown") << QStringList{QStringLiteral("--bogus")} << 1;
    QTest::newRow("unknown single dash") << QStringList{QStringLiteral("-x")} << 1;
    QTest::newRow("unknown wins over help")
        << QStringList{QStringLiteral("--help"), QStringLiteral("--bogus")} << 1;
    QTest::newRow("a Qt option without its value") << QStringList{QStringLiteral("-platform")} << 1;
}

void TestCommandLine::answersBeforeTheWindows() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    arguments.prepend(QStringLiteral("yomorisu"));
    const auto answer = answerCommandLine(arguments, QStringLiteral("1.2"));
    QCOMPARE(answer ? answer->status : -1, status);
    if (answer && status != 0)
        QVERIFY2(answer->out.isEmpty() && !answer->err.isEmpty(), qPrintable(answer->out));
}

void TestCommandLine::versionWithoutADisplay() {
    const Run run = runProgram({QStringLiteral("--version")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^yomorisu \\d+\\.\\d+(\\.\\d+)*\\n$")).match(run.out).hasMatch(),
        qPrintable(run.out + run.err));
}

void TestCommandLine::helpWithoutADisplay_data() {
    QTest::addColumn<QString>("option");
    QTest::newRow("--help") << "--help";
    QTest::newRow("-h") << "-h";
    QTest::newRow("--help-all") << "--help-all";
}

void TestCommandLine::helpWithoutADisplay() {
    QFETCH(QString, option);
    const Run run = runProgram({option});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    for (const QString& shown :
         {QStringLiteral("ヨモリス"), QStringLiteral("--help"), QStringLiteral("--version")})
        QVERIFY2(run.out.contains(shown), qPrintable(shown + QStringLiteral(" missing from:\n") + run.out));
    QCOMPARE(firstLineNotJapanese(run.out), QString());
    QCOMPARE(run.out.contains(QStringLiteral("-platform")), option == QLatin1String("--help-all"));
}

void TestCommandLine::unknownOptionWithoutADisplay() {
    const Run run = runProgram({QStringLiteral("--no-such-option")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(QStringLiteral("--no-such-option")), qPrintable(run.err));
    QCOMPARE(firstLineNotJapanese(run.err), QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
