// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of every window as it opens, and of the working windows
// used on the sample data with long names and four-digit values added: both
// set-meal pages full, a computed day, the RMR listing, an energy total, the
// three figures and a loaded document, so the layouts and what they show can
// be checked by eye.
// Usage: yomorisu_screens OUTPUT_FOLDER

#include "app/shell.h"
#include "common/datafolder.h"
#include "common/textdecoding.h"
#include "documents/documentwindow.h"
#include "forms/startup.h"
#include "forms/textbox.h"
#include "records/actionplanwindow.h"
#include "records/recordswindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <functional>

namespace {

class ReportedErrors : public ErrorStop {
public:
    void report(const RuntimeError& error) override {
        QTextStream(stderr) << "error stop: " << errorMessage(error) << '\n';
        ++count;
    }
    int count = 0;
};

class ChosenFile : public OpenFileDialog {
public:
    QString chooseFile(QWidget*, const QString&, const QString&) override { return path; }
    QString path;
};

// Saves go where the tool says; notices and questions go to the terminal.
class ChosenSavePath : public HandoutDialogs {
public:
    QString chooseSavePath(QWidget*, const QString&) override { return path; }
    QString chooseSaveFile(QWidget*, const QString&, const QString&) override { return path; }
    void tell(QWidget*, const QString& message) override {
        QTextStream(stderr) << "told: " << message << '\n';
        ++told;
    }
    bool confirm(QWidget*, const QString&) override { return false; }
    QString path;
    int told = 0;
};

class NoPrinter : public TextPrinter {
public:
    void print(const QString&, const QString&, WorkProgress&) override {}
};

// A sample table, its rows repeated up to the 300 a table holds, so that
// both set-meal pages are full, with every `every`-th row given a long name
// of the kind users have (ten kanji and more) and a value of `value` plus the
// row number, so the listings show their widest rows.
bool fillTable(const QString& path, const QStringList& longNames, int every, int value) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> records = file.readAll().split('\n');
    file.close();
    while (!records.isEmpty() && records.last().trimmed().isEmpty())
        records.removeLast();
    if (records.isEmpty())
        return false;
    const qsizetype sample = records.size();
    while (records.size() < 300)
        records.append(records.at(records.size() % sample));
    for (qsizetype row = every; row <= records.size(); row += every) {
        const QString name = longNames.at((row / every) % longNames.size());
        records[row - 1] = encodeCodePage932(QStringLiteral("%1,%2\r").arg(name).arg(value + row));
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(records.join('\n') + '\n') > 0;
}

bool fillTables(const QDir& tables) {
    return fillTable(tables.filePath(SetMealFileName),
                     {QStringLiteral("白身魚の南蛮漬け定食"), QStringLiteral("特製海鮮五目焼麺定食"),
                      QStringLiteral("国産牛焼肉御膳特上盛")},
                     5, 1000) &&
           fillTable(
               tables.filePath(RmrFileName),
               {QStringLiteral("水中歩行運動速歩負荷"), QStringLiteral("自転車エルゴメーター（高負荷）")}, 6,
               0);
}

void type(const WindowObject& window, const QString& box, const QString& text) {
    if (auto* edit = window.form()->findChild<QLineEdit*>(box))
        edit->setText(text);
    else if (auto* multi = window.form()->findChild<TextBox*>(box))
        multi->setText(text);
}

void click(const WindowObject& window, const QString& button) {
    window.control<QPushButton>(button)->click();
}

// The 相談記録 window's controls go by their accessible names and captions.
void enter(const WindowObject& window, const QString& label, const QString& text) {
    for (QWidget* w : window.form()->findChildren<QWidget*>()) {
        if (w->accessibleName() != label)
            continue;
        if (auto* line = qobject_cast<QLineEdit*>(w))
            line->setText(text);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
            memo->setPlainText(text);
        else if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(!text.isEmpty());
        else if (auto* choice = qobject_cast<QComboBox*>(w))
            choice->setCurrentText(text);
    }
}

void press(const WindowObject& window, const QString& caption) {
    for (QPushButton* b : window.form()->findChildren<QPushButton*>())
        if (b->text() == caption)
            b->click();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    prepareApplication();
    // The record and the settings of this run are its own, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    if (argc != 2) {
        QTextStream(stderr) << "usage: yomorisu_screens OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir tables;
    if ((!out.exists() && !QDir().mkpath(out.path())) || !tables.isValid()) {
        QTextStream(stderr) << "cannot create " << out.path() << " or a temporary folder\n";
        return 1;
    }
    const SampleCopy samples = copyMissingSamples(QStringLiteral(YOMORISU_SAMPLE_DATA), tables.path());
    if (!samples.failed.isEmpty() || !fillTables(QDir(tables.path()))) {
        QTextStream(stderr) << "cannot set up the sample tables\n";
        return 1;
    }

    ReportedErrors errors;
    ChosenFile dialog;
    NoPrinter printer;
    Shell shell(
        errors, tables.path(), [] {}, dialog, printer);
    ChosenSavePath saveDialog;
    shell.setHandoutDialogs(saveDialog);
    int failures = 0;
    auto save = [&](const WindowObject& window, const char* name) {
        QWidget* form = window.form();
        form->show();
        if (!QTest::qWaitForWindowExposed(form))
            ++failures;
        QApplication::processEvents();
        if (!form->grab().save(out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"))))
            ++failures;
    };

    shell.start();
    save(shell.window<MainMenuWindow>(), "1-mainmenu");

    auto& setMeal = shell.window<SetMealWindow>();
    setMeal.open();
    save(setMeal, "2-setmeal");
    click(setMeal, QStringLiteral("Command1"));
    save(setMeal, "2-setmeal-page1");
    click(setMeal, QStringLiteral("Command3"));
    save(setMeal, "2-setmeal-page2");

    // Three-digit numbers in every box, the widest ordinary entry.
    auto& intake = shell.window<IntakeWindow>();
    intake.open();
    save(intake, "3-intake");
    for (int box = 1; box <= 30; ++box)
        type(intake, QStringLiteral("Text%1").arg(box), QString::number(100 + box * 3));
    click(intake, QStringLiteral("Command1"));
    save(intake, "3-intake-day");

    auto& rmr = shell.window<RmrWindow>();
    rmr.open();
    save(rmr, "4-rmr");
    click(rmr, QStringLiteral("Command1"));
    save(rmr, "4-rmr-listed");

    auto& expenditure = shell.window<ExpenditureWindow>();
    expenditure.open();
    save(expenditure, "5-expenditure");
    const int exercises[][2] = {{14, 120}, {23, 45}, {1, 300},  {12, 60},
                                {46, 90},  {2, 180}, {75, 240}, {33, 150}};
    for (int i = 0; i < 8; ++i) {
        type(expenditure, QStringLiteral("Text%1").arg(2 * i + 1), QString::number(exercises[i][0]));
        type(expenditure, QStringLiteral("Text%1").arg(2 * i + 2), QString::number(exercises[i][1]));
    }
    type(expenditure, QStringLiteral("Text17"), QStringLiteral("1"));
    click(expenditure, QStringLiteral("Command1"));
    save(expenditure, "5-expenditure-total");

    auto& body = shell.window<BodyWindow>();
    body.open();
    save(body, "6-body");
    const std::pair<const char*, const char*> figures[] = {{"170", "65"}, {"160", "90"}, {"180", "50"}};
    const char* names[] = {"6-body-normal", "6-body-heavy", "6-body-thin"};
    for (int i = 0; i < 3; ++i) {
        type(body, QStringLiteral("Text1"), QString::fromLatin1(figures[i].first));
        type(body, QStringLiteral("Text2"), QString::fromLatin1(figures[i].second));
        click(body, QStringLiteral("Command1"));
        save(body, names[i]);
    }

    auto& documents = shell.window<DocumentWindow>();
    documents.open();
    save(documents, "7-documents");
    dialog.path = QDir(tables.path()).filePath(ConsultationFolderName + QStringLiteral("/かぜ.txt"));
    click(documents, QStringLiteral("Command1"));
    // The document is read off the GUI thread; the picture waits for it.
    while (documents.isBusy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    save(documents, "7-documents-loaded");

    // A client with three visits, one of them without a waist.
    auto& records = shell.window<RecordsWindow>();
    saveDialog.path = QDir(tables.path()).filePath(QStringLiteral("相談記録.yomorisu"));
    records.startAnother();
    save(records, "8-records");
    enter(records, QStringLiteral("氏名"), QStringLiteral("髙橋　由紀子"));
    enter(records, QStringLiteral("ふりがな"), QStringLiteral("たかはし ゆきこ"));
    enter(records, QStringLiteral("生年月日"), QStringLiteral("昭和35年4月2日"));
    enter(records, QStringLiteral("番号"), QStringLiteral("A-10234"));
    enter(records, QStringLiteral("性別"), QStringLiteral("女性"));
    const char* visits[][8] = {{"2026-03-02", "158.4", "68.2", "92.5", "148", "92", "182", "5.9"},
                               {"R8.6.1", "158.4", "65.9", "", "138", "88", "156", "5.8"},
                               {"2026/9/14", "158.2", "63.1", "86.0", "128", "82", "131", "5.6"}};
    for (const auto& visit : visits) {
        press(records, QStringLiteral("新しい記録"));
        const char* labels[] = {"受診日",     "身長",       "体重",     "腹囲",
                                "収縮期血圧", "拡張期血圧", "中性脂肪", "HbA1c"};
        for (int i = 0; i < 8; ++i)
            enter(records, QString::fromUtf8(labels[i]), QString::fromUtf8(visit[i]));
        enter(records, QStringLiteral("メモ"), QStringLiteral("間食を減らす。歩数 8000 歩を目標に。"));
        press(records, QStringLiteral("保存"));
    }
    save(records, "8-records-visits");
    saveDialog.path = out.filePath(QStringLiteral("8-records-handout.pdf"));
    press(records, QStringLiteral("経過を PDF に保存(&S)…"));
    while (records.isBusy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    // The action plan of a sample client, with a swap and an exercise chosen.
    class NoKeeper : public PlanKeeper {
    public:
        std::optional<QString> plan(qint64) const override { return std::nullopt; }
        QString savePlan(qint64, const QString&) override { return {}; }
    } keeper;
    Client client{1, QStringLiteral("見本　花子"), QStringLiteral("みほん"), Sex::Female, QDate(1968, 5, 2),
                  {}};
    Visit visit;
    visit.id = 1;
    visit.date = QDate(2026, 6, 1);
    visit.heightCm = 158, visit.weightKg = 66, visit.waistCm = 93;
    visit.systolic = 138, visit.diastolic = 86, visit.hba1c = 5.8, visit.smoking = true;
    ActionPlanWindow plan(shell, keeper, client, visit);
    for (const char* name : {"食事を加える", "運動を加える"})
        plan.findChild<QPushButton*>(QString::fromUtf8(name))->click();
    plan.show();
    if (!QTest::qWaitForWindowExposed(&plan))
        ++failures;
    QApplication::processEvents();
    if (!plan.grab().save(out.filePath(QStringLiteral("9-actionplan.png"))))
        ++failures;
    // Its handout too, to look at as pictures of its pages.
    QFile handoutFile(out.filePath(QStringLiteral("9-actionplan.pdf")));
    if (!handoutFile.open(QIODevice::WriteOnly) ||
        writeHandoutPdf(plan.handout(), QDate::currentDate(), handoutFile) < 1)
        ++failures;

    return failures == 0 && errors.count == 0 && saveDialog.told == 0 ? 0 : 1;
}
