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

QTEST_APPLESS_MAIN(TestTextDecoding)
#include "tst_textdecoding.moc"
