// SPDX-License-Identifier: GPL-3.0-or-later
#include "../system/pdftext.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "records/recordswindow.h"
#include "shellfixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTableWidget>

#include <memory>

using Typing = QList<std::pair<QString, QString>>; // label, text
Q_DECLARE_METATYPE(Typing)

// The 相談記録 window driven as a counsellor would: through its labelled
// boxes and captioned buttons, on a record file of the test's own.
class TestRecordsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void clientAndVisitAreThereWhenTheRecordIsOpenedAgain();
    void badInputIsToldAndKeepsEverything_data();
    void badInputIsToldAndKeepsEverything();
    void consultedClientHeadsOtherWindowsHandouts();
    void secondProgramOnTheRecordOnlyReadsIt();
    void refusedFileChangesNothing();

private:
    RecordsWindow& openRecord();
    template <class W = QWidget> W* labelled(const QString& name) const;
    void type(const Typing& typing) const;
    void press(const QString& caption) const;
    QString cell(const QString& table, int row, int column) const;

    QTemporaryDir m_files;
    QString m_record;
    std::unique_ptr<ShellFixture> m_app;
};

void TestRecordsWindow::initTestCase() {
    // The remembered record and the default one are the test's, not the user's.
    QStandardPaths::setTestModeEnabled(true);
}

void TestRecordsWindow::init() {
    m_record = QDir(m_files.path()).filePath(u"%1.yomorisu"_qs.arg(QTest::currentTestFunction()));
    QFile::remove(m_record);
    m_app = std::make_unique<ShellFixture>();
}

void TestRecordsWindow::cleanup() {
    m_app.reset();
}

// A new record where the save dialog says, and the window over it.
RecordsWindow& TestRecordsWindow::openRecord() {
    m_app->handoutDialogs.answer = m_record;
    auto& window = m_app->shell.window<RecordsWindow>();
    window.startAnother();
    return window;
}

template <class W> W* TestRecordsWindow::labelled(const QString& name) const {
    for (W* w : m_app->shell.window<RecordsWindow>().form()->findChildren<W*>())
        if (w->accessibleName() == name)
            return w;
    return nullptr;
}

void TestRecordsWindow::type(const Typing& typing) const {
    for (const auto& [label, text] : typing) {
        if (auto* sex = labelled<QComboBox>(label)) {
            sex->setCurrentText(text);
            continue;
        }
        auto* box = labelled<QLineEdit>(label);
        QVERIFY2(box, qPrintable(label));
        box->setText(text);
    }
}

void TestRecordsWindow::press(const QString& caption) const {
    for (auto* b : m_app->shell.window<RecordsWindow>().form()->findChildren<QAbstractButton*>())
        if (b->text() == caption)
            return QTest::mouseClick(b, Qt::LeftButton);
    QFAIL(qPrintable(caption));
}

QString TestRecordsWindow::cell(const QString& table, int row, int column) const {
    auto* t = labelled<QTableWidget>(table);
    return t && t->item(row, column) ? t->item(row, column)->text() : u"(none)"_qs;
}

const Typing Client{{u"氏名"_qs, u"髙橋 一郎"_qs},
                    {u"ふりがな"_qs, u"たかはし いちろう"_qs},
                    {u"生年月日"_qs, u"S35.4.2"_qs}};
const Typing Visit{{u"受診日"_qs, u"2026/6/1"_qs}, {u"身長"_qs, u"165"_qs}, {u"体重"_qs, u"６０"_qs}};

void TestRecordsWindow::clientAndVisitAreThereWhenTheRecordIsOpenedAgain() {
    RecordsWindow& window = openRecord();
    window.open();
    // Whole on a 1366×768 screen, below the task bar and the title.
    QVERIFY(window.form()->minimumSizeHint().width() <= 1366);
    QVERIFY(window.form()->minimumSizeHint().height() <= 768 - 80);
    type(Client);
    type(Visit);
    press(u"保存"_qs);
    QVERIFY2(m_app->handoutDialogs.notices.isEmpty(), qPrintable(m_app->handoutDialogs.notices.join(u'\n')));

    // The program ends and starts again: the record used last opens.
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.open<RecordsWindow>();
    QCOMPARE(cell(u"相談者の一覧"_qs, 0, 0), u"髙橋 一郎"_qs);
    QCOMPARE(cell(u"相談者の一覧"_qs, 0, 3), u"1960-04-02（昭和35年）"_qs);
    auto* clients = labelled<QTableWidget>(u"相談者の一覧"_qs);
    clients->setCurrentCell(0, 0);
    // 60 / 1.65² = 22.04; (165 - 100) × 0.9 = 58.5.
    QCOMPARE(cell(u"受診記録の一覧"_qs, 0, 0), u"2026-06-01"_qs);
    QCOMPARE(cell(u"受診記録の一覧"_qs, 0, 3), u"22.0"_qs);
    QCOMPARE(cell(u"受診記録の一覧"_qs, 0, 4), u"58.5"_qs);
    QCOMPARE(labelled<QLineEdit>(u"BMI"_qs)->text(), u"22.0"_qs);
    QCOMPARE(labelled<QLineEdit>(u"標準体重"_qs)->text(), u"58.5 kg"_qs);
    QVERIFY(labelled<QLineEdit>(u"BMI"_qs)->isReadOnly());

    // The 経過 handout carries the client's name, the visit and the chart.
    const QString pdf = QDir(m_files.path()).filePath(u"経過.pdf"_qs);
    m_app->handoutDialogs.answer = pdf;
    press(u"経過を PDF に保存(&S)…"_qs);
    QTRY_VERIFY(!m_app->shell.window<RecordsWindow>().isBusy());
    const QString text = pdfText(pdf);
    const QString wanted = u"経過\n氏名：髙橋 一郎\n2026-06-01 165.0 60.0 22.0 58.5\n体重 kg\n標準体重\n"
                           u"BMI\n18.5\n25\n腹囲 cm\n2026-06-01"_qs;
    QVERIFY2(missingLine(wanted, text).isEmpty(),
             qPrintable(missingLine(wanted, text) + u"\n---\n"_qs + text));
}

void TestRecordsWindow::badInputIsToldAndKeepsEverything_data() {
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("bounds"); // as the message says them

    QTest::newRow("no name") << Typing{{u"氏名"_qs, u""_qs}} << u"氏名"_qs << u"40"_qs;
    QTest::newRow("birth date no date")
        << Typing{{u"生年月日"_qs, u"昭和35年13月2日"_qs}} << u"生年月日"_qs << u"昭和35年4月2日"_qs;
    QTest::newRow("height too small") << Typing{{u"身長"_qs, u"45"_qs}} << u"身長"_qs << u"250.0"_qs;
    QTest::newRow("weight not a number") << Typing{{u"体重"_qs, u"重い"_qs}} << u"体重"_qs << u"300.0"_qs;
    QTest::newRow("visit in the future")
        << Typing{{u"受診日"_qs, u"2199-01-01"_qs}} << u"受診日"_qs << u"今日"_qs;
    QTest::newRow("pressure upside down")
        << Typing{{u"収縮期血圧"_qs, u"80"_qs}, {u"拡張期血圧"_qs, u"90"_qs}} << u"収縮期血圧"_qs
        << u"拡張期血圧"_qs;
}

void TestRecordsWindow::badInputIsToldAndKeepsEverything() {
    QFETCH(Typing, typing);
    QFETCH(QString, field);
    QFETCH(QString, bounds);

    RecordsWindow& window = openRecord();
    window.open();
    type(Client);
    type(Visit);
    type(typing);
    press(u"保存"_qs);

    QCOMPARE(m_app->handoutDialogs.notices.size(), 1);
    const QString message = m_app->handoutDialogs.notices.first();
    QVERIFY2(message.startsWith(field) && message.contains(bounds), qPrintable(message));
    QCOMPARE(window.form()->focusWidget(), labelled(field));
    QCOMPARE(labelled<QTableWidget>(u"相談者の一覧"_qs)->rowCount(), 0);
    // Every box still holds what was typed last into it.
    QHash<QString, QString> typed;
    for (const auto& [label, text] : Client + Visit + typing)
        typed.insert(label, text);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        QCOMPARE(labelled<QLineEdit>(it.key())->text(), it.value());
}

void TestRecordsWindow::consultedClientHeadsOtherWindowsHandouts() {
    RecordsWindow& window = openRecord();
    window.open();
    type(Client);
    press(u"保存"_qs);
    auto& body = m_app->shell.window<BodyWindow>();
    body.open();
    body.control<TextBox>(u"Text1"_qs)->setText(u"170"_qs);
    body.control<TextBox>(u"Text2"_qs)->setText(u"65"_qs);
    ShellFixture::click(body, u"Command1"_qs);
    const auto nameLine = [](const QString& pdf) {
        const QStringList lines = pdfText(pdf).split(u'\n');
        const auto found = std::find_if(lines.begin(), lines.end(),
                                        [](const QString& line) { return line.startsWith(u"氏名："); });
        return found == lines.end() ? QString() : squeezed(*found);
    };
    // On, then off again.
    for (const QString& wanted : {u"氏名：髙橋一郎"_qs, u"氏名："_qs}) {
        press(u"この人の相談"_qs);
        m_app->handoutDialogs.answer = QDir(m_files.path()).filePath(wanted + u".pdf"_qs);
        body.saveHandout();
        QTRY_VERIFY(!body.isBusy());
        QCOMPARE(nameLine(m_app->handoutDialogs.answer), wanted);
    }
}

void TestRecordsWindow::secondProgramOnTheRecordOnlyReadsIt() {
    openRecord().open();
    type(Client);
    press(u"保存"_qs);
    ShellFixture second;
    second.fileDialog.answer = m_record;
    auto& other = second.shell.window<RecordsWindow>();
    other.openAnother();
    QCOMPARE(second.handoutDialogs.notices.size(), 1);
    QVERIFY2(second.handoutDialogs.notices.first().contains(u"読むだけ"),
             qPrintable(second.handoutDialogs.notices.first()));
    auto* clients = other.form()->findChild<QTableWidget*>();
    QCOMPARE(clients->item(0, 0)->text(), u"髙橋 一郎"_qs);
    clients->setCurrentCell(0, 0);
    for (QLineEdit* box : other.form()->findChildren<QLineEdit*>())
        QVERIFY2(box->isReadOnly() || box->accessibleName() == u"検索"_qs, qPrintable(box->accessibleName()));
    for (QAbstractButton* b : other.form()->findChildren<QAbstractButton*>())
        if (b->text() == u"保存"_qs || b->text() == u"削除"_qs)
            QVERIFY(!b->isEnabled());
    QCOMPARE(second.handoutDialogs.notices.size(), 1);
}

void TestRecordsWindow::refusedFileChangesNothing() {
    openRecord().open();
    type(Client);
    press(u"保存"_qs);
    QFile text(QDir(m_files.path()).filePath(u"メモ.yomorisu"_qs));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("no record, only a note\n");
    text.close();
    m_app->fileDialog.answer = text.fileName();
    m_app->shell.window<RecordsWindow>().openAnother();
    QCOMPARE(m_app->handoutDialogs.notices.size(), 1);
    QCOMPARE(cell(u"相談者の一覧"_qs, 0, 0), u"髙橋 一郎"_qs);
    // Nor is it remembered: the next start opens the record used before.
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.open<RecordsWindow>();
    QCOMPARE(cell(u"相談者の一覧"_qs, 0, 0), u"髙橋 一郎"_qs);
}

YOMORISU_GUI_TEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"
