// SPDX-License-Identifier: GPL-3.0-or-later
#include "body/bodymeasure.h"
#include "testsupport.h"

#include <QTest>

#include <limits>

// The calculation of 標準 where its window cannot reach: values beyond what
// the 4- and 2-character boxes let through, and which box a failure names.
// The worked values are checked as printed, in tst_bodywindow.
class TestBodyMeasure : public QObject {
    Q_OBJECT
private slots:
    void extremeHeightsDoNotWrap();
    void bodyMassIndex_data();
    void bodyMassIndex();
    void failures_data();
    void failures();
};

void TestBodyMeasure::extremeHeightsDoNotWrap() {
    QCOMPARE(standardWeight(std::numeric_limits<qint32>::max()), 1932735192.3);
    QCOMPARE(standardWeight(std::numeric_limits<qint32>::min()), -2147483748.0);
    QCOMPARE(readBodyInputs(QStringLiteral("1\r\n7"), QString()).height, 1); // a line break ends the number
}

void TestBodyMeasure::bodyMassIndex_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("bmi");
    QTest::newRow("exactly 23.5 goes up to the even 24") << 200 << 94 << 24;
    QTest::newRow("negative weight, -18.5 to the even -18") << 200 << -74 << -18;
    QTest::newRow("1 cm") << 1 << 99 << 990000;
}

void TestBodyMeasure::bodyMassIndex() {
    QFETCH(int, height);
    QFETCH(int, weight);
    QFETCH(int, bmi);
    QCOMPARE(::bodyMassIndex(height, weight), bmi);
}

void TestBodyMeasure::failures_data() {
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("source");
    QTest::newRow("both unreadable: the height is read first") << "1E99"
                                                               << "1E99" << 6 << "身長";
    QTest::newRow("half past the 32-bit top goes to the even, beyond") << "2147483647.5"
                                                                       << "" << 6 << "身長";
    QTest::newRow("weight unreadable") << "170"
                                       << "-1E10" << 6 << "体重";
    // The failures of the division come of the height.
    QTest::newRow("no height, negative weight") << "0"
                                                << "-1" << 11 << "身長";
    QTest::newRow("empty height") << ""
                                  << "65" << 11 << "身長";
    QTest::newRow("no height, no weight: 0 / 0") << ""
                                                 << "" << 6 << "身長";
    QTest::newRow("quotient beyond 32 bits") << "1"
                                             << "2147483647" << 6 << "身長";
}

void TestBodyMeasure::failures() {
    QFETCH(QString, height);
    QFETCH(QString, weight);
    QFETCH(int, error);
    QFETCH(QString, source);
    const auto failure = failureOf([&] {
        const BodyInputs in = readBodyInputs(height, weight);
        ::bodyMassIndex(in.height, in.weight);
    });
    QVERIFY(failure);
    QCOMPARE(failure->number(), error);
    QCOMPARE(failure->source(), QStringLiteral("「%1」の入力欄").arg(source));
}

QTEST_APPLESS_MAIN(TestBodyMeasure)
#include "tst_bodymeasure.moc"
