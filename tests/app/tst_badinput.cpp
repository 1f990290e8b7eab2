// SPDX-License-Identifier: GPL-3.0-or-later
// What a user or a damaged disk can hand the program, fed to every window at
// once: each press ends in a clear message or a sound result, the program goes
// on, the other windows keep what they show, and the files are never touched.
#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/picturearea.h"
#include "guitest.h"
#include "shellfixture.h"
#include "tables/tableload.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

namespace {

using Panels = QList<QString>;

QByteArray binaryGarbage() {
    QRandomGenerator random(8);
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

QByteArray goodRecords(const QString& prefix) {
    QString text;
    for (int n = 1; n <= 30; ++n)
        text += QStringLiteral("%1%2,%3\r\n").arg(prefix).arg(n).arg(n % 9 + 1);
    return codePage932(text);
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void badTableFile_data();
    void badTableFile();
    void badEntries_data();
    void badEntries();
    void badDocument_data();
    void badDocument();

private:
    void writeFile(const QString& name, const QByteArray& bytes);
    QString path(const QString& name) const { return QDir(m_app->dir.path()).filePath(name); }
    // Every picture area of every open window, in a fixed order.
    Panels allPanels();
    void pressEveryTableButton();
    void checkStillRunning();

    std::unique_ptr<ShellFixture> m_app;
};

void TestBadInput::init() {
    m_app = std::make_unique<ShellFixture>();
    writeFile(SetMealFileName, goodRecords(QStringLiteral("定食")));
    writeFile(RmrFileName, goodRecords(QStringLiteral("運動")));
    m_app->shell.start();
    m_app->shell.open<SetMealWindow>();
    m_app->shell.open<IntakeWindow>();
    m_app->shell.open<RmrWindow>();
    m_app->shell.open<ExpenditureWindow>();
    m_app->shell.open<BodyWindow>();
    m_app->shell.open<DocumentWindow>();
    pressEveryTableButton();
    QVERIFY(m_app->errors.errors.isEmpty());
}

void TestBadInput::cleanup() {
    m_app.reset();
}

void TestBadInput::writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

Panels TestBadInput::allPanels() {
    Panels panels;
    for (WindowObject* window : std::initializer_list<WindowObject*>{
             &m_app->shell.window<SetMealWindow>(), &m_app->shell.window<IntakeWindow>(),
             &m_app->shell.window<RmrWindow>(), &m_app->shell.window<ExpenditureWindow>(),
             &m_app->shell.window<BodyWindow>()})
        for (PictureArea* area : window->form()->findChildren<PictureArea*>())
            panels.append(window->layout().name + u'/' + area->objectName() + u'\n' + area->lines().text());
    return panels;
}

void TestBadInput::pressEveryTableButton() {
    ShellFixture::click(m_app->shell.window<SetMealWindow>(), QStringLiteral("Command1"));
    ShellFixture::click(m_app->shell.window<IntakeWindow>(), QStringLiteral("Command1"));
    ShellFixture::click(m_app->shell.window<RmrWindow>(), QStringLiteral("Command1"));
    ShellFixture::click(m_app->shell.window<ExpenditureWindow>(), QStringLiteral("Command1"));
    ShellFixture::click(m_app->shell.window<ExpenditureWindow>(), QStringLiteral("Command3"));
}

void TestBadInput::checkStillRunning() {
    QCOMPARE(m_app->quits, 0);
    QVERIFY(m_app->shell.window<MainMenuWindow>().isLoaded());
    QVERIFY(m_app->shell.window<SetMealWindow>().isLoaded());
    QVERIFY(m_app->shell.window<ExpenditureWindow>().isLoaded());
}

void TestBadInput::badTableFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads"); // a sound result rather than a message
    for (const QString& file : {SetMealFileName, RmrFileName}) {
        const QByteArray name = file.toUtf8();
        QTest::addRow("%s: binary garbage", name.constData()) << file << binaryGarbage() << false;
        QTest::addRow("%s: 50 MB of one field", name.constData())
            << file << QByteArray(50 * 1024 * 1024, 'a') << false;
        QTest::addRow("%s: UTF-16", name.constData())
            << file << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(u"散歩,3\r\n"), 12)
            << true; // read byte by byte as code page 932: odd names, but no harm
        QTest::addRow("%s: a 10,000-character name", name.constData())
            << file << codePage932(QString(10000, u'名') + QStringLiteral(",5\r\n"))
            << false; // past the field bound
        QTest::addRow("%s: a folder", name.constData()) << file << QByteArray() << false;
    }
}

void TestBadInput::badTableFile() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    const bool folder = QByteArray(QTest::currentDataTag()).endsWith("folder");
    if (folder) {
        QVERIFY(QFile::remove(path(file)));
        QVERIFY(QDir(m_app->dir.path()).mkdir(file));
    } else {
        writeFile(file, bytes);
    }
    const QString other = file == SetMealFileName ? RmrFileName : SetMealFileName;
    const Panels before = allPanels();
    pressEveryTableButton();

    checkStillRunning();
    if (loads) {
        QVERIFY(m_app->errors.errors.isEmpty());
    } else {
        // One clear message per press that read the file, each naming it.
        QVERIFY(!m_app->errors.errors.isEmpty());
        for (const RuntimeError& error : m_app->errors.errors) {
            QVERIFY2(QList<int>({6, 9, 57, 62, 75}).contains(error.number()), error.what());
            QCOMPARE(error.source(), path(file));
            QVERIFY(errorMessage(error).contains(QDir::toNativeSeparators(path(file))));
        }
    }
    // The windows that read the other file show what they showed.
    const Panels after = allPanels();
    for (qsizetype i = 0; i < before.size(); ++i) {
        const bool readsOther =
            (other == RmrFileName) == (before[i].startsWith(u"RMR/") || before[i].startsWith(u"消費/"));
        if (readsOther)
            QCOMPARE(after[i], before[i]);
    }
    // Nothing was written: the bad file is as it was, and no file was added.
    if (!folder) {
        QFile read(path(file));
        QVERIFY(read.open(QIODevice::ReadOnly));
        QVERIFY(read.readAll() == bytes);
    }
    QCOMPARE(QDir(m_app->dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

void TestBadInput::badEntries_data() {
    QTest::addColumn<QString>("text");
    // What each window shows after the text is pasted into its first box and
    // its calculation pressed, or the error it stops with: 摂取's day total,
    // 消費's energy, 標準's standard weight (its box keeps 4 characters).
    QTest::addColumn<QString>("intakeDay");
    QTest::addColumn<QString>("expenditure");
    QTest::addColumn<QString>("standardWeight");
    const auto add = [](const char* name, const QString& text, const char* intake, const char* expenditure,
                        const char* weight) {
        QTest::newRow(name) << text << QString::fromUtf8(intake) << QString::fromUtf8(expenditure)
                            << QString::fromUtf8(weight);
    };
    add("&HFFFFFFFF reads as -1", QStringLiteral("&HFFFFFFFF"), "error 9", "error 9", " 139.5 ");
    add("1E308 is past every range", QStringLiteral("1E308"), "error 6", "error 6", "error 6");
    add("-0 is zero", QStringLiteral("-0"), " 0 ", " 0 ", "error 6");
    add("NaN is no number", QStringLiteral("NaN"), " 0 ", " 0 ", "error 6");
    add("10,000 nines pasted", QString(10000, u'9'), "error 6", "error 6", " 8909.1 ");
    // As a paste from a web page brings it: a blank in every window.
    add("no-break space before 3", QStringLiteral("\u00A03"), " 4 ", " 0 ", "-97 ");
}

void TestBadInput::badEntries() {
    QFETCH(QString, text);
    QFETCH(QString, intakeDay);
    QFETCH(QString, expenditure);
    QFETCH(QString, standardWeight);
    const Panels before = allPanels();
    QStringList lost;
    auto outcome = [&](WindowObject& window, const QString& box, const QString& result) -> QString {
        // A one-line box or a multi-line one: both paste and have a text.
        auto* edit = window.control<QWidget>(box);
        edit->setProperty("text", QString());
        QApplication::clipboard()->setText(text);
        edit->setFocus();
        QMetaObject::invokeMethod(edit, "paste");
        const QString typed = edit->property("text").toString();
        const qsizetype errorsBefore = m_app->errors.errors.size();
        ShellFixture::click(window, QStringLiteral("Command1"));
        if (edit->property("text").toString() != typed)
            lost.append(window.layout().name + u'/' + box);
        if (m_app->errors.errors.size() > errorsBefore)
            return QStringLiteral("error %1").arg(m_app->errors.errors.last().number());
        return window.control<PictureArea>(result)->lines().text();
    };
    QCOMPARE(
        outcome(m_app->shell.window<IntakeWindow>(), QStringLiteral("Text1"), QStringLiteral("Picture4")),
        intakeDay);
    QCOMPARE(outcome(m_app->shell.window<ExpenditureWindow>(), QStringLiteral("Text1"),
                     QStringLiteral("Picture3")),
             expenditure);
    QCOMPARE(outcome(m_app->shell.window<BodyWindow>(), QStringLiteral("Text1"), QStringLiteral("Picture1")),
             standardWeight);
    // What the user typed is never lost.
    QCOMPARE(lost, QStringList());
    checkStillRunning();
    // The table windows were not touched.
    const Panels after = allPanels();
    for (qsizetype i = 0; i < before.size(); ++i)
        if (before[i].startsWith(u"定食1/") || before[i].startsWith(u"RMR/"))
            QCOMPARE(after[i], before[i]);
}

void TestBadInput::badDocument_data() {
    QTest::addColumn<bool>("folder");
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<int>("number");
    QTest::newRow("a folder") << true << qsizetype(0) << 75;
    // Refused for its size: no run-time error.
    QTest::newRow("50 MB of binary") << false << qsizetype(50 * 1024 * 1024) << 0;
}

void TestBadInput::badDocument() {
    QFETCH(bool, folder);
    QFETCH(qsizetype, size);
    QFETCH(int, number);
    const QString chosen = path(QStringLiteral("文献.txt"));
    QByteArray bytes;
    if (folder) {
        QVERIFY(QDir(m_app->dir.path()).mkdir(QStringLiteral("文献.txt")));
    } else {
        bytes = binaryGarbage().repeated(size / (64 * 1024));
        writeFile(QStringLiteral("文献.txt"), bytes);
    }
    auto& window = m_app->shell.window<DocumentWindow>();
    auto* box = window.control<QWidget>(QStringLiteral("Text1"));
    box->setProperty("text", QStringLiteral("利用者が書いた文\r\n"));
    const Panels before = allPanels();
    m_app->fileDialog.answer = chosen;
    ShellFixture::click(window, QStringLiteral("Command1"));
    QTRY_VERIFY(!window.isBusy());

    checkStillRunning();
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), number);
    QVERIFY(errorMessage(m_app->errors.errors[0]).contains(QDir::toNativeSeparators(chosen)));
    // What the user had in the box stays, and so does every other window.
    QCOMPARE(box->property("text").toString(), QStringLiteral("利用者が書いた文\r\n"));
    QCOMPARE(allPanels(), before);
    if (!folder) {
        QFile read(chosen);
        QVERIFY(read.open(QIODevice::ReadOnly));
        QVERIFY(read.readAll() == bytes);
    }
}

YOMORISU_GUI_TEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
