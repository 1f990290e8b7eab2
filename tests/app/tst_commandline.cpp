// The command line: help and version answer at once, also without a display,
// and Qt's own options are not mistaken for ours.

#include "app/commandline.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built program with no display at all, as on a text console.
Run runProgram(const QStringList& arguments, const QStringList& extraEnvironment = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    for (const QString& setting : extraEnvironment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
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
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void onlyHelpAndVersionSkipTheWindows_data();
    void onlyHelpAndVersionSkipTheWindows();
    void versionWithoutADisplay();
    void helpWithoutADisplay_data();
    void helpWithoutADisplay();
    void unknownOptionIsRefused();
};

void TestCommandLine::onlyHelpAndVersionSkipTheWindows_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("informationOnly");
    QTest::newRow("no arguments") << QStringList{} << false;
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << true;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << true;
    QTest::newRow("--help-all") << QStringList{QStringLiteral("--help-all")} << true;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << true;
    QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << true;
    QTest::newRow("after a Qt option with its value")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("--version")}
        << true;
    QTest::newRow("-reverse holds a v but is Qt's") << QStringList{QStringLiteral("-reverse")} << false;
    QTest::newRow("-style with a value")
        << QStringList{QStringLiteral("-style"), QStringLiteral("fusion")} << false;
    QTest::newRow("after -- it is no option")
        << QStringList{QStringLiteral("--"), QStringLiteral("--help")} << false;
}

void TestCommandLine::onlyHelpAndVersionSkipTheWindows() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, informationOnly);
    arguments.prepend(QStringLiteral("yomorisu"));
    QCOMPARE(asksOnlyForInformation(arguments), informationOnly);
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
    for (const QString& shown :
         {QStringLiteral("ヨモリス"), QStringLiteral("--help"), QStringLiteral("--version")})
        QVERIFY2(run.out.contains(shown), qPrintable(shown + QStringLiteral(" missing from:\n") + run.out));
    if (option == QLatin1String("--help-all"))
        QVERIFY2(run.out.contains(QStringLiteral("-platform")), qPrintable(run.out));
}

void TestCommandLine::unknownOptionIsRefused() {
    // The option is checked before any window opens; offscreen, in case it
    // is not.
    const Run run =
        runProgram({QStringLiteral("--no-such-option")}, {QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("no-such-option")), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
