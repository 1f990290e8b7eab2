// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/datafolder.h"
#include "common/picturelines.h"
#include "common/runtimeerror.h"
#include "tables/listing.h"
#include "tables/table.h"
#include "tables/tableload.h"
#include "testsupport.h"

#include <QTest>

namespace {

// Rows 1..count named 品1, 品2, ... with the value 10 * n.
Table filledTable(int count) {
    Table table;
    for (int n = 1; n <= count; ++n)
        table.rowForLoading(n) = TableRow{QStringLiteral("品%1").arg(n), qint16(10 * n)};
    table.setRowCount(qint16(count));
    return table;
}

QStringList linesOf(const PictureLines& panel) {
    QStringList result;
    for (int i = 0; i < panel.lineCount(); ++i)
        result.append(panel.lineText(i));
    return result;
}

} // namespace

class TestListing : public QObject {
    Q_OBJECT
private slots:
    void formattedRow_data();
    void formattedRow();
    void zonedRow_data();
    void zonedRow();
    void formattedRowIsOneItem();

    void listRangePrintsFirstToLast_data();
    void listRangePrintsFirstToLast();
    void listRangePastRow300Fails();

    void openRangeEndsAtRowCount();
    void panelsWithoutRangeAreClearedOnly();
    void failedLoadLeavesPanelsCleared();
    void loadEmptiesRowsOfALongerEarlierLoad();
};

void TestListing::formattedRow_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("line");

    QTest::newRow("three spaces after the number, four before a positive value")
        << 1 << QStringLiteral("散歩") << 3 << QStringLiteral("1   散歩    3");
    QTest::newRow("an empty row keeps only the number and seven spaces")
        << 12 << QString() << 0 << "12       ";
    QTest::newRow("a long name is printed whole") << 7 << QStringLiteral("あいうえおかきくけこさし") << 1234
                                                  << QStringLiteral("7   あいうえおかきくけこさし    1234");
    QTest::newRow("a negative value puts the minus before the space")
        << 300 << QStringLiteral("散歩") << -5 << QStringLiteral("300   散歩   - 5");
    QTest::newRow("zero leaves only the space after a name")
        << 4 << QStringLiteral("水") << 0 << QStringLiteral("4   水    ");
    QTest::newRow("the most negative value") << 2 << QStringLiteral("x") << -32768 << "2   x   - 32768";
    QTest::newRow("the largest value") << 2 << QStringLiteral("x") << 32767 << "2   x    32767";
    QTest::newRow("blanks in a name are kept")
        << 9 << QStringLiteral(" 親子丼　大 ") << 680 << QStringLiteral("9    親子丼　大     680");
}

void TestListing::formattedRow() {
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QString, line);
    QCOMPARE(formattedListingRow(number, TableRow{name, qint16(value)}), line);
}

void TestListing::zonedRow_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("zones");

    QTest::newRow("number, name and value each start a zone")
        << 1 << QStringLiteral("散歩") << 3 << QStringList{" 1 ", QStringLiteral("散歩"), " 3 "};
    QTest::newRow("a negative value has the minus in the sign place")
        << 300 << QStringLiteral("散歩") << -5 << QStringList{" 300 ", QStringLiteral("散歩"), "-5 "};
    QTest::newRow("an empty row prints an empty name and the number 0")
        << 12 << QString() << 0 << QStringList{" 12 ", QString(), " 0 "};
    QTest::newRow("a long name is not cut")
        << 7 << QStringLiteral("あいうえおかきくけこさしすせそたち") << 1234
        << QStringList{" 7 ", QStringLiteral("あいうえおかきくけこさしすせそたち"), " 1234 "};
}

void TestListing::zonedRow() {
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QStringList, zones);

    Table table;
    table.rowForLoading(number) = TableRow{name, qint16(value)};
    PictureLines panel;
    printListingRow(panel, ListingStyle::Zoned, table, number);
    printListingRow(panel, ListingStyle::Zoned, table, number);
    QCOMPARE(panel.lineCount(), 2);
    QCOMPARE(panel.lines().at(0), zones);
    QCOMPARE(panel.lines().at(1), zones);
}

void TestListing::formattedRowIsOneItem() {
    // The formatted style never moves to a print zone: its blanks are spaces.
    const Table table = filledTable(1);
    PictureLines panel;
    printListingRow(panel, ListingStyle::Formatted, table, 1);
    printListingRow(panel, ListingStyle::Formatted, table, 0);
    QCOMPARE(panel.lines(),
             (QList<QStringList>{{QStringLiteral("1   品1    10")}, {QStringLiteral("0       ")}}));
}

void TestListing::listRangePrintsFirstToLast_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("rows in order, past the row count included")
        << 2 << 5
        << QStringList{QStringLiteral("2   品2    20"), QStringLiteral("3   品3    30"), "4       ",
                       "5       "};
    QTest::newRow("row 0 is the empty row")
        << 0 << 1 << QStringList{"0       ", QStringLiteral("1   品1    10")};
    QTest::newRow("one row") << 300 << 300 << QStringList{"300       "};
    QTest::newRow("last below first prints nothing") << 162 << 161 << QStringList{};
    QTest::newRow("an empty table's open range") << 41 << 0 << QStringList{};
}

void TestListing::listRangePrintsFirstToLast() {
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QStringList, lines);

    const Table table = filledTable(3);
    PictureLines panel;
    listRange(panel, ListingStyle::Formatted, table, first, last);
    QCOMPARE(linesOf(panel), lines);
}

void TestListing::listRangePastRow300Fails() {
    const Table table = filledTable(3);
    PictureLines panel;
    const auto error = failureOf([&] { listRange(panel, ListingStyle::Formatted, table, 299, 301); });
    QVERIFY(error);
    QCOMPARE(error->number(), 9);
    QCOMPARE(panel.lineCount(), 2);
}

void TestListing::openRangeEndsAtRowCount() {
    Table table = filledTable(45);
    PictureLines a, b, c;
    const Listing listing{ListingStyle::Formatted, {{1, 2}, {44, std::nullopt}, {46, std::nullopt}}};
    showListing(listing, {&a, &b, &c}, table, std::nullopt);
    QCOMPARE(linesOf(a), (QStringList{QStringLiteral("1   品1    10"), QStringLiteral("2   品2    20")}));
    QCOMPARE(linesOf(b),
             (QStringList{QStringLiteral("44   品44    440"), QStringLiteral("45   品45    450")}));
    QCOMPARE(c.lineCount(), 0);
}

void TestListing::panelsWithoutRangeAreClearedOnly() {
    Table table = filledTable(3);
    PictureLines a, b;
    a.printLine(QStringLiteral("old"));
    b.printLine(QStringLiteral("old"));
    showListing(Listing{ListingStyle::Zoned, {{3, 3}}}, {&a, &b}, table, std::nullopt);
    QCOMPARE(a.lines(), (QList<QStringList>{{" 3 ", QStringLiteral("品3"), " 30 "}}));
    QCOMPARE(b.lineCount(), 0);
}

void TestListing::failedLoadLeavesPanelsCleared() {
    QTemporaryDir dir;
    const QString path =
        writeTableFile(dir, RmrFileName, tableText(301, QStringLiteral("運動"), [](int) { return 3; }));
    Table table = filledTable(5);
    PictureLines a, b;
    a.printLine(QStringLiteral("old"));
    b.printLine(QStringLiteral("old"));
    try {
        showListing(Listing{ListingStyle::Formatted, {{1, 20}, {21, std::nullopt}}}, {&a, &b}, table, path);
        QFAIL("a 301-record file loaded");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.number(), 9);
    }
    QCOMPARE(a.lineCount(), 0);
    QCOMPARE(b.lineCount(), 0);
}

void TestListing::loadEmptiesRowsOfALongerEarlierLoad() {
    QTemporaryDir dir;
    const QString path =
        writeTableFile(dir, RmrFileName, tableText(2, QStringLiteral("運動"), [](int n) { return n; }));
    Table table = filledTable(30);
    PictureLines a;
    showListing(Listing{ListingStyle::Formatted, {{1, 4}}}, {&a}, table, path);
    QCOMPARE(linesOf(a), (QStringList{QStringLiteral("1   運動1    1"), QStringLiteral("2   運動2    2"),
                                      "3       ", "4       "}));
}

QTEST_GUILESS_MAIN(TestListing)
#include "tst_listing.moc"
