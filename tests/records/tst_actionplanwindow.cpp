// SPDX-License-Identifier: GPL-3.0-or-later
#include "../system/pdftext.h"
#include "common/datafolder.h"
#include "guitest.h"
#include "records/actionplanwindow.h"
#include "records/recordswindow.h"
#include "shellfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QStandardPaths>

// A plan made in the window from the sample tables, kept with its visit, and
// its handout read back from the saved PDF.
class TestActionPlanWindow : public QObject {
    Q_OBJECT
private slots:
    void handoutReadsBack();
    void recordsWindowShowsLevelAndEvaluation();
};

namespace {

struct MemoryKeeper : PlanKeeper {
    std::optional<QString> plan(qint64) const override { return kept; }
    QString savePlan(qint64, const QString& json) override { return kept = json, QString(); }
    std::optional<QString> kept;
};

void choose(QComboBox* box, int row) {
    box->setCurrentIndex(box->findData(row));
    QVERIFY(box->currentIndex() >= 0);
}

} // namespace

void TestActionPlanWindow::handoutReadsBack() {
    if (!pdfToolsPresent())
        QSKIP("pdftotext is not installed");
    ShellFixture app;
    for (const QString& name : {SetMealFileName, RmrFileName})
        QVERIFY(QFile::copy(QStringLiteral(YOMORISU_TEST_DATA "/") + name, app.dir.filePath(name)));
    Client client{1,         QStringLiteral("山田　太郎"), QStringLiteral("やまだ"),
                  Sex::Male, QDate(1970, 6, 15),           {}};
    Visit visit;
    visit.id = 7;
    visit.date = QDate(2026, 6, 1);
    visit.heightCm = 170, visit.weightKg = 60, visit.waistCm = 92;
    visit.systolic = 135, visit.diastolic = 80;
    visit.triglycerides = 100, visit.hdl = 60, visit.fastingGlucose = 90;
    MemoryKeeper keeper;

    {
        ActionPlanWindow window(app.shell, keeper, client, visit);
        choose(window.findChild<QComboBox*>(QStringLiteral("食べている定食")), 136); // 醤油ラーメン
        choose(window.findChild<QComboBox*>(QStringLiteral("代わりに")), 126);       // かけそば
        window.findChild<QPushButton*>(QStringLiteral("食事を加える"))->click();
        choose(window.findChild<QComboBox*>(QStringLiteral("運動")), 3); // 速歩
        window.findChild<QSpinBox*>(QStringLiteral("週に（日）"))->setValue(5);
        window.findChild<QPushButton*>(QStringLiteral("運動を加える"))->click();
        window.findChild<QPushButton*>(QStringLiteral("保存"))->click();
    }
    QVERIFY(app.errors.errors.isEmpty());

    // Opened again, the window shows the kept plan, and that is what it prints.
    ActionPlanWindow window(app.shell, keeper, client, visit);
    QCOMPARE(window.plan().exercises.size(), 1);
    const QString pdf = app.dir.filePath(QStringLiteral("plan.pdf"));
    app.handoutDialogs.answer = pdf;
    for (QAction* item : window.findChild<QMenuBar*>()->actions().first()->menu()->actions())
        if (item->text() == u"PDF に保存(&S)…")
            item->trigger();
    QTRY_VERIFY(QFile::exists(pdf));
    const QString printed = pdfText(pdf);
    const QString expected = QStringLiteral(
        "行動計画\n氏名：山田　太郎\n受診日 2026年6月1日\n支援レベル 動機付け支援\n判定の理由\n"
        "・腹囲 92 cm（男性 85 cm 以上）\n・血圧 135/80 mmHg（収縮期 130 以上）\n・追加リスク 1 個\n"
        "目標\n3 か月で 体重 −2 kg・腹囲 −2 cm（2026年9月1日まで）\n"
        "2 kg × 7,000 kcal ＝ 14,000 kcal、92 日（2026年6月1日〜2026年9月1日）で割って 1 日あたり 153 kcal\n"
        "行動\n・醤油ラーメン → かけそば　週 3 回　1 日あたり 69 kcal\n・速歩 30 分　週 5 日　1 日あたり 105 "
        "kcal\n"
        "見通し\n1 日あたり 合計 174 kcal（目標 153 kcal）\nこのペースで 2026年8月21日 に目標に届きます。\n"
        "セルフチェック\n週\n醤油ラーメン → かけそば\n速歩 30 分\n1 週目 6/1〜6/7\n13 週目 8/24〜8/31\n");
    QVERIFY2(missingLine(expected, printed).isEmpty(),
             qPrintable(missingLine(expected, printed) + u"\n"_qs + printed));
}

// Two visits typed through the 相談記録 window, a plan kept with the first.
void TestActionPlanWindow::recordsWindowShowsLevelAndEvaluation() {
    QStandardPaths::setTestModeEnabled(true);
    ShellFixture app;
    app.handoutDialogs.answer = app.dir.filePath(QStringLiteral("test.yomorisu"));
    RecordsWindow& records = app.shell.window<RecordsWindow>();
    records.startAnother();
    records.open();
    const auto box = [&](const QString& name) {
        for (auto* line : records.form()->findChildren<QLineEdit*>())
            if (line->accessibleName() == name)
                return line;
        return static_cast<QLineEdit*>(nullptr);
    };
    const auto press = [&](const QString& caption) {
        for (auto* b : records.form()->findChildren<QPushButton*>())
            if (b->text() == caption)
                return b->click();
        QFAIL(qPrintable(caption));
    };
    // A man of 66 by 31 March 2027: his one risk gives 動機付け支援 all the same.
    const QStringList first{u"氏名=佐藤　一"_qs,  u"生年月日=S35.4.2"_qs, u"受診日=2026/6/1"_qs,
                            u"身長=170"_qs,       u"体重=80"_qs,          u"腹囲=92"_qs,
                            u"収縮期血圧=135"_qs, u"拡張期血圧=80"_qs};
    for (const QString& typed : first)
        box(typed.section(u'=', 0, 0))->setText(typed.section(u'=', 1));
    press(u"保存"_qs);
    QCOMPARE(box(u"支援レベル"_qs)->text(), u"動機付け支援"_qs);
    const QString reasons = box(u"判定の理由"_qs)->text();
    QVERIFY2(
        reasons.contains(
            u"腹囲 92 cm（男性 85 cm 以上）、血糖 未測定、脂質 未測定、血圧 135/80 mmHg（収縮期 130 以上）"),
        qPrintable(reasons));
    press(u"行動計画…"_qs);
    auto* plan = records.form()->findChild<ActionPlanWindow*>();
    QVERIFY(plan);
    plan->findChild<QPushButton*>(QStringLiteral("保存"))->click();

    press(u"新しい記録"_qs);
    for (const QString& typed :
         {u"受診日=2026/9/1"_qs, u"体重=77.5"_qs, u"腹囲=90.5"_qs, u"収縮期血圧=131"_qs, u"拡張期血圧=80"_qs})
        box(typed.section(u'=', 0, 0))->setText(typed.section(u'=', 1));
    press(u"保存"_qs);
    QCOMPARE(box(u"支援レベル"_qs)->text(), u"動機付け支援"_qs); // waist 90.5, blood pressure 131/80
    QCOMPARE(
        box(u"計画の評価"_qs)->text(),
        u"2026-06-01 の計画から　体重 −2.5 kg、腹囲 −1.5 cm（目標 −2 kg・−2 cm）：目標に届いていません"_qs);
    QVERIFY2(app.handoutDialogs.notices.isEmpty(), qPrintable(app.handoutDialogs.notices.join(u'\n')));
}

YOMORISU_GUI_TEST_MAIN(TestActionPlanWindow)
#include "tst_actionplanwindow.moc"
