// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numbers.h"
#include "common/runtimeerror.h"

#include "testsupport.h"

#include <QTest>

#include <limits>

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberTooLargeIsOverflow();
    void rounding_data();
    void rounding();
    void roundingOutOfRange_data();
    void roundingOutOfRange();
    void checkedArithmetic();
    void formatting_data();
    void formatting();
    void errorMessages();
};

void TestNumbers::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty text reads as 0") << "" << 0.0;
    QTest::newRow("plain digits") << "7" << 7.0;
    QTest::newRow("leading blank removed") << " 7" << 7.0;
    QTest::newRow("trailing blank removed") << "7 " << 7.0;
    QTest::newRow("blank inside removed") << " 1 2" << 12.0;
    QTest::newRow("tab and line feed removed") << "1\t2\n3" << 123.0;
    QTest::newRow("leading zero") << "0 7" << 7.0;
    QTest::newRow("stops at a unit") << "7kcal" << 7.0;
    QTest::newRow("letters give 0") << "abc" << 0.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("point without leading digit") << ".5" << 0.5;
    QTest::newRow("negative") << "-0.4" << -0.4;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("a lone sign is no number") << "-" << 0.0;
    QTest::newRow("thousands separator ends the number") << "1,234" << 1.0;
    QTest::newRow("comma is no decimal point") << "2,5" << 2.0;
    QTest::newRow("second point ends the number") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1E3" << 1000.0;
    QTest::newRow("exponent with sign") << "25e-1" << 2.5;
    QTest::newRow("D exponent") << "1D2" << 100.0;
    QTest::newRow("exponent without digits stops before E") << "3E" << 3.0;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    QTest::newRow("hexadecimal lower case") << "&hff" << 255.0;
    QTest::newRow("hexadecimal 16-bit wraps to negative") << "&HFFFF" << -1.0;
    QTest::newRow("hexadecimal 32-bit") << "&H10000" << 65536.0;
    QTest::newRow("hexadecimal 32-bit wraps to negative") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("full-width digit") << "７" << 7.0;
    QTest::newRow("full-width space is a blank") << "\u3000７" << 7.0;
    QTest::newRow("full-width minus and point") << "－１．５" << -1.5;
    QTest::newRow("full-width plus") << "＋１２" << 12.0;
    QTest::newRow("number after text is not read") << "No.5" << 0.0;
    QTest::newRow("no-break space is a blank") << "\u00A03" << 3.0;
    QTest::newRow("no-break space inside removed") << "1\u00A02" << 12.0;
    QTest::newRow("full-width hexadecimal") << "＆Ｈ１ｆ" << 31.0;
    QTest::newRow("full-width octal") << "＆ｏ１７" << 15.0;
    QTest::newRow("Arabic-Indic digit ends a hexadecimal number") << "&H1\u0663" << 1.0;
    QTest::newRow("Devanagari digit ends an octal number") << "&O7\u0967" << 7.0;
    QTest::newRow("Arabic-Indic digit is no decimal digit") << "\u0663" << 0.0;
}

void TestNumbers::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(::leadingNumber(text), expected);
}

void TestNumbers::leadingNumberTooLargeIsOverflow() {
    for (const QString& text :
         {QStringLiteral("1E999"), QStringLiteral("-1e400"), QStringLiteral("&H123456789")}) {
        const auto error = failureOf([&] { ::leadingNumber(text); });
        QVERIFY2(error, qPrintable(text));
        QCOMPARE(error->number(), 6);
    }
}

void TestNumbers::rounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to even 2") << 2.5 << 2;
    QTest::newRow("3.5 to even 4") << 3.5 << 4;
    QTest::newRow("-2.5 to even -2") << -2.5 << -2;
    QTest::newRow("-0.5 to 0") << -0.5 << 0;
    QTest::newRow("0.5 to 0") << 0.5 << 0;
    QTest::newRow("1.5 to 2") << 1.5 << 2;
    QTest::newRow("2.4999 down") << 2.4999 << 2;
    QTest::newRow("2.5001 up") << 2.5001 << 3;
    QTest::newRow("-0.4 to 0") << -0.4 << 0;
    QTest::newRow("largest 16-bit") << 32767.0 << 32767;
    QTest::newRow("32766.5 to even 32766") << 32766.5 << 32766;
    QTest::newRow("smallest 16-bit") << -32768.0 << -32768;
}

void TestNumbers::rounding() {
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(roundToInt16(value)), expected);
    QCOMPARE(int(roundToInt32(value)), expected);
}

void TestNumbers::roundingOutOfRange_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits32");
    QTest::newRow("32768") << 32768.0 << true;
    QTest::newRow("32767.5 rounds to 32768") << 32767.5 << true;
    QTest::newRow("-32768.6") << -32768.6 << true;
    QTest::newRow("2147483648") << 2147483648.0 << false;
    QTest::newRow("2147483647.5 rounds up") << 2147483647.5 << false;
    QTest::newRow("-2147483649") << -2147483649.0 << false;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false;
}

void TestNumbers::roundingOutOfRange() {
    QFETCH(double, value);
    QFETCH(bool, fits32);
    const auto error16 = failureOf([&] { roundToInt16(value); });
    QVERIFY(error16);
    QCOMPARE(error16->kind(), ErrorKind::Overflow);
    const auto error32 = failureOf([&] { roundToInt32(value); });
    QCOMPARE(bool(error32), !fits32);
    if (error32)
        QCOMPARE(error32->kind(), ErrorKind::Overflow);
}

void TestNumbers::checkedArithmetic() {
    QCOMPARE(add16(30000, 2767), qint16(32767));
    QCOMPARE(sub16(-32767, 1), qint16(-32768));
    QCOMPARE(mul16(100, 327), qint16(32700));
    QCOMPARE(add32(2147483600, 47), 2147483647);
    auto overflows = [](auto f) {
        const auto error = failureOf(f);
        return error && error->kind() == ErrorKind::Overflow;
    };
    QVERIFY(overflows([] { add16(20000, 20000); }));
    QVERIFY(overflows([] { sub16(-32768, 1); }));
    QVERIFY(overflows([] { mul16(100, 328); }));
    QVERIFY(overflows([] { add32(2147483647, 1); }));
    QVERIFY(overflows([] { mul32(65536, 65536); }));
    QVERIFY(overflows([] { toInt16(32768); }));
}

void TestNumbers::formatting_data() {
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << formatWhole(0) << " 0 ";
    QTest::newRow("positive") << formatWhole(1234) << " 1234 ";
    QTest::newRow("negative") << formatWhole(-5) << "-5 ";
    QTest::newRow("smallest 64-bit") << formatWhole(std::numeric_limits<qint64>::min())
                                     << "-9223372036854775808 ";
    QTest::newRow("whole double has no point") << formatDouble(63) << " 63 ";
    QTest::newRow("double fraction") << formatDouble(58.5) << " 58.5 ";
    QTest::newRow("double sum keeps 15 digits") << formatDouble(52.04) << " 52.04 ";
    QTest::newRow("binary noise beyond 15 digits dropped")
        << formatDouble((159 - 100) / 10.0 * 0.4 + 50) << " 52.36 ";
    QTest::newRow("negative double") << formatDouble(-100) << "-100 ";
    QTest::newRow("double below one") << formatDouble(0.25) << " 0.25 ";
    QTest::newRow("large double without exponent") << formatDouble(1e20) << " 100000000000000000000 ";
    QTest::newRow("single 7 digits") << formatSingle(150 * 0.9821f) << " 147.315 ";
    QTest::newRow("single woman factor") << formatSingle(100 * 0.9833f) << " 98.32999 ";
    QTest::newRow("single man factor") << formatSingle(100 * 0.9821f) << " 98.21 ";
    QTest::newRow("single large") << formatSingle(32767 * 0.9833f) << " 32219.79 ";
    QTest::newRow("single 1234") << formatSingle(1234 * 0.9821f) << " 1211.911 ";
    QTest::newRow("single negative") << formatSingle(-5 * 0.9821f) << "-4.9105 ";
    QTest::newRow("single zero") << formatSingle(0.0f) << " 0 ";
}

void TestNumbers::formatting() {
    QFETCH(QString, printed);
    QFETCH(QString, expected);
    QCOMPARE(printed, expected);
}

void TestNumbers::errorMessages() {
    const RuntimeError overflow(ErrorKind::Overflow, QStringLiteral("「朝食 3」の入力欄"));
    QVERIFY(errorMessage(overflow).contains(QStringLiteral("6")));
    QVERIFY(errorMessage(overflow).contains(QStringLiteral("オーバーフロー")));
    QVERIFY(errorMessage(overflow).contains(QStringLiteral("朝食 3")));
    QCOMPARE(RuntimeError(ErrorKind::SubscriptOutOfRange).number(), 9);
    QCOMPARE(RuntimeError(ErrorKind::DivisionByZero).number(), 11);
    QCOMPARE(RuntimeError(ErrorKind::FileNotFound).number(), 53);
    QCOMPARE(RuntimeError(ErrorKind::InputPastEndOfFile).number(), 62);
    QCOMPARE(RuntimeError(ErrorKind::Printer).number(), 482);
    // A source found by an inner step is kept; an outer step only fills a gap.
    QCOMPARE(overflow.withSource(QStringLiteral("other")).source(), overflow.source());
    QCOMPARE(RuntimeError(ErrorKind::Overflow).withSource(QStringLiteral("x")).source(), QStringLiteral("x"));
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
