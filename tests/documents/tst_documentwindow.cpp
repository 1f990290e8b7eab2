// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentwindow.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "shellfixture.h"

#include <QPointer>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QThreadPool>

#include <memory>

namespace {

// What 病気 shows when it opens.
const QString OpeningText =
    QStringLiteral("　　　健康相談フォルダの　　　ファイルからご希望の文献を読み込んでください。！\r\n");

} // namespace

// 病気 driven through its buttons, with the dialog answered and the printer
// recorded by the test.
class TestDocumentWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadShowsTheFileLineByLine_data();
    void loadShowsTheFileLineByLine();
    void secondLoadReplacesTheFirst();
    void loadScrollsBackToTheTop();
    void dialogOpensInTheConsultationFolder();
    void dialogOpensInTheDocumentsFolderWithoutIt();
    void cancelLeavesEverythingAsItWas();
    void cancelledLoadKeepsTheText();
    void fileThatCannotBeOpenedKeepsTheBox_data();
    void fileThatCannotBeOpenedKeepsTheBox();
    void readErrorKeepsTheLinesReadBefore();
    void printBeforeAnyLoadPrintsTheOpeningText();
    void printTakesTheTextAsEdited();
    void printerFailureIsReportedAndTheProgramGoesOn();
    void reopeningShowsTheOpeningTextAgain();
    void stalledPrintHoldsNoLoadBack();
    void progressWindowShowsAfterHalfASecond();
    void printDuringALoadPrintsTheNewDocument();
    void unloadingCancelsAStalledPrint();

private:
    DocumentWindow& window() { return m_app->shell.window<DocumentWindow>(); }
    TextBox* box() { return window().control<TextBox>(QStringLiteral("Text1")); }
    // Writes raw bytes into the documents folder and returns the path.
    QString writeDocument(const QString& name, const QByteArray& bytes);
    void load(const QString& path);
    // A document long enough that its load is still under way when the test
    // acts next.
    QString longDocument();
    // Presses a button and waits for the work it started.
    void press(const QString& button);

    std::unique_ptr<ShellFixture> m_app;
};

void TestDocumentWindow::init() {
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.open<DocumentWindow>();
}

void TestDocumentWindow::cleanup() {
    m_app.reset();
}

QString TestDocumentWindow::writeDocument(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(m_app->dir.path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestDocumentWindow::press(const QString& button) {
    ShellFixture::click(window(), button);
    QTRY_VERIFY(!window().isBusy());
}

QString TestDocumentWindow::longDocument() {
    QByteArray many;
    for (int i = 0; i < 50000; ++i)
        many += "line " + QByteArray::number(i) + "\r\n";
    return writeDocument(QStringLiteral("long.txt"), many);
}

void TestDocumentWindow::load(const QString& path) {
    m_app->fileDialog.answer = path;
    press(QStringLiteral("Command1"));
}

void TestDocumentWindow::loadShowsTheFileLineByLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("three lines A, B, C")
        << QByteArray("A\r\nB\r\nC\r\n") << QStringLiteral("A\r\nB\r\nC\r\n") << QStringLiteral("A\nB\nC\n");
    QTest::newRow("LF alone keeps the file one line")
        << QByteArray("A\nB\nC\n") << QStringLiteral("A\nB\nC\n\r\n") << QStringLiteral("A\nB\nC\n\n");
    QTest::newRow("an empty file empties the box") << QByteArray() << QString() << QString();
    QTest::newRow("Japanese in code page 932")
        << QByteArray("\x95\x61\x8B\x43\r\n\x82\xA9\x82\xBA") << QStringLiteral("病気\r\nかぜ\r\n")
        << QStringLiteral("病気\nかぜ\n");
}

void TestDocumentWindow::loadShowsTheFileLineByLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    load(writeDocument(QStringLiteral("文書.txt"), bytes));
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(box()->text(), text);
    QCOMPARE(box()->toPlainText(), shown);
}

void TestDocumentWindow::secondLoadReplacesTheFirst() {
    load(writeDocument(QStringLiteral("a.txt"), "first 1\r\nfirst 2\r\nfirst 3\r\n"));
    load(writeDocument(QStringLiteral("b.txt"), "second\r\n"));
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(box()->text(), QStringLiteral("second\r\n"));
}

void TestDocumentWindow::loadScrollsBackToTheTop() {
    QByteArray many;
    for (int i = 0; i < 400; ++i)
        many += "line " + QByteArray::number(i) + " " + QByteArray(300, 'x') + "\r\n";
    load(writeDocument(QStringLiteral("long.txt"), many));
    box()->verticalScrollBar()->setValue(box()->verticalScrollBar()->maximum());
    box()->horizontalScrollBar()->setValue(box()->horizontalScrollBar()->maximum());
    QVERIFY(box()->verticalScrollBar()->value() > 0);
    load(writeDocument(QStringLiteral("long2.txt"), many));
    QCOMPARE(box()->verticalScrollBar()->value(), 0);
    QCOMPARE(box()->horizontalScrollBar()->value(), 0);
    // Long lines stay whole rather than wrapping at the box's width.
    QCOMPARE(box()->document()->firstBlock().layout()->lineCount(), 1);
}

void TestDocumentWindow::dialogOpensInTheConsultationFolder() {
    QVERIFY(QDir(m_app->dir.path()).mkdir(QStringLiteral("健康相談")));
    m_app->fileDialog.answer.clear();
    press(QStringLiteral("Command1"));
    QCOMPARE(m_app->fileDialog.shown, 1);
    QCOMPARE(QDir(m_app->fileDialog.lastFolder), QDir(m_app->dir.filePath(QStringLiteral("健康相談"))));
    QCOMPARE(m_app->fileDialog.lastPattern, QStringLiteral("*.txt"));
}

void TestDocumentWindow::dialogOpensInTheDocumentsFolderWithoutIt() {
    // A file of that name is no folder to open in.
    writeDocument(QStringLiteral("健康相談"), "not a folder");
    press(QStringLiteral("Command1"));
    QCOMPARE(QDir(m_app->fileDialog.lastFolder), QDir(m_app->dir.path()));
}

void TestDocumentWindow::cancelLeavesEverythingAsItWas() {
    load(writeDocument(QStringLiteral("a.txt"), "kept\r\n"));
    load(QString());
    QCOMPARE(m_app->fileDialog.shown, 2);
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(box()->text(), QStringLiteral("kept\r\n"));
}

void TestDocumentWindow::cancelledLoadKeepsTheText() {
    load(writeDocument(QStringLiteral("a.txt"), "kept\r\n"));
    m_app->fileDialog.answer = longDocument();
    ShellFixture::click(window(), QStringLiteral("Command1"));
    auto* progress = window().form()->findChild<QProgressDialog*>();
    QVERIFY(progress);
    // As the user's press of its button: the dialog is still waiting to show.
    auto* cancel = progress->findChild<QPushButton*>();
    QVERIFY(cancel);
    cancel->click();
    // The next press opens the dialog at once, without waiting for the
    // cancelled load to wind down.
    m_app->fileDialog.answer.clear();
    ShellFixture::click(window(), QStringLiteral("Command1"));
    QCOMPARE(m_app->fileDialog.shown, 3);
    QTRY_VERIFY(!window().isBusy());
    QCOMPARE(box()->text(), QStringLiteral("kept\r\n"));
    QVERIFY(m_app->errors.errors.isEmpty());
    // The title follows what the box holds.
    press(QStringLiteral("Command2"));
    QCOMPARE(m_app->printer.titles, QStringList{QStringLiteral("a.txt")});
}

void TestDocumentWindow::fileThatCannotBeOpenedKeepsTheBox_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("heading");
    QTest::newRow("missing file") << QStringLiteral("ない.txt") << 53 << QStringLiteral("実行時エラー '53':");
    QTest::newRow("a folder chosen as the file")
        << QStringLiteral("folder.txt") << 75 << QStringLiteral("実行時エラー '75':");
    QTest::newRow("in a folder that does not exist")
        << QStringLiteral("nowhere/x.txt") << 76 << QStringLiteral("実行時エラー '76':");
    // Nothing is wrong with the file: no error number sends the user looking.
    QTest::newRow("a line past the bound")
        << QStringLiteral("long-line.txt") << 0 << QStringLiteral("大きすぎる文書は読み込めません。");
}

void TestDocumentWindow::fileThatCannotBeOpenedKeepsTheBox() {
    QFETCH(QString, name);
    QFETCH(int, number);
    QFETCH(QString, heading);
    QVERIFY(QDir(m_app->dir.path()).mkdir(QStringLiteral("folder.txt")));
    writeDocument(QStringLiteral("long-line.txt"), QByteArray(10'001, 'x') + "\r\n");
    load(writeDocument(QStringLiteral("a.txt"), "before\r\n"));
    const QString path = QDir(m_app->dir.path()).filePath(name);
    load(path);
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), number);
    QCOMPARE(m_app->errors.errors[0].source(), path);
    const QString message = errorMessage(m_app->errors.errors[0]);
    QCOMPARE(message.section(u'\n', 0, 0), heading);
    // For a bound, the reason names it.
    QVERIFY(message.contains(m_app->errors.errors[0].reason()));
    QVERIFY(message.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(box()->text(), QStringLiteral("before\r\n"));
    QCOMPARE(m_app->quits, 0);
    QVERIFY(window().isLoaded());
}

void TestDocumentWindow::readErrorKeepsTheLinesReadBefore() {
    // A regular file whose every read fails: the process's own memory, read
    // from address 0, which is never mapped.
    const QString path = QStringLiteral("/proc/self/mem");
    if (!QFileInfo(path).isFile())
        QSKIP("needs Linux's /proc");
    load(writeDocument(QStringLiteral("a.txt"), "before\r\n"));
    load(path);
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), 57);
    QCOMPARE(m_app->errors.errors[0].source(), path);
    // The box was emptied once the file opened, and no line was read.
    QCOMPARE(box()->text(), QString());
    QVERIFY(window().isLoaded());
}

void TestDocumentWindow::printBeforeAnyLoadPrintsTheOpeningText() {
    press(QStringLiteral("Command2"));
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(m_app->printer.documents, QStringList{OpeningText + QStringLiteral("\r\n")});
    // Before any load, the job and its pages are named by the window's caption.
    QCOMPARE(m_app->printer.titles, QStringList{QStringLiteral("病気")});
}

void TestDocumentWindow::printTakesTheTextAsEdited() {
    load(writeDocument(QStringLiteral("a.txt"), "A\r\nB\r\n"));
    box()->moveCursor(QTextCursor::End);
    QTest::keyClicks(box(), QStringLiteral("C"));
    QTest::keyClick(box(), Qt::Key_Return);
    press(QStringLiteral("Command2"));
    press(QStringLiteral("Command2"));
    // One job per press, each with the box's text and one line end.
    QCOMPARE(m_app->printer.documents, QStringList(2, QStringLiteral("A\r\nB\r\nC\r\n\r\n")));
}

void TestDocumentWindow::printerFailureIsReportedAndTheProgramGoesOn() {
    m_app->printer.failure = RuntimeError(ErrorKind::Printer, QString(), QStringLiteral("no printer"));
    press(QStringLiteral("Command2"));
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), 482);
    QCOMPARE(box()->text(), OpeningText);
    QCOMPARE(m_app->quits, 0);

    m_app->printer.failure.reset();
    press(QStringLiteral("Command2"));
    QCOMPARE(m_app->printer.documents.size(), 1);
}

void TestDocumentWindow::reopeningShowsTheOpeningTextAgain() {
    load(writeDocument(QStringLiteral("a.txt"), "A\r\n"));
    ShellFixture::click(window(), QStringLiteral("Command3"));
    QVERIFY(!window().isLoaded());
    m_app->shell.open<DocumentWindow>();
    QCOMPARE(box()->text(), OpeningText);
    // The closed form goes only now, while the new print is under way; its
    // going takes nothing of the new form's work with it.
    m_app->printer.stalled = true;
    ShellFixture::click(window(), QStringLiteral("Command2"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_app->printer.stalled = false;
    QTRY_VERIFY(!window().isBusy());
    QCOMPARE(m_app->printer.cancelled, 0);
    QCOMPARE(m_app->printer.documents, QStringList{OpeningText + QStringLiteral("\r\n")});
    QCOMPARE(m_app->printer.titles, QStringList{QStringLiteral("病気")});
}

void TestDocumentWindow::stalledPrintHoldsNoLoadBack() {
    // However few threads the machine and Qt's own pool have, a print that
    // waits on the print system leaves the window a thread to load with.
    window().workers().setMaxThreadCount(2);
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    m_app->printer.stalled = true;
    window().printDocument();
    // A second press waits for the first, saying so, rather than taking the
    // last thread.
    window().printDocument();
    const auto dialogs = window().form()->findChildren<QProgressDialog*>();
    QCOMPARE(dialogs.size(), 2);
    QVERIFY(dialogs[1]->labelText().contains(QStringLiteral("前の印刷")));
    m_app->fileDialog.answer = writeDocument(QStringLiteral("a.txt"), "loaded\r\n");
    window().loadDocumentFromDialog();
    QTRY_COMPARE(box()->text(), QStringLiteral("loaded\r\n"));
    QVERIFY(window().isBusy());
    QVERIFY(m_app->printer.documents.isEmpty());

    m_app->printer.stalled = false;
    QTRY_VERIFY(!window().isBusy());
    // Each press printed the box as it was then.
    QCOMPARE(m_app->printer.documents, QStringList(2, OpeningText + QStringLiteral("\r\n")));
    QVERIFY(m_app->errors.errors.isEmpty());
    QThreadPool::globalInstance()->setMaxThreadCount(QThread::idealThreadCount());
}

void TestDocumentWindow::progressWindowShowsAfterHalfASecond() {
    m_app->printer.stalled = true;
    ShellFixture::click(window(), QStringLiteral("Command2"));
    QPointer<QProgressDialog> progress = window().form()->findChild<QProgressDialog*>();
    QVERIFY(progress);
    // Quick work shows no window at all; a wait shows it well before Qt's
    // own four seconds.
    QVERIFY(!progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), 2000);
    auto* cancel = progress->findChild<QPushButton*>();
    QVERIFY(cancel);
    QCOMPARE(cancel->text(), QStringLiteral("キャンセル"));
    cancel->click();
    QTRY_VERIFY(!window().isBusy());
    QVERIFY(!progress);
    QCOMPARE(m_app->printer.cancelled, 1);
    QVERIFY(m_app->printer.documents.isEmpty());
    QVERIFY(m_app->errors.errors.isEmpty());
}

void TestDocumentWindow::printDuringALoadPrintsTheNewDocument() {
    load(writeDocument(QStringLiteral("a.txt"), "old\r\n"));
    m_app->fileDialog.answer = longDocument();
    ShellFixture::click(window(), QStringLiteral("Command1"));
    QVERIFY(window().isBusy());
    ShellFixture::click(window(), QStringLiteral("Command2"));
    QTRY_VERIFY(!window().isBusy());
    QCOMPARE(m_app->printer.titles, QStringList{QStringLiteral("long.txt")});
    QCOMPARE(m_app->printer.documents, QStringList{box()->text() + QStringLiteral("\r\n")});
    QVERIFY(box()->text().startsWith(QStringLiteral("line 0\r\n")));
}

void TestDocumentWindow::unloadingCancelsAStalledPrint() {
    m_app->printer.stalled = true;
    ShellFixture::click(window(), QStringLiteral("Command2"));
    ShellFixture::click(window(), QStringLiteral("Command3"));
    QVERIFY(!window().isLoaded());
    // Ended, whether the print had started waiting yet or not.
    QTRY_VERIFY(!window().isBusy());
    QVERIFY(m_app->printer.documents.isEmpty());
    QVERIFY(m_app->errors.errors.isEmpty());
}

YOMORISU_GUI_TEST_MAIN(TestDocumentWindow)
#include "tst_documentwindow.moc"
