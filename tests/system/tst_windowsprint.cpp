// SPDX-License-Identifier: GPL-3.0-or-later
// Printing on Windows for real: 印刷 in 病気 and 印刷(P)… in 摂取, through
// Windows' print support to the default printer. Under Wine that is this
// machine's CUPS default, the loopback printer of scripts/test-printer.sh,
// whose listener keeps every job (Wine's driver sends PostScript). Without
// that printer the test skips, and fails in CI.
#include "../system/pdftext.h"
#include "app/shell.h"
#include "documents/documentwindow.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "meals/intakewindow.h"
#include "receivedjobs.h"
#include "shellfixture.h"
#include "system/systemprinter.h"

#include <QLineEdit>
#include <QTest>

namespace {

// Where scripts/test-printer.sh keeps the jobs, on Wine's Z: drive.
const QString Jobs = QStringLiteral("Z:/tmp/yomorisu-test-printer/jobs");

QStringList receivedJobs() {
    return receivedJobs(Jobs);
}

// The pages a PostScript job says it holds; 0 when it does not say.
int postScriptPages(const QByteArray& job) {
    const auto match = QRegularExpression(QStringLiteral("%%Pages: (\\d+)")).match(QString::fromLatin1(job));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

class TestWindowsPrint : public QObject {
    Q_OBJECT
private slots:
    void init();
    void documentIsOneJobWithThePdfsPages();
    void handoutIsOneJobWithThePdfsPages();

private:
    bool loopbackReady();
    // Does `press`, waits for the one job it sends and returns it.
    QByteArray receiveOneJob(const WindowObject& window, const std::function<void()>& press);

    std::unique_ptr<ShellFixture> m_app;
    SystemPrinter m_printer;
    std::unique_ptr<Shell> m_shell;
};

void TestWindowsPrint::init() {
    m_shell.reset();
    m_app = std::make_unique<ShellFixture>();
    m_shell = std::make_unique<Shell>(
        m_app->errors, m_app->dir.path(), [] {}, m_app->fileDialog, m_printer);
    m_shell->setHandoutDialogs(m_app->handoutDialogs);
}

bool TestWindowsPrint::loopbackReady() {
    if (QFileInfo(Jobs).isDir())
        return true;
    const char* why = "the loopback printer is not set up: run scripts/test-printer.sh up";
    if (qEnvironmentVariableIsSet("CI"))
        QTest::qFail(why, __FILE__, __LINE__);
    else
        QTest::qSkip(why, __FILE__, __LINE__);
    return false;
}

QByteArray TestWindowsPrint::receiveOneJob(const WindowObject& window, const std::function<void()>& press) {
    const QStringList before = receivedJobs();
    press();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!window.isBusy(), 60000); }();
    const auto errors = m_app->errors.errors;
    [&] {
        QVERIFY2(errors.isEmpty(),
                 qPrintable(errorMessage(errors.value(0, RuntimeError(ErrorKind::Printer)))));
    }();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(receivedJobs().size() > before.size(), 60000); }();
    // One job, not one per page: wait for any second one to show.
    QTest::qWait(1500);
    const QStringList after = receivedJobs();
    [&] { QCOMPARE(after.size(), before.size() + 1); }();
    QFile job(QDir(Jobs).filePath(after.value(after.size() - 1)));
    return job.open(QIODevice::ReadOnly) ? job.readAll() : QByteArray();
}

void TestWindowsPrint::documentIsOneJobWithThePdfsPages() {
    if (!loopbackReady())
        return;
    m_shell->open<DocumentWindow>();
    DocumentWindow& window = m_shell->window<DocumentWindow>();
    m_app->fileDialog.answer = QStringLiteral(YOMORISU_TEST_DATA "/健康相談/糖尿病.txt");
    ShellFixture::click(window, QStringLiteral("Command1"));
    QTRY_VERIFY(!window.isBusy());
    const QByteArray job =
        receiveOneJob(window, [&] { ShellFixture::click(window, QStringLiteral("Command2")); });
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(job.startsWith("%!PS"), job.left(16).constData());

    // As many pages as the PDF of the same text.
    QTemporaryDir scratch;
    QFile pdf(scratch.filePath(QStringLiteral("same.pdf")));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    m_printer.writePdf(window.control<TextBox>(QStringLiteral("Text1"))->text(), QStringLiteral("糖尿病.txt"),
                       pdf);
    pdf.close();
    const int pages = pdfPages(pdf.fileName());
    QVERIFY(pages > 2);
    QCOMPARE(postScriptPages(job), pages);
}

void TestWindowsPrint::handoutIsOneJobWithThePdfsPages() {
    if (!loopbackReady())
        return;
    QVERIFY(QFile::copy(QStringLiteral(YOMORISU_TEST_DATA "/定食.csv"),
                        m_app->dir.filePath(QStringLiteral("定食.csv"))));
    m_shell->open<IntakeWindow>();
    IntakeWindow& window = m_shell->window<IntakeWindow>();
    for (const char* box : {"Text1", "Text11", "Text21"})
        window.control<QLineEdit>(QString::fromLatin1(box))->setText(QStringLiteral("3"));
    ShellFixture::click(window, QStringLiteral("Command1"));
    QVERIFY(m_app->errors.errors.isEmpty());
    const QByteArray job = receiveOneJob(window, [&] { window.printHandout(); });
    if (QTest::currentTestFailed())
        return;

    // The PDF of the same handout, saved from the window's menu.
    QTemporaryDir scratch;
    m_app->handoutDialogs.answer = scratch.filePath(QStringLiteral("same.pdf"));
    window.saveHandout();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isBusy(), 60000);
    QVERIFY(m_app->errors.errors.isEmpty());
    const int pages = pdfPages(m_app->handoutDialogs.answer);
    QVERIFY(pages >= 1);
    QCOMPARE(postScriptPages(job), pages);
}

YOMORISU_GUI_TEST_MAIN(TestWindowsPrint)
#include "tst_windowsprint.moc"
