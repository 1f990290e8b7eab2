// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"
#include "common/runtimeerror.h"
#include "exercise/energy.h"
#include "tables/table.h"

#include "testsupport.h"

#include <QTest>

#include <bit>

// Entry rows as typed: row k -> {exercise number, minutes}; other rows empty.
using Rows = QMap<int, std::pair<QString, QString>>;
Q_DECLARE_METATYPE(Rows)

namespace {

// RMR values of the table the cases share: 12 loaded rows, and past them the
// empty rows of a table made for one click.
Table sampleTable() {
    const QMap<int, int> values{{1, 1},   {2, 6},    {3, 4},    {4, 9},  {5, 10}, {7, 2},
                                {8, 151}, {10, 100}, {11, 200}, {12, 3}, {9, -7}, {6, 0}};
    Table table;
    for (auto it = values.begin(); it != values.end(); ++it)
        table.rowForLoading(it.key()).value = qint16(it.value());
    table.setRowCount(12);
    return table;
}

ExerciseEntries entriesOf(const Rows& rows) {
    ExerciseEntries entries;
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        entries[size_t(2 * it.key() - 2)] = it.value().first;
        entries[size_t(2 * it.key() - 1)] = it.value().second;
    }
    return entries;
}

// The floats nearest to 0.9821 and 0.9833, worked out by hand as exact binary
// fractions: 2059613 / 2^21 and 4124259 / 2^22.
const long double ManFactor = 2059613.0L / (1 << 21);
const long double WomanFactor = 4124259.0L / (1 << 22);

bool sameFloat(float a, float b) {
    return std::bit_cast<quint32>(a) == std::bit_cast<quint32>(b);
}

} // namespace

class TestEnergy : public QObject {
    Q_OBJECT
private slots:
    void sexFactor_data();
    void sexFactor();
    void totals_data();
    void totals();
    void failures_data();
    void failures();
    void printedEnergy_data();
    void printedEnergy();
    void everyTotalIsOneRoundedProduct();
};

void TestEnergy::sexFactor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("woman");
    QTest::newRow("empty box") << "" << false;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("2") << "2" << true;
    QTest::newRow("3") << "3" << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("no number") << "abc" << false;
    QTest::newRow("1.5 rounds to 2") << "1.5" << true;
    QTest::newRow("2.5 rounds to 2") << "2.5" << true;
    QTest::newRow("3.5 rounds to 4") << "3.5" << false;
    QTest::newRow("full-width 1") << "１" << false;
    QTest::newRow("full-width 2") << "２" << true;
    QTest::newRow("2 with blanks around") << " 2 " << true;
    QTest::newRow("-2") << "-2" << false;
}

void TestEnergy::sexFactor() {
    QFETCH(QString, text);
    QFETCH(bool, woman);
    const float factor = readSex(text).factor;
    QVERIFY2(sameFloat(factor, float(woman ? WomanFactor : ManFactor)),
             qPrintable(QString::number(factor, 'g', 9)));
}

void TestEnergy::totals_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("total");
    QTest::newRow("all empty") << Rows{} << 0;
    QTest::newRow("4 x 30 + 2 x 15") << Rows{{1, {"3", "30"}}, {2, {"7", "15"}}} << 150;
    QTest::newRow("exercise 2.5 is row 2") << Rows{{1, {"2.5", "1"}}} << 6;
    QTest::newRow("exercise 3.5 is row 4") << Rows{{1, {"3.5", "1"}}} << 9;
    QTest::newRow("exercise 0 adds 0") << Rows{{1, {"0", "100"}}} << 0;
    QTest::newRow("past the loaded rows adds 0") << Rows{{1, {"200", "100"}}, {2, {"300", "5"}}} << 0;
    QTest::newRow("blanks removed: row 12") << Rows{{1, {" 1 2", "10"}}} << 30;
    QTest::newRow("minutes 1.5 count as 2") << Rows{{1, {"5", "1.5"}}} << 20;
    QTest::newRow("minutes 0.5 count as 0") << Rows{{1, {"5", "0.5"}}} << 0;
    QTest::newRow("negative minutes") << Rows{{1, {"1", "-5"}}} << -5;
    QTest::newRow("number without minutes") << Rows{{1, {"5", ""}}} << 0;
    QTest::newRow("2 x 617") << Rows{{1, {"7", "617"}}} << 1234;
    QTest::newRow("151 x 217 is the largest total") << Rows{{1, {"8", "217"}}} << 32767;
    QTest::newRow("products sum over all eight rows")
        << Rows{{1, {"1", "1"}}, {2, {"2", "1"}}, {3, {"3", "1"}},  {4, {"4", "1"}},
                {5, {"5", "1"}}, {6, {"7", "1"}}, {7, {"12", "1"}}, {8, {"8", "1"}}}
        << 1 + 6 + 4 + 9 + 10 + 2 + 3 + 151;
}

void TestEnergy::totals() {
    QFETCH(Rows, rows);
    QFETCH(int, total);
    QCOMPARE(int(exerciseTotal(sampleTable(), entriesOf(rows))), total);
}

void TestEnergy::failures_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("source");
    QTest::newRow("exercise -1") << Rows{{3, {"-1", "10"}}} << 9 << "「種目番号 3」の入力欄";
    QTest::newRow("exercise 301") << Rows{{8, {"301", "10"}}} << 9 << "「種目番号 8」の入力欄";
    QTest::newRow("exercise past 32 bits") << Rows{{2, {"1E10", "10"}}} << 6 << "「種目番号 2」の入力欄";
    QTest::newRow("exercise past double") << Rows{{2, {"1E400", "10"}}} << 6 << "「種目番号 2」の入力欄";
    QTest::newRow("minutes past 16 bits") << Rows{{4, {"1", "32768"}}} << 6 << "「時間 4」の入力欄";
    QTest::newRow("minutes before the exercise is checked")
        << Rows{{5, {"301", "40000"}}} << 6 << "「時間 5」の入力欄";
    QTest::newRow("100 x 328 = 32800") << Rows{{1, {"10", "328"}}} << 6 << "「時間 1」の入力欄";
    QTest::newRow("20000 + 20000 at the second row")
        << Rows{{1, {"11", "100"}}, {2, {"11", "100"}}} << 6 << "「時間 2」の入力欄";
    QTest::newRow("a partial sum, though the end would fit")
        << Rows{{1, {"11", "100"}}, {2, {"11", "100"}}, {3, {"11", "-100"}}} << 6 << "「時間 2」の入力欄";
    QTest::newRow("below -32768") << Rows{{1, {"11", "-100"}}, {2, {"10", "-128"}}} << 6
                                  << "「時間 2」の入力欄";
    QTest::newRow("rows in order: row 2 stops before row 6")
        << Rows{{2, {"400", "1"}}, {6, {"1", "99999"}}} << 9 << "「種目番号 2」の入力欄";
}

void TestEnergy::failures() {
    QFETCH(Rows, rows);
    QFETCH(int, errorNumber);
    QFETCH(QString, source);
    const auto error = failureOf([&] { exerciseTotal(sampleTable(), entriesOf(rows)); });
    QVERIFY(error);
    QCOMPARE(error->number(), errorNumber);
    QCOMPARE(error->source(), source);
}

void TestEnergy::printedEnergy_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("printed");
    const Rows total150{{1, {"3", "30"}}, {2, {"7", "15"}}};
    const Rows total100{{1, {"5", "10"}}};
    QTest::newRow("nothing entered") << Rows{} << ""
                                     << " 0 ";
    QTest::newRow("150, man") << total150 << "1"
                              << " 147.315 ";
    QTest::newRow("150, woman") << total150 << "2"
                                << " 147.495 ";
    QTest::newRow("100, woman: single precision shows") << total100 << "2"
                                                        << " 98.32999 ";
    QTest::newRow("100, man") << total100 << "1"
                              << " 98.21 ";
    QTest::newRow("1234, man") << Rows{{1, {"7", "617"}}} << "1"
                               << " 1211.911 ";
    QTest::newRow("32767, woman") << Rows{{1, {"8", "217"}}} << "2"
                                  << " 32219.79 ";
    QTest::newRow("-5, man") << Rows{{1, {"1", "-5"}}} << "1"
                             << "-4.9105 ";
    QTest::newRow("1, man: a 0 before the point") << Rows{{1, {"1", "1"}}} << "1"
                                                  << " 0.9821 ";
    QTest::newRow("-1, woman") << Rows{{1, {"1", "-1"}}} << "2"
                               << "-0.9833 ";
}

void TestEnergy::printedEnergy() {
    QFETCH(Rows, rows);
    QFETCH(QString, sex);
    QFETCH(QString, printed);
    QCOMPARE(formatSingle(computeEnergy(sampleTable(), entriesOf(rows), sex)), printed);
}

// The total as a float times the factor, rounded once: the exact product of
// a 16-bit whole number and a 24-bit fraction fits a long double, so rounding
// that to float is the one rounding allowed.
void TestEnergy::everyTotalIsOneRoundedProduct() {
    const SexFactor man = readSex(QStringLiteral("1"));
    const SexFactor woman = readSex(QStringLiteral("2"));
    int wrong = 0;
    for (int total = -32768; total <= 32767; ++total) {
        wrong += !sameFloat(energy(qint16(total), man), float(total * ManFactor));
        wrong += !sameFloat(energy(qint16(total), woman), float(total * WomanFactor));
    }
    QCOMPARE(wrong, 0);
}

QTEST_APPLESS_MAIN(TestEnergy)
#include "tst_energy.moc"
