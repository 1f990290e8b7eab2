// SPDX-License-Identifier: GPL-3.0-or-later
// The forms users bring their tables and documents in: both are read by one
// rule, so each form is tried on both.

#include "common/textdecoding.h"
#include "documents/documentreader.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include "testsupport.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QTest>

class TestTextDecoding : public QObject {
    Q_OBJECT
private slots:
    void tablesAndDocumentsReadEveryForm_data();
    void tablesAndDocumentsReadEveryForm();
    void codePage932ReadsAsWindowsDoes_data();
    void codePage932ReadsAsWindowsDoes();
};

void TestTextDecoding::tablesAndDocumentsReadEveryForm_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString meals = QStringLiteral("散歩,3\r\n\"うどん,そば\",420\r\n𠮷野家,5\r\n");
    const auto utf16 = [&](QStringConverter::Encoding form, const char* mark) {
        return QByteArray(mark, 2) + QStringEncoder(form).encode(meals);
    };
    QTest::newRow("UTF-16 little-endian with its mark")
        << utf16(QStringConverter::Utf16LE, "\xFF\xFE") << meals;
    QTest::newRow("UTF-16 big-endian with its mark") << utf16(QStringConverter::Utf16BE, "\xFE\xFF") << meals;
    // After the mark the first read holds 32767 units; the pair's high half
    // is the last of them.
    const QString across = (QString(16000, u'a') + QStringLiteral(",1\r\n")).repeated(2) +
                           QString(758, u'b') + QStringLiteral("𠮷,2\r\n");
    QTest::newRow("UTF-16 with a pair across the first 64 KiB read")
        << QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(across) << across;
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xEF\xBB\xBF") + meals.toUtf8() << meals;
    QTest::newRow("UTF-8 without a mark") << meals.toUtf8() << meals;
    const QString japanese = QStringLiteral("散歩,3\r\n\"うどん,そば\",420\r\nソバ,5\r\n");
    QTest::newRow("code page 932") << codePage932(japanese) << japanese;
    QTest::newRow("code page 932, only ASCII")
        << QByteArray("walk,3\r\n~\\,4\r\n") << QStringLiteral("walk,3\r\n~\\,4\r\n");
    // Half-width katakana ﾃｽ are the bytes C3 BD, which UTF-8 also reads; a
    // kanji 64 KiB on shows the file for code page 932 after all.
    const QString pad = QString(16000, u'a') + QStringLiteral(",1\r\n");
    const QString late = QStringLiteral("ﾃｽ,1\r\n") + pad.repeated(5) + QStringLiteral("散歩,3\r\n");
    QTest::newRow("code page 932 that looks like UTF-8 for 64 KiB") << codePage932(late) << late;
    // The price of the rule: a file whose only non-ASCII bytes happen to
    // form UTF-8 reads as UTF-8.
    QTest::newRow("code page 932 that is valid UTF-8 throughout")
        << codePage932(QStringLiteral("ﾃｽ,1\r\n")) << QStringLiteral("\u00FD,1\r\n");
}

void TestTextDecoding::tablesAndDocumentsReadEveryForm() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(documentText(bytes), text);

    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    Table table;
    const auto error = failureOf([&] { readTable(table, buffer); });
    QVERIFY2(!error, error ? error->what() : "");
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(int(table.rowCount()), lines.size());
    for (int n = 1; n <= lines.size(); ++n) {
        const QString& line = lines[n - 1];
        const qsizetype comma = line.lastIndexOf(u',');
        QString name = line.left(comma);
        if (name.startsWith(u'"'))
            name = name.mid(1, name.size() - 2);
        QCOMPARE(table.row(n).name, name);
        QCOMPARE(int(table.row(n).value), line.mid(comma + 1).toInt());
    }
}

// The same on Debian (ICU) and on Windows (the system's code page): the
// characters where vendors' tables differ, and the bytes that are none.
void TestTextDecoding::codePage932ReadsAsWindowsDoes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("NEC special characters ① Ⅰ ㍉ ≒")
        << QByteArray("\x87\x40\x87\x54\x87\x5F\x87\x90") << QStringLiteral("\u2460\u2160\u3349\u2252");
    QTest::newRow("NEC-selected IBM extension 纊 and ￢")
        << QByteArray("\xED\x40\xEE\xF9") << QStringLiteral("\u7E8A\uFFE2");
    QTest::newRow("IBM extensions ⅰ ￤ 髙")
        << QByteArray("\xFA\x40\xFA\x55\xFB\xFC") << QStringLiteral("\u2170\uFFE4\u9AD9");
    QTest::newRow("0x5C is the backslash, 0x7E the tilde") << QByteArray("a\\b~") << QStringLiteral("a\\b~");
    QTest::newRow("wave dash, minus, parallel, not, cent, pound")
        << QByteArray("\x81\x60\x81\x7C\x81\x61\x81\xCA\x81\x91\x81\x92")
        << QStringLiteral("\uFF5E\uFF0D\u2225\uFFE2\uFFE0\uFFE1");
    QTest::newRow("half-width katakana") << QByteArray("\xB1\xDF") << QStringLiteral("\uFF71\uFF9F");
    QTest::newRow("user-defined character") << QByteArray("\xF0\x40") << QStringLiteral("\uE000");
    QTest::newRow("control codes stay themselves")
        << QByteArray("\x1A\x1C\x7F\x01", 4) << QStringLiteral("\u001A\u001C\u007F\u0001");
    QTest::newRow("lead byte at the end") << QByteArray("A\x82") << QStringLiteral("A\uFFFD");
    QTest::newRow("lead byte before a byte it cannot lead")
        << QByteArray("\x82\x20\x81\x0Ax") << QStringLiteral("\uFFFD \uFFFD\nx");
    QTest::newRow("a pair that names no character") << QByteArray("\x85\x40z") << QStringLiteral("\uFFFDz");
    QTest::newRow("single bytes that are no character")
        << QByteArray("\x80\xA0\xFD\xFE\xFF") << QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
}

void TestTextDecoding::codePage932ReadsAsWindowsDoes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(CodePage932Decoder().decode(bytes), text);
}

QTEST_APPLESS_MAIN(TestTextDecoding)
#include "tst_textdecoding.moc"
