// SPDX-License-Identifier: GPL-3.0-or-later
#include "../system/pdftext.h"
#include "app/shell.h"
#include "common/datafolder.h"
#include "guitest.h"
#include "shellfixture.h"

#include <QAction>
#include <QDate>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

using Typing = QList<std::pair<QString, QString>>; // box, text
Q_DECLARE_METATYPE(Typing)

// The ファイル menu of every working window, filled through its boxes and
// buttons and read back from the saved PDF.
class TestHandouts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void savedPdfHoldsWhatTheWindowShowed_data();
    void savedPdfHoldsWhatTheWindowShowed();
    void documentMenuPrintsAndSavesAsThePrintButton();
    void bmiScaleMarksTheClientsPointAndKeepsTheFigureSharp();
    void longTableKeepsEveryRowWholeOnOnePage();
    void failedSaveTellsTheFileAndLeavesNone_data();
    void failedSaveTellsTheFileAndLeavesNone();

private:
    WindowObject& open(const QString& window);
    // `times` choices in a row, before the first has run.
    static void triggerSave(const WindowObject& window, int times = 1) {
        trigger(window, u"PDF に保存(&S)…"_qs, u"Ctrl+S"_qs, times);
    }
    static void triggerPrint(const WindowObject& window) { trigger(window, u"印刷(&P)…"_qs, u"Ctrl+P"_qs); }
    static void trigger(const WindowObject& window, const QString& text, const QString& shortcut,
                        int times = 1);
    static void type(const WindowObject& window, const QString& box, const QString& text);

    std::unique_ptr<ShellFixture> m_app;
};

void TestHandouts::init() {
    m_app = std::make_unique<ShellFixture>();
    writeTableFile(m_app->dir, SetMealFileName,
                   QStringLiteral("焼き魚定食,550\r\nとんかつ定食,900\r\n■特製幕の内弁当（季節の小鉢３品と"
                                  "デザート、味噌汁、香の物付き）,1230\r\n"));
    writeTableFile(m_app->dir, RmrFileName, QStringLiteral("散歩,3\r\nジョギング,7\r\n"));
}

void TestHandouts::cleanup() {
    m_app.reset();
}

WindowObject& TestHandouts::open(const QString& window) {
    Shell& shell = m_app->shell;
    if (window == u"定食1")
        return shell.open<SetMealWindow>(), shell.window<SetMealWindow>();
    if (window == u"RMR")
        return shell.open<RmrWindow>(), shell.window<RmrWindow>();
    if (window == u"摂取")
        return shell.open<IntakeWindow>(), shell.window<IntakeWindow>();
    if (window == u"消費")
        return shell.open<ExpenditureWindow>(), shell.window<ExpenditureWindow>();
    return shell.open<BodyWindow>(), shell.window<BodyWindow>();
}

void TestHandouts::trigger(const WindowObject& window, const QString& text, const QString& shortcut,
                           int times) {
    auto* menuBar = window.form()->findChild<QMenuBar*>();
    QVERIFY(menuBar);
    for (QAction* menu : menuBar->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->text() == text) {
                QCOMPARE(item->shortcut(), QKeySequence(shortcut));
                for (int i = 0; i < times; ++i)
                    item->trigger();
                // What the item does runs once the menu has closed.
                QCoreApplication::processEvents();
                QTRY_VERIFY(!window.isBusy());
                return;
            }
        }
    }
    QFAIL(qPrintable(u"no "_qs + text + u" in the menu"_qs));
}

void TestHandouts::type(const WindowObject& window, const QString& box, const QString& text) {
    if (auto* line = window.form()->findChild<QLineEdit*>(box)) {
        line->clear();
        QTest::keyClicks(line, text);
    } else {
        auto* edit = window.control<QPlainTextEdit>(box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
}

void TestHandouts::savedPdfHoldsWhatTheWindowShowed_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QStringList>("printed");

    QTest::newRow("定食1: every row of the table, the long name whole")
        << u"定食1"_qs << Typing{} << u"Command1"_qs << u"先に「表　　　　示」を押してください。"_qs
        << QStringList{u"食事カロリー1"_qs,
                       u"氏名："_qs,
                       u"1 焼き魚定食 550"_qs,
                       u"2 とんかつ定食 900"_qs,
                       u"3 ■特製幕の内弁当（季節の小鉢３品とデザート、味噌汁、香の物付き） 1230"_qs,
                       u"ヨモリス"_qs,
                       u"1 / 1"_qs};
    QTest::newRow("RMR: every exercise with its RMR")
        << u"RMR"_qs << Typing{} << u"Command1"_qs << u"先に「表　　　　示」を押してください。"_qs
        << QStringList{u"ＲＭＲ　エネルギー代謝率"_qs, u"1 散歩 3"_qs, u"2 ジョギング 7"_qs};
    QTest::newRow("摂取: the boxes that held something, unknown numbers as none, the sums")
        << u"摂取"_qs
        << Typing{{u"Text1"_qs, u"1"_qs},
                  {u"Text4"_qs, u"9"_qs},
                  {u"Text11"_qs, u"3"_qs},
                  {u"Text12"_qs, u"2"_qs},
                  {u"Text25"_qs, u"0"_qs}}
        << u"Command1"_qs << u"先に「計　　算」を押してください。"_qs
        << QStringList{u"摂取カロリー計算"_qs,
                       u"朝食"_qs,
                       u"1 焼き魚定食 550"_qs,
                       u"9 （該当なし） 0"_qs,
                       u"朝食合計 550"_qs,
                       u"昼食"_qs,
                       u"3 ■特製幕の内弁当（季節の小鉢３品とデザート、味噌汁、香の物付き） 1230"_qs,
                       u"2 とんかつ定食 900"_qs,
                       u"昼食合計 2130"_qs,
                       u"夕食"_qs,
                       u"0 （該当なし） 0"_qs,
                       u"夕食合計 0"_qs,
                       u"合計摂取熱量 2680 Kｃａｌ"_qs};
    QTest::newRow("消費: the entry rows, a woman's code, the total as shown")
        << u"消費"_qs
        << Typing{{u"Text1"_qs, u"2"_qs},
                  {u"Text2"_qs, u"30"_qs},
                  {u"Text5"_qs, u"1"_qs},
                  {u"Text6"_qs, u"10"_qs},
                  {u"Text17"_qs, u"2"_qs}}
        << u"Command1"_qs << u"先に「計　　　算」を押してください。"_qs
        << QStringList{u"消費　エネルギー計算"_qs, u"2 ジョギング 7 30"_qs, u"1 散歩 3 10"_qs,
                       u"性別 2 女＝＞２"_qs, u"合計 235.992 Kcal"_qs};
    QTest::newRow("消費: any other code is a man's")
        << u"消費"_qs << Typing{{u"Text1"_qs, u"1"_qs}, {u"Text2"_qs, u"100"_qs}, {u"Text17"_qs, u"5"_qs}}
        << u"Command1"_qs << u"先に「計　　　算」を押してください。"_qs
        << QStringList{u"消費　エネルギー計算"_qs, u"1 散歩 3 100"_qs, u"性別 5 男＝＞１"_qs,
                       u"合計 294.63 Kcal"_qs};
    QTest::newRow("標準: heavy") << u"標準"_qs << Typing{{u"Text1"_qs, u"170"_qs}, {u"Text2"_qs, u"80"_qs}}
                                 << u"Command1"_qs << u"先に「計算」を押してください。"_qs
                                 << QStringList{u"標準"_qs,
                                                u"身長 170 cm"_qs,
                                                u"体重 80 Kg"_qs,
                                                u"標準体重 63 Kg"_qs,
                                                u"BMI　指数 28 肥満"_qs,
                                                u"あなたの BMI 28"_qs,
                                                u"やせ"_qs,
                                                u"ふつう"_qs,
                                                u"肥満"_qs,
                                                u"18.5"_qs,
                                                u"25"_qs,
                                                u"身長 160 cm 以上: (身長 − 100) × 0.9"_qs};
    QTest::newRow("標準: thin, the standard weight of a short height")
        << u"標準"_qs << Typing{{u"Text1"_qs, u"155"_qs}, {u"Text2"_qs, u"40"_qs}} << u"Command1"_qs
        << u"先に「計算」を押してください。"_qs
        << QStringList{u"標準"_qs,
                       u"身長 155 cm"_qs,
                       u"標準体重 52.2 Kg"_qs,
                       u"BMI　指数 17 やせ"_qs,
                       u"あなたの BMI 17"_qs,
                       u"やせ"_qs,
                       u"ふつう"_qs,
                       u"肥満"_qs,
                       u"身長 150〜159 cm: (身長 − 100) ÷ 10 × 0.4 + 50"_qs};
}

void TestHandouts::savedPdfHoldsWhatTheWindowShowed() {
    QFETCH(QString, window);
    QFETCH(Typing, typing);
    QFETCH(QString, button);
    QFETCH(QString, notice);
    QFETCH(QStringList, printed);

    WindowObject& w = open(window);
    const QString path = QDir(m_app->dir.path()).filePath(u"handout.pdf"_qs);
    m_app->handoutDialogs.answer = path;

    // Nothing to print before the first press: a notice, no dialog, no file,
    // no job.
    triggerSave(w);
    triggerPrint(w);
    QCOMPARE(m_app->handoutDialogs.notices, QStringList(2, notice));
    QVERIFY(m_app->handoutDialogs.proposed.isEmpty());
    QVERIFY(m_app->printer.documents.isEmpty());

    for (const auto& [box, text] : typing)
        type(w, box, text);
    ShellFixture::click(w, button);
    // Boxes edited after the press are not what the paper shows.
    for (const auto& [box, text] : typing)
        type(w, box, u"2"_qs);
    // Chosen again while the first is being written: told so, no second dialog.
    triggerSave(w, 2);
    QCOMPARE(m_app->handoutDialogs.notices.mid(2),
             QStringList{u"PDF を保存しています。保存が終わってから、もう一度選んでください。"_qs});
    QVERIFY(m_app->errors.errors.isEmpty());
    const QDate today = QDate::currentDate();
    QCOMPARE(m_app->handoutDialogs.proposed,
             QStringList{
                 QDir(m_app->dir.path())
                     .filePath(QStringLiteral("%1_%2.pdf").arg(window, today.toString(u"yyyy-MM-dd"_qs)))});

    const QString text = pdfText(path);
    printed.append(QStringLiteral("%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day()));
    for (const QString& line : printed)
        QVERIFY2(squeezed(text).contains(squeezed(line)), qPrintable(line + u"\n---\n"_qs + text));
    QVERIFY2(missingLine(printed.mid(1, printed.size() - 2).join(u'\n'), text).isEmpty(), qPrintable(text));

    // The printer gets the same pages, titled with the window and the date.
    triggerPrint(w);
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(m_app->printer.titles, QStringList{printed.first() + u' ' + printed.last()});
    QFile job(QDir(m_app->dir.path()).filePath(u"job.pdf"_qs));
    QVERIFY(job.open(QIODevice::WriteOnly));
    job.write(m_app->printer.documents.first().toLatin1());
    job.close();
    QCOMPARE(pdfText(job.fileName()), text);
}

void TestHandouts::documentMenuPrintsAndSavesAsThePrintButton() {
    m_app->shell.open<DocumentWindow>();
    auto& w = m_app->shell.window<DocumentWindow>();
    w.control<QPlainTextEdit>(u"Text1"_qs)->setPlainText(u"糖尿病とは"_qs);
    triggerPrint(w);
    QTRY_COMPARE(m_app->printer.documents, QStringList{u"糖尿病とは\r\n"_qs});

    const QString path = QDir(m_app->dir.path()).filePath(u"病気.pdf"_qs);
    m_app->handoutDialogs.answer = path;
    triggerSave(w);
    QVERIFY(m_app->errors.errors.isEmpty());
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(saved.readAll()), u"糖尿病とは\r\n"_qs);
    QCOMPARE(m_app->handoutDialogs.proposed.size(), 1);
    QVERIFY(m_app->handoutDialogs.proposed.first().endsWith(
        QStringLiteral("病気_%1.pdf").arg(QDate::currentDate().toString(u"yyyy-MM-dd"_qs))));
}

void TestHandouts::bmiScaleMarksTheClientsPointAndKeepsTheFigureSharp() {
    WindowObject& w = open(u"標準"_qs);
    type(w, u"Text1"_qs, u"170"_qs);
    type(w, u"Text2"_qs, u"80"_qs); // BMI 28
    ShellFixture::click(w, u"Command1"_qs);
    const QString path = QDir(m_app->dir.path()).filePath(u"標準.pdf"_qs);
    m_app->handoutDialogs.answer = path;
    triggerSave(w);
    QVERIFY(m_app->errors.errors.isEmpty());

    // On a straight scale, 28 stands right of 18.5 by 9.5/6.5 of the span
    // from 18.5 to 25; the pointer's label is centred on it.
    const QList<PdfWord> words = pdfWords(path, 1);
    const auto centre = [&](const QString& text) {
        const auto found =
            std::find_if(words.begin(), words.end(), [&](const PdfWord& word) { return word.text == text; });
        return found == words.end() ? qreal(-1000) : found->box.center().x();
    };
    const auto label = std::find_if(words.begin(), words.end(),
                                    [](const PdfWord& word) { return word.text == u"あなたの"; });
    QVERIFY(label != words.end() && std::next(label, 2) < words.end());
    QCOMPARE(std::next(label, 2)->text, u"28"_qs);
    const qreal point = (label->box.left() + std::next(label, 2)->box.right()) / 2;
    const qreal at18 = centre(u"18.5"_qs);
    const qreal at25 = centre(u"25"_qs);
    QVERIFY2(qAbs((point - at18) / (at25 - at18) - (28 - 18.5) / 6.5) < 0.02,
             qPrintable(u"%1 %2 %3"_qs.arg(at18).arg(at25).arg(point)));

    // The figure: one picture, stored without loss, at least 40 mm high.
    const QStringList images = runPdfTool(u"pdfimages"_qs, {u"-list"_qs, path}).split(u'\n').mid(2);
    QVERIFY2(images.size() == 2 && images.last().isEmpty(), qPrintable(images.join(u'\n')));
    const QStringList figure = images.first().simplified().split(u' ');
    QVERIFY2(figure.size() > 13, qPrintable(images.first()));
    QVERIFY2(figure[8] != u"jpeg"_qs, qPrintable(figure[8]));
    QVERIFY2(figure[4].toDouble() / figure[13].toDouble() * 25.4 >= 40, qPrintable(images.first()));
}

void TestHandouts::longTableKeepsEveryRowWholeOnOnePage() {
    // Names that wrap make rows of two lines, which page breaks fall into.
    const QString name = u"■特製幕の内弁当（季節の小鉢３品とデザート、味噌汁、香の物付き）大盛り"_qs;
    Handout paper{u"食事カロリー1"_qs, u"定食1"_qs, {}, {}};
    QList<QStringList> rows;
    for (int n = 1; n <= 150; ++n)
        rows.append({QString::number(n), n % 3 ? u"焼き魚定食"_qs : name, QString::number(1000 + n)});
    paper.addTable({{u"番号"_qs, 12, true}, {u"定食"_qs, 68, false}, {u"kcal"_qs, 20, true}}, rows);
    const QString path = QDir(m_app->dir.path()).filePath(u"long.pdf"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const int pages = writeHandoutPdf(paper, QDate(2026, 12, 8), file);
    file.close();
    QVERIFY(pages > 2);
    QCOMPARE(pdfPages(path), pages);
    int wholeNames = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = squeezed(pdfPageText(path, page));
        QVERIFY2(text.contains(u"番号定食kcal"_qs), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("%1/%2").arg(page).arg(pages)), qPrintable(text));
        wholeNames += text.count(squeezed(name));
    }
    QCOMPARE(wholeNames, 50);
}

void TestHandouts::failedSaveTellsTheFileAndLeavesNone_data() {
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("a read-only folder") << true;
    QTest::newRow("a name that is a folder") << false;
}

void TestHandouts::failedSaveTellsTheFileAndLeavesNone() {
    QFETCH(bool, readOnlyFolder);
    QDir dir(m_app->dir.path());
    QVERIFY(dir.mkdir(u"out"_qs));
    QString path = dir.filePath(u"out"_qs);
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        path = QDir(path).filePath(u"摂取.pdf"_qs);
        // The superuser writes anywhere a mode allows nothing; sysfs takes no
        // new files from anyone.
        QFile probe(path);
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            path = u"/sys/摂取.pdf"_qs;
        }
    }
    WindowObject& w = open(u"標準"_qs);
    type(w, u"Text1"_qs, u"170"_qs);
    type(w, u"Text2"_qs, u"60"_qs);
    ShellFixture::click(w, u"Command1"_qs);
    m_app->handoutDialogs.answer = path;
    const QDir folder = QFileInfo(path).dir();
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    triggerSave(w);

    QCOMPARE(m_app->errors.errors.size(), 1);
    const RuntimeError& error = m_app->errors.errors.first();
    QCOMPARE(error.source(), path);
    QVERIFY(!error.reason().isEmpty());
    QVERIFY(errorMessage(error).contains(QDir::toNativeSeparators(path)));
    QCOMPARE(QFileInfo(path).isFile(), false);
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QFile::setPermissions(dir.filePath(u"out"_qs),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

YOMORISU_GUI_TEST_MAIN(TestHandouts)
#include "tst_handouts.moc"
