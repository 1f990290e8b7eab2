// SPDX-License-Identifier: GPL-3.0-or-later
// Dates as typed in either calendar, and the bounds a visit must keep.

#include "records/dates.h"
#include "records/visitbounds.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A visit of a client born 1960-04-02 with every value inside its bounds
// but the one of the row.
template <class Member, class Value> Visit with(Member Visit::*member, Value value) {
    Visit visit;
    visit.date = QDate(2026, 6, 1);
    visit.heightCm = 165;
    visit.weightKg = 60;
    visit.systolic = 120;
    visit.diastolic = 80;
    visit.*member = value;
    return visit;
}

} // namespace

Q_DECLARE_METATYPE(Visit)

class TestRecordRules : public QObject {
    Q_OBJECT
private slots:
    void readsDates_data();
    void readsDates();
    void namesTheEraYear_data();
    void namesTheEraYear();
    void boundsNameTheField_data();
    void boundsNameTheField();
};

void TestRecordRules::readsDates_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("date"); // empty: refused
    QTest::newRow("iso") << u"2026-06-01"_s << u"2026-06-01"_s;
    QTest::newRow("slashes") << u"2026/6/1"_s << u"2026-06-01"_s;
    QTest::newRow("full-width") << u"２０２６／６／１"_s << u"2026-06-01"_s;
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

void TestRecordRules::boundsNameTheField_data() {
    QTest::addColumn<Visit>("visit");
    QTest::addColumn<QString>("field");  // empty: accepted
    QTest::addColumn<QString>("bounds"); // in the message
    const QString heights = u"50.0～250.0 cm"_s;
    QTest::newRow("height low") << with(&Visit::heightCm, 49.9) << u"身長"_s << heights;
    QTest::newRow("height least") << with(&Visit::heightCm, 50.0) << QString() << QString();
    QTest::newRow("height most") << with(&Visit::heightCm, 250.0) << QString() << QString();
    QTest::newRow("height high") << with(&Visit::heightCm, 250.1) << u"身長"_s << heights;
    QTest::newRow("weight low") << with(&Visit::weightKg, 9.9) << u"体重"_s << u"10.0～300.0 kg"_s;
    QTest::newRow("weight high") << with(&Visit::weightKg, 300.1) << u"体重"_s << u"10.0～300.0 kg"_s;
    QTest::newRow("waist low") << with(&Visit::waistCm, 39.9) << u"腹囲"_s << u"40.0～200.0 cm"_s;
    QTest::newRow("waist most") << with(&Visit::waistCm, 200.0) << QString() << QString();
    QTest::newRow("systolic high") << with(&Visit::systolic, 301) << u"収縮期血圧"_s << u"40～300 mmHg"_s;
    QTest::newRow("sys = dia") << with(&Visit::systolic, 80) << u"収縮期血圧"_s << u"拡張期血圧より"_s;
    QTest::newRow("diastolic low") << with(&Visit::diastolic, 39) << u"拡張期血圧"_s << u"40～300 mmHg"_s;
    QTest::newRow("dia > sys") << with(&Visit::diastolic, 130) << u"収縮期血圧"_s << u"拡張期血圧より"_s;
    QTest::newRow("tg low") << with(&Visit::triglycerides, 9) << u"中性脂肪"_s << u"10～5000 mg/dl"_s;
    QTest::newRow("tg most") << with(&Visit::triglycerides, 5000) << QString() << QString();
    QTest::newRow("hdl high") << with(&Visit::hdl, 301) << u"HDLコレステロール"_s << u"5～300 mg/dl"_s;
    QTest::newRow("fbg low") << with(&Visit::fastingGlucose, 19) << u"空腹時血糖"_s << u"20～1000 mg/dl"_s;
    QTest::newRow("cbg high") << with(&Visit::casualGlucose, 1001) << u"随時血糖"_s << u"20～1000 mg/dl"_s;
    QTest::newRow("hba1c low") << with(&Visit::hba1c, 2.9) << u"HbA1c"_s << u"3.0～20.0 %"_s;
    QTest::newRow("hba1c most") << with(&Visit::hba1c, 20.0) << QString() << QString();
    QTest::newRow("visit tomorrow") << with(&Visit::date, QDate(2026, 6, 2)) << u"受診日"_s << u"今日"_s;
    QTest::newRow("unborn") << with(&Visit::date, QDate(1960, 4, 1)) << u"受診日"_s << u"生年月日"_s;
    QTest::newRow("on birthday") << with(&Visit::date, QDate(1960, 4, 2)) << QString() << QString();
}

void TestRecordRules::boundsNameTheField() {
    QFETCH(Visit, visit);
    QFETCH(QString, field);
    QFETCH(QString, bounds);
    Client client;
    client.name = u"山田花子"_s;
    client.birthDate = QDate(1960, 4, 2);
    const auto problem = checkVisit(visit, client, QDate(2026, 6, 1));
    QCOMPARE(problem ? problem->field : QString(), field);
    if (problem)
        QVERIFY2(problem->message.contains(field) && problem->message.contains(bounds),
                 qPrintable(problem->message));
}

QTEST_APPLESS_MAIN(TestRecordRules)
#include "tst_recordrules.moc"
