// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/supportlevel.h"

#include <QTest>

// The level of support at and around every bound of the rule. Each row starts
// from a man of 56 whose values are all measured and all below the bounds,
// changes what its row says, and gives the level worked out by hand.
class TestSupportLevel : public QObject {
    Q_OBJECT
private slots:
    void assess_data();
    void assess();
};

namespace {

// One line a key:
// clang-format off
// "w=92 bp=135/80 tg=180c smoke -fg med=bp sex=f born=1961-04-01 on=2026-03-31"
void apply(const QString& row, Client& c, Visit& v) {
    for (const QString& item : row.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = item.section(u'=', 0, 0);
        const QString value = item.section(u'=', 1);
        if (key == u"sex") c.sex = value == u"f" ? Sex::Female : Sex::Male;
        else if (key == u"born") c.birthDate = QDate::fromString(value, Qt::ISODate);
        else if (key == u"on") v.date = QDate::fromString(value, Qt::ISODate);
        else if (key == u"h") v.heightCm = value.toDouble();
        else if (key == u"kg") v.weightKg = value.toDouble();
        else if (key == u"w") v.waistCm = value.toDouble();
        else if (key == u"-w") v.waistCm.reset();
        else if (key == u"bp") v.systolic = value.section(u'/', 0, 0).toInt(), v.diastolic = value.section(u'/', 1).toInt();
        else if (key == u"-bp") v.systolic.reset(), v.diastolic.reset();
        else if (key == u"tg") v.triglycerides = value.chopped(value.endsWith(u'c')).toInt(), v.triglyceridesFasting = !value.endsWith(u'c');
        else if (key == u"-tg") v.triglycerides.reset();
        else if (key == u"hdl") v.hdl = value.toInt();
        else if (key == u"-hdl") v.hdl.reset();
        else if (key == u"fg") v.fastingGlucose = value.toInt();
        else if (key == u"-fg") v.fastingGlucose.reset();
        else if (key == u"cg") v.casualGlucose = value.toInt();
        else if (key == u"a1c") v.hba1c = value.toDouble();
        else if (key == u"-a1c") v.hba1c.reset();
        else if (key == u"smoke") v.smoking = true;
        else if (key == u"med") (value == u"bp" ? v.bloodPressureMedicine : value == u"glu" ? v.glucoseMedicine : v.lipidMedicine) = true;
        else QFAIL(qPrintable(QStringLiteral("unknown key in the row ") + key));
    }
}
// clang-format on

} // namespace

void TestSupportLevel::assess_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("missing");
    // A text one of the reasons must hold; "!" before it: none may.
    QTest::addColumn<QString>("reason");
    // clang-format off

    const QString active = "w=92 bp=135/80 fg=110 "; // a man's waist with two risks
    // Step 1, the body.
    QTest::newRow("man's waist 84.9: below") << "w=84.9 bp=135/80" << "情報提供" << false << "腹囲 84.9 cm（男性 85 cm 未満）";
    QTest::newRow("man's waist 85: counts") << "w=85 bp=135/80" << "動機付け支援" << false << "腹囲 85 cm（男性 85 cm 以上）";
    QTest::newRow("woman's waist 89.9: below") << "sex=f w=89.9 bp=135/80" << "情報提供" << false << "女性 90 cm 未満";
    QTest::newRow("woman's waist 90: counts") << "sex=f w=90 bp=135/80" << "動機付け支援" << false << "腹囲 90 cm（女性 90 cm 以上）";
    QTest::newRow("woman's 88 would count for a man") << "sex=f w=88 bp=135/80 fg=110" << "情報提供" << false << "";
    // BMI to one decimal, as the record shows it: 24.948 is 24.9, 24.983 is 25.0.
    QTest::newRow("BMI 24.9") << "kg=72.1 bp=135/80" << "情報提供" << false << "BMI 24.9（25 未満）";
    QTest::newRow("BMI 25.0") << "kg=72.2 bp=135/80" << "動機付け支援" << false << "BMI 25.0（25 以上）";
    QTest::newRow("BMI with two risks") << "kg=80 bp=135/80 fg=110" << "動機付け支援" << false << "追加リスク 2 個";
    QTest::newRow("BMI with three risks") << "kg=80 bp=135/80 fg=110 hdl=39" << "積極的支援" << false << "追加リスク 3 個";
    QTest::newRow("waist, none") << "w=92" << "情報提供" << false << "追加リスク 0 個";
    QTest::newRow("waist with two risks") << active << "積極的支援" << false << "追加リスク 2 個";
    QTest::newRow("no waist, thin: missing") << "-w bp=135/80" << "情報提供" << true << "腹囲 未測定";
    QTest::newRow("no waist, BMI 28") << "-w kg=80 bp=135/80" << "動機付け支援" << true << "腹囲 未測定";
    // ① glucose: fasting decides, then HbA1c, then casual.
    QTest::newRow("fasting 99") << "w=92 fg=99" << "情報提供" << false << "";
    QTest::newRow("fasting 100") << "w=92 fg=100" << "動機付け支援" << false << "空腹時血糖 100 mg/dl（100 以上）";
    QTest::newRow("fasting 99 overrules HbA1c 6.5") << "w=92 fg=99 a1c=6.5" << "情報提供" << false << "!HbA1c";
    QTest::newRow("no fasting, HbA1c 5.5") << "w=92 -fg a1c=5.5" << "情報提供" << false << "";
    QTest::newRow("no fasting, HbA1c 5.6") << "w=92 -fg a1c=5.6" << "動機付け支援" << false << "HbA1c 5.6 %（5.6 以上）";
    QTest::newRow("no fasting, HbA1c 5.5 overrules casual 150") << "w=92 -fg a1c=5.5 cg=150" << "情報提供" << false << "";
    QTest::newRow("only casual 99") << "w=92 -fg -a1c cg=99" << "情報提供" << false << "";
    QTest::newRow("only casual 100") << "w=92 -fg -a1c cg=100" << "動機付け支援" << false << "随時血糖 100 mg/dl（100 以上）";
    QTest::newRow("no glucose at all") << "w=92 -fg -a1c" << "情報提供" << true << "血糖 未測定";
    // ② lipids: the triglyceride bound depends on fasting.
    QTest::newRow("fasting triglycerides 149") << "w=92 tg=149" << "情報提供" << false << "";
    QTest::newRow("fasting triglycerides 150") << "w=92 tg=150" << "動機付け支援" << false << "中性脂肪 150 mg/dl（空腹時 150 以上）";
    QTest::newRow("casual triglycerides 160") << "w=92 tg=160c" << "情報提供" << false << "";
    QTest::newRow("casual triglycerides 174") << "w=92 tg=174c" << "情報提供" << false << "";
    QTest::newRow("casual triglycerides 175") << "w=92 tg=175c" << "動機付け支援" << false << "中性脂肪 175 mg/dl（随時 175 以上）";
    QTest::newRow("HDL 40") << "w=92 hdl=40" << "情報提供" << false << "";
    QTest::newRow("HDL 39") << "w=92 hdl=39" << "動機付け支援" << false << "HDLコレステロール 39 mg/dl（40 未満）";
    QTest::newRow("both lipids count once") << "w=92 tg=200 hdl=30" << "動機付け支援" << false << "追加リスク 1 個";
    QTest::newRow("no triglycerides, HDL fine") << "w=92 -tg" << "情報提供" << true << "中性脂肪 未測定";
    QTest::newRow("no triglycerides, HDL low") << "w=92 -tg hdl=39" << "動機付け支援" << false << "";
    // ③ blood pressure.
    QTest::newRow("129/84") << "w=92 bp=129/84" << "情報提供" << false << "";
    QTest::newRow("130/84") << "w=92 bp=130/84" << "動機付け支援" << false << "血圧 130/84 mmHg（収縮期 130 以上）";
    QTest::newRow("129/85") << "w=92 bp=129/85" << "動機付け支援" << false << "血圧 129/85 mmHg（拡張期 85 以上）";
    QTest::newRow("135/80 as the client reads it") << "w=92 bp=135/80" << "動機付け支援" << false << "血圧 135/80 mmHg（収縮期 130 以上）";
    QTest::newRow("no blood pressure") << "w=92 -bp" << "情報提供" << true << "血圧 未測定";
    // ④ smoking counts only beside another risk.
    QTest::newRow("smoking alone") << "w=92 smoke" << "情報提供" << false << "喫煙（①〜③に該当がないため加算しない）";
    QTest::newRow("smoking beside one risk") << "w=92 bp=135/80 smoke" << "積極的支援" << false << "喫煙（①〜③に該当があるため加算）";
    QTest::newRow("BMI, smoking beside two risks") << "kg=80 bp=135/80 fg=110 smoke" << "積極的支援" << false << "";
    QTest::newRow("BMI, smoking beside one risk") << "kg=80 bp=135/80 smoke" << "動機付け支援" << false << "";
    // Medicine takes the client out of the programme.
    QTest::newRow("blood-pressure medicine") << active + "med=bp" << "対象外" << false << "服薬中のため特定保健指導の対象外";
    QTest::newRow("glucose medicine") << active + "med=glu" << "対象外" << false << "";
    // Age on 31 March of the visit's fiscal year; a 1 April birthday reaches it the day before.
    QTest::newRow("64: born 2 April, seen 31 March") << active + "born=1961-04-02 on=2026-03-31" << "積極的支援" << false << "!歳";
    QTest::newRow("65: born 1 April, seen 31 March") << active + "born=1961-04-01 on=2026-03-31" << "動機付け支援" << false << "年度末の年齢 65 歳";
    QTest::newRow("65: born 2 April, seen 1 April") << active + "born=1961-04-02 on=2026-04-01" << "動機付け支援" << false << "65 歳";
    QTest::newRow("74: born 2 April, seen 31 March") << active + "born=1951-04-02 on=2026-03-31" << "動機付け支援" << false << "74 歳";
    QTest::newRow("75: born 1 April, seen 31 March") << active + "born=1951-04-01 on=2026-03-31" << "積極的支援" << false << "年度末の年齢 75 歳：特定保健指導の対象年齢（40〜74 歳）外";
    QTest::newRow("75: born 2 April, seen 1 April") << active + "born=1951-04-02 on=2026-04-01" << "積極的支援" << false << "75 歳";
    QTest::newRow("75 and thin") << "born=1951-04-01 on=2026-03-31" << "情報提供" << false << "対象年齢";
    QTest::newRow("39: born 2 April, seen 31 March") << active + "born=1986-04-02 on=2026-03-31" << "積極的支援" << false << "39 歳";
    QTest::newRow("40: born 1 April, seen 31 March") << active + "born=1986-04-01 on=2026-03-31" << "積極的支援" << false << "!対象年齢";
    QTest::newRow("over 74 on medicine") << "med=bp born=1940-01-01" << "対象外" << false << "87 歳";
    // clang-format on
}

void TestSupportLevel::assess() {
    QFETCH(QString, row);
    QFETCH(QString, level);
    QFETCH(bool, missing);
    QFETCH(QString, reason);

    Client client;
    Visit visit;
    apply(u"born=1970-06-15 on=2026-06-01 h=170 kg=60 w=80 bp=120/70 tg=100 hdl=60 fg=90 "_qs + row, client,
          visit);

    const SupportAssessment got = assessSupport(client, visit);
    const QString reasons = got.reasons.join(u'\n');
    QCOMPARE(supportLevelText(got.level), level);
    QCOMPARE(got.valuesMissing, missing);
    if (reason.startsWith(u'!'))
        QVERIFY2(!reasons.contains(reason.mid(1)), qPrintable(reasons));
    else
        QVERIFY2(reasons.contains(reason), qPrintable(reasons));
}

QTEST_APPLESS_MAIN(TestSupportLevel)
#include "tst_supportlevel.moc"
