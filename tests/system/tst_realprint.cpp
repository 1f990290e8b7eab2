// SPDX-License-Identifier: GPL-3.0-or-later
// Printing for real: "印刷" in the real window, through CUPS, to the loopback
// printer of scripts/test-printer.sh, whose listener keeps every job it gets.
// Without that printer the test skips on a developer's machine and fails in
// CI (the variable CI is set), where .ci/run sets it up.
#include "app/shell.h"
#include "documents/documentwindow.h"
#include "guitest.h"
#include "pdftext.h"
#include "shellfixture.h"
#include "system/systemprinter.h"
#include "windows/textbox.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <cups/cups.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString NoServer = QStringLiteral("/nonexistent/yomorisu-cups.sock");

QString stateFolder() {
    const QString set = qEnvironmentVariable("YOMORISU_TEST_PRINTER_DIR");
    return set.isEmpty() ? QStringLiteral("/tmp/yomorisu-test-printer") : set;
}

QString stateValue(const QString& name) {
    QFile file(QDir(stateFolder()).filePath(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// In the order they arrived: job-10 after job-9.
QStringList receivedJobs() {
    QStringList jobs = QDir(QDir(stateFolder()).filePath(QStringLiteral("jobs")))
                           .entryList({QStringLiteral("job-*")}, QDir::Files)
                           .filter(QRegularExpression(QStringLiteral("^job-\\d+$")));
    std::sort(jobs.begin(), jobs.end(),
              [](const QString& a, const QString& b) { return a.mid(4).toInt() < b.mid(4).toInt(); });
    return jobs;
}

QString defaultPrinterName() {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    const QString name = dest ? QString::fromUtf8(dest->name) : QString();
    cupsFreeDests(dest ? 1 : 0, dest);
    return name;
}

int activeJobs(const QString& queue) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs(&jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(count, jobs);
    return count;
}

} // namespace

class TestRealPrint : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void printsTheBoxAsOneJob();
    void printsTheLongSampleOverSeveralPages();
    void noDefaultPrinterIsThePrinterError();
    void refusedJobIsThePrinterError();
    void queueThatWillNotPrintIsThePrinterError();
    void serviceThatNeverAnswersIsThePrinterError();

private:
    // Skips, or fails in CI, unless the loopback printer is there and is
    // the default the program will find.
    bool loopbackReady(const QString& wantedDefault);
    // Presses 印刷 and saves the one job that arrived as a PDF file at `pdf`.
    void printAndReceive(const QString& pdf);
    // Presses 印刷 and waits for the work to end.
    void print();
    // The one failure reported, after which the program goes on.
    RuntimeError onlyFailure();
    TextBox* box() { return m_shell->window<DocumentWindow>().control<TextBox>(QStringLiteral("Text1")); }

    QTemporaryDir m_dir;
    RecordingErrorStop m_errors;
    ScriptedFileDialog m_dialog;
    SystemPrinter m_printer;
    int m_quits = 0;
    std::unique_ptr<Shell> m_shell;
};

void TestRealPrint::init() {
    m_errors.errors.clear();
    m_shell = std::make_unique<Shell>(
        m_errors, m_dir.path(), [this] { ++m_quits; }, m_dialog, m_printer);
    m_shell->open<DocumentWindow>();
}

void TestRealPrint::cleanup() {
    m_shell.reset();
}

bool TestRealPrint::loopbackReady(const QString& wantedDefault) {
    const QString found = defaultPrinterName();
    if (!wantedDefault.isEmpty() && found == wantedDefault)
        return true;
    const QString why =
        QStringLiteral("the loopback printer is not set up (default printer \"%1\", wanted \"%2\"): "
                       "run scripts/test-printer.sh up")
            .arg(found, wantedDefault);
    if (qEnvironmentVariableIsSet("CI"))
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    else
        QTest::qSkip(qPrintable(why), __FILE__, __LINE__);
    return false;
}

void TestRealPrint::print() {
    ShellFixture::click(m_shell->window<DocumentWindow>(), QStringLiteral("Command2"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_shell->window<DocumentWindow>().isBusy(), 60000);
}

RuntimeError TestRealPrint::onlyFailure() {
    [&] {
        QCOMPARE(m_errors.errors.size(), 1);
        QCOMPARE(m_errors.errors[0].number(), 482);
        QCOMPARE(m_quits, 0);
        QVERIFY(m_shell->window<DocumentWindow>().isLoaded());
    }();
    return m_errors.errors.value(0, RuntimeError(ErrorKind::Overflow));
}

void TestRealPrint::printAndReceive(const QString& pdf) {
    const QString queue = stateValue(QStringLiteral("queue"));
    const QStringList before = receivedJobs();
    print();
    QVERIFY2(m_errors.errors.isEmpty(),
             qPrintable(errorMessage(m_errors.errors.value(0, RuntimeError(ErrorKind::Printer)))));
    // The job has gone through CUPS and the listener has closed it.
    QTRY_VERIFY_WITH_TIMEOUT(receivedJobs().size() > before.size() && activeJobs(queue) == 0, 60000);
    // One job, not one per page or line.
    QTest::qWait(500);
    const QStringList after = receivedJobs();
    QCOMPARE(after.size(), before.size() + 1);
    QFile job(QDir(stateFolder()).filePath(QStringLiteral("jobs/") + after.last()));
    QVERIFY(job.open(QIODevice::ReadOnly));
    const QByteArray bytes = job.readAll();
    QVERIFY2(bytes.startsWith("%PDF-"), bytes.left(16).constData());
    QFile out(pdf);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
}

void TestRealPrint::printsTheBoxAsOneJob() {
    if (!loopbackReady(stateValue(QStringLiteral("queue"))))
        return;
    // The opening text, then a line the user typed, far wider than a page.
    box()->moveCursor(QTextCursor::End);
    // Typed keys are Latin-1 only; the opening text holds the Japanese.
    const QString wide =
        QStringLiteral("BP") + QStringLiteral("0123456789").repeated(16) + QStringLiteral("END");
    QTest::keyClicks(box(), wide);
    QVERIFY(box()->text().endsWith(wide));

    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(QStringLiteral("job.pdf"));
    printAndReceive(pdf);
    if (QTest::currentTestFailed())
        return;
    const QString printed = pdfText(pdf);
    QVERIFY2(printed.contains(QStringLiteral("健康相談フォルダの")), qPrintable(printed));
    const QString missing = missingLine(box()->text(), printed);
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("not printed: %1\nprinted:\n%2").arg(missing, printed)));
    // The wide line wrapped onto further lines instead of running off the page.
    QVERIFY(!printedWhole(wide, printed));
}

void TestRealPrint::printsTheLongSampleOverSeveralPages() {
    if (!loopbackReady(stateValue(QStringLiteral("queue"))))
        return;
    m_dialog.answer = QStringLiteral(YOMORISU_TEST_DATA "/健康相談/糖尿病.txt");
    ShellFixture::click(m_shell->window<DocumentWindow>(), QStringLiteral("Command1"));
    QTRY_VERIFY(!m_shell->window<DocumentWindow>().isBusy());
    QVERIFY(m_errors.errors.isEmpty());

    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(QStringLiteral("job.pdf"));
    printAndReceive(pdf);
    if (QTest::currentTestFailed())
        return;
    const QString missing = missingLine(box()->text(), pdfText(pdf));
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not printed: %1").arg(missing)));
    const int pages = pdfPages(pdf);
    QVERIFY(pages > 2);
    // Loose pages go back in order: each names the document and its place.
    for (int page = 1; page <= pages; ++page)
        QVERIFY(squeezed(pdfPageText(pdf, page))
                    .endsWith(squeezed(QStringLiteral("糖尿病.txt %1 / %2").arg(page).arg(pages))));
}

void TestRealPrint::noDefaultPrinterIsThePrinterError() {
    // libcups settles on its server once per process, so this case runs on
    // its own with the print system out of reach (tests/documents/CMakeLists.txt).
    if (qEnvironmentVariable("CUPS_SERVER") != NoServer)
        QSKIP("runs as tst_realprint_nodefault");
    const QString before = box()->text();
    print();
    QVERIFY(onlyFailure().reason().contains(QStringLiteral("印刷サービスが動いていません")));
    QCOMPARE(box()->text(), before);
}

void TestRealPrint::refusedJobIsThePrinterError() {
    // The default comes from PRINTER, read once per process: its own run.
    const QString refusing = stateValue(QStringLiteral("refusing-queue"));
    if (qEnvironmentVariable("PRINTER").isEmpty())
        QSKIP("runs as tst_realprint_refused");
    if (!loopbackReady(refusing))
        return;
    print();
    QCOMPARE(onlyFailure().source(), refusing);
}

void TestRealPrint::queueThatWillNotPrintIsThePrinterError() {
    // Queues that take a job and keep it: each is its own run, with PRINTER.
    const QString printer = qEnvironmentVariable("PRINTER");
    const QString stopped = stateValue(QStringLiteral("stopped-queue"));
    const QString holding = stateValue(QStringLiteral("holding-queue"));
    if (printer.isEmpty() || (printer != stopped && printer != holding))
        QSKIP("runs as tst_realprint_stopped and tst_realprint_held");
    if (!loopbackReady(printer))
        return;
    print();
    const RuntimeError failure = onlyFailure();
    QCOMPARE(failure.source(), printer);
    QVERIFY2(failure.reason().contains(printer == stopped ? QStringLiteral("停止") : QStringLiteral("保留")),
             qPrintable(failure.reason()));
}

void TestRealPrint::serviceThatNeverAnswersIsThePrinterError() {
    // libcups keeps the server a thread first used, and the window's worker
    // threads are reused: a process of its own.
    if (!qEnvironmentVariableIsSet("YOMORISU_SILENT_SERVER_TEST"))
        QSKIP("runs as tst_realprint_noanswer");
    // A print server that takes the connection and never says a word.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    QVERIFY(listener >= 0 && ::bind(listener, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            ::listen(listener, 8) == 0 &&
            ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);
    qputenv("CUPS_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(ntohs(address.sin_port)));
    QElapsedTimer waited;
    waited.start();
    print();
    qunsetenv("CUPS_SERVER");
    ::close(listener);
    QVERIFY(onlyFailure().reason().contains(QStringLiteral("応答しません")));
    QVERIFY(waited.elapsed() < 30000);

    // The next press finds the print system again.
    m_errors.errors.clear();
    if (!loopbackReady(stateValue(QStringLiteral("queue"))))
        return;
    QTemporaryDir scratch;
    printAndReceive(scratch.filePath(QStringLiteral("job.pdf")));
}

YOMORISU_GUI_TEST_MAIN(TestRealPrint)
#include "tst_realprint.moc"
