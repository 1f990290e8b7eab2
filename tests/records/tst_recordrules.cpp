// SPDX-License-Identifier: GPL-3.0-or-later
// Dates as typed in either calendar, and the bounds a visit must keep.

#include "records/dates.h"
#include "records/visitbounds.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRecordRules : public QObject {
    Q_OBJECT
private slots:
    void readsDates_data();
    void readsDates();
    void namesTheEraYear_data();
    void namesTheEraYear();
    void boundsNameTheField_data();
    void boundsNameTheField();
    void readsMeasurements_data();
    void readsMeasurements();
};

void TestRecordRules::readsDates_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("date"); // empty: refused
    QTest::newRow("iso") << u"2026-06-01"_s << u"2026-06-01"_s;
    QTest::newRow("slashes") << u"2026/6/1"_s << u"2026-06-01"_s;
    QTest::newRow("full-width") << u"２０２６／６／１"_s << u"2026-06-01"_s;
    QTest::newRow("kanji") << u"2026年6月1日"_s << u"2026-06-01"_s;
    QTest::newRow("showa") << u"昭和35年4月2日"_s << u"1960-04-02"_s;
    QTest::newRow("reiwa") << u"令和8年6月1日"_s << u"2026-06-01"_s;
    QTest::newRow("S.") << u"S35.4.2"_s << u"1960-04-02"_s;
    QTest::newRow("R.") << u"R8.6.1"_s << u"2026-06-01"_s;
    QTest::newRow("full-width r.") << u"ｒ８．６．１"_s << u"2026-06-01"_s;
    QTest::newRow("heisei first day") << u"平成元年1月8日"_s << u"1989-01-08"_s;
    QTest::newRow("before heisei") << u"平成元年1月7日"_s << QString();
    QTest::newRow("showa last day") << u"S64.1.7"_s << u"1989-01-07"_s;
    QTest::newRow("reiwa first day") << u"令和元年5月1日"_s << u"2019-05-01"_s;
    QTest::newRow("before reiwa") << u"R1.4.30"_s << QString();
    QTest::newRow("heisei last day") << u"H31.4.30"_s << u"2019-04-30"_s;
    QTest::newRow("after heisei") << u"平成31年5月1日"_s << QString();
    QTest::newRow("taisho first day") << u"大正元年7月30日"_s << u"1912-07-30"_s;
    QTest::newRow("meiji") << u"M45.7.29"_s << u"1912-07-29"_s;
    QTest::newRow("year 0") << u"令和0年1月1日"_s << QString();
    QTest::newRow("no such day") << u"2026-02-30"_s << QString();
    QTest::newRow("mixed signs") << u"2026/6-1"_s << QString();
    QTest::newRow("words") << u"きのう"_s << QString();
}

void TestRecordRules::readsDates() {
    QFETCH(QString, typed);
    QFETCH(QString, date);
    const auto read = parseDate(typed);
    QCOMPARE(read ? formatDate(*read) : QString(), date);
}

void TestRecordRules::namesTheEraYear_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("era");
    QTest::newRow("showa 35") << QDate(1960, 4, 2) << u"昭和35年"_s;
    QTest::newRow("showa 64") << QDate(1989, 1, 7) << u"昭和64年"_s;
    QTest::newRow("heisei 1") << QDate(1989, 1, 8) << u"平成元年"_s;
    QTest::newRow("heisei 31") << QDate(2019, 4, 30) << u"平成31年"_s;
    QTest::newRow("reiwa 1") << QDate(2019, 5, 1) << u"令和元年"_s;
    QTest::newRow("taisho 15") << QDate(1926, 12, 24) << u"大正15年"_s;
}

void TestRecordRules::namesTheEraYear() {
    QFETCH(QDate, date);
    QFETCH(QString, era);
    QCOMPARE(eraYear(date), era);
}

namespace {

// A visit of a client born 1960-04-02 with every value inside its bounds,
// then the one value of the row.
Visit visitWith(const QString& field, double value) {
    Visit visit;
    visit.date = QDate(2026, 6, 1);
    visit.heightCm = 165;
    visit.weightKg = 60;
    visit.waistCm = 80;
    visit.systolic = 120;
    visit.diastolic = 80;
    const int whole = int(value);
    if (field == u"受診日"_s)
        visit.date = QDate(2026, 6, 1).addDays(whole);
    else if (field == u"身長"_s)
        visit.heightCm = value;
    else if (field == u"体重"_s)
        visit.weightKg = value;
    else if (field == u"腹囲"_s)
        visit.waistCm = value;
    else if (field == u"収縮期血圧"_s)
        visit.systolic = whole;
    else if (field == u"拡張期血圧"_s)
        visit.diastolic = whole;
    else if (field == u"中性脂肪"_s)
        visit.triglycerides = whole;
    else if (field == u"HDLコレステロール"_s)
        visit.hdl = whole;
    else if (field == u"空腹時血糖"_s)
        visit.fastingGlucose = whole;
    else if (field == u"随時血糖"_s)
        visit.casualGlucose = whole;
    else if (field == u"HbA1c"_s)
        visit.hba1c = value;
    return visit;
}

} // namespace

void TestRecordRules::boundsNameTheField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("bounds"); // empty: accepted; else in the message
    QTest::newRow("height low") << u"身長"_s << 49.9 << u"50.0～250.0 cm"_s;
    QTest::newRow("height least") << u"身長"_s << 50.0 << QString();
    QTest::newRow("height most") << u"身長"_s << 250.0 << QString();
    QTest::newRow("height high") << u"身長"_s << 250.1 << u"50.0～250.0 cm"_s;
    QTest::newRow("weight low") << u"体重"_s << 9.9 << u"10.0～300.0 kg"_s;
    QTest::newRow("weight high") << u"体重"_s << 300.1 << u"10.0～300.0 kg"_s;
    QTest::newRow("waist low") << u"腹囲"_s << 39.9 << u"40.0～200.0 cm"_s;
    QTest::newRow("waist most") << u"腹囲"_s << 200.0 << QString();
    QTest::newRow("systolic high") << u"収縮期血圧"_s << 301.0 << u"40～300 mmHg"_s;
    QTest::newRow("systolic at diastolic") << u"収縮期血圧"_s << 80.0 << u"拡張期血圧より高い"_s;
    QTest::newRow("diastolic low") << u"拡張期血圧"_s << 39.0 << u"40～300 mmHg"_s;
    QTest::newRow("diastolic above systolic") << u"拡張期血圧"_s << 130.0 << u"拡張期血圧より高い"_s;
    QTest::newRow("triglycerides low") << u"中性脂肪"_s << 9.0 << u"10～5000 mg/dl"_s;
    QTest::newRow("triglycerides most") << u"中性脂肪"_s << 5000.0 << QString();
    QTest::newRow("hdl high") << u"HDLコレステロール"_s << 301.0 << u"5～300 mg/dl"_s;
    QTest::newRow("fasting glucose low") << u"空腹時血糖"_s << 19.0 << u"20～1000 mg/dl"_s;
    QTest::newRow("casual glucose high") << u"随時血糖"_s << 1001.0 << u"20～1000 mg/dl"_s;
    QTest::newRow("hba1c low") << u"HbA1c"_s << 2.9 << u"3.0～20.0 %"_s;
    QTest::newRow("hba1c most") << u"HbA1c"_s << 20.0 << QString();
    QTest::newRow("visit tomorrow") << u"受診日"_s << 1.0 << u"今日"_s;
    QTest::newRow("visit before birth") << u"受診日"_s << -24167.0 << u"生年月日"_s;
    QTest::newRow("visit on birthday") << u"受診日"_s << -24166.0 << QString();
}

void TestRecordRules::boundsNameTheField() {
    QFETCH(QString, field);
    QFETCH(double, value);
    QFETCH(QString, bounds);
    Client client;
    client.name = u"山田花子"_s;
    client.birthDate = QDate(1960, 4, 2);
    const auto problem = checkVisit(visitWith(field, value), client, QDate(2026, 6, 1));
    if (bounds.isEmpty()) {
        QVERIFY2(!problem, qPrintable(problem ? problem->message : QString()));
        return;
    }
    QVERIFY(problem);
    const QString blamed = bounds == u"拡張期血圧より高い"_s ? u"収縮期血圧"_s : field;
    QCOMPARE(problem->field, blamed);
    QVERIFY2(problem->message.contains(blamed) && problem->message.contains(bounds), qPrintable(problem->message));
}

void TestRecordRules::readsMeasurements_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("given");
    QTest::addColumn<double>("value");
    QTest::newRow("blank") << u""_s << false << 0.0;
    QTest::newRow("full-width blank") << u"　"_s << false << 0.0;
    QTest::newRow("full-width digits") << u"１６５．５"_s << true << 165.5;
    QTest::newRow("not a number") << u"abc"_s << true << 0.0;
}

void TestRecordRules::readsMeasurements() {
    QFETCH(QString, typed);
    QFETCH(bool, given);
    QFETCH(double, value);
    const auto read = measurementFromText(typed);
    QCOMPARE(bool(read), given);
    if (given)
        QCOMPARE(*read, value);
}

QTEST_APPLESS_MAIN(TestRecordRules)
#include "tst_recordrules.moc"
