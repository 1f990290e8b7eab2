// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/datafolder.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include <QDir>
#include <QFile>
#include <QTest>

// The sample table files shipped in data/ must load as they stand.
class TestSampleData : public QObject {
    Q_OBJECT
private slots:
    void sampleFileLoads_data();
    void sampleFileLoads();
};

void TestSampleData::sampleFileLoads_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("minimumRows");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");

    QTest::newRow("exercises with whole RMR values") << RmrFileName << 60 << 1 << 20;
    // Enough meals that the second page of 定食1 has rows.
    QTest::newRow("set meals with their calories") << SetMealFileName << 170 << 100 << 1500;
}

void TestSampleData::sampleFileLoads() {
    QFETCH(QString, fileName);
    QFETCH(int, minimumRows);
    QFETCH(int, lowest);
    QFETCH(int, highest);

    const QString path = QDir(QStringLiteral(YOMORISU_TEST_DATA)).filePath(fileName);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));

    Table table;
    loadTable(table, path);
    QVERIFY(table.rowCount() >= minimumRows);
    QCOMPARE(bytes.count("\r\n"), table.rowCount());
    QSet<QString> names;
    for (int n = 1; n <= table.rowCount(); ++n) {
        const TableRow& row = table.row(n);
        QVERIFY2(!row.name.isEmpty() && !row.name.contains(QChar::ReplacementCharacter),
                 qPrintable(row.name));
        QVERIFY2(row.value >= lowest && row.value <= highest, qPrintable(row.name));
        names.insert(row.name);
    }
    QCOMPARE(names.size(), int(table.rowCount()));
}

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
