#include "common/runtimeerror.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/stat.h>

using Rows = QList<QPair<QString, int>>;
Q_DECLARE_METATYPE(Rows)

namespace {

QByteArray sjis(const QString& text) {
    return QStringEncoder("windows-31j").encode(text);
}

// The error a load ends in, or none.
std::optional<RuntimeError> loadCatching(Table& table, const QString& path) {
    return failureOf([&] { loadTable(table, path); });
}

QByteArray records(int count, int firstValue = 1) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += sjis(QStringLiteral("運動%1,%2\r\n").arg(i + 1).arg(firstValue + i));
    return bytes;
}

} // namespace

class TestTableLoad : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsRecords_data();
    void readsRecords();
    void failures_data();
    void failures();
    void fullTableLoadsAndOneMoreFails();
    void shortenedFileLeavesNoStaleRows();
    void failedLoadKeepsRowsReadSoFar();
    void openFailuresNameTheFile();
    void onlyRegularFilesAreRead();
    void rowAccessIsChecked();
    void loadNeverChangesTheFile();

private:
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("rmr.csv"));
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTableLoad::init() {
    m_dir = std::make_unique<QTemporaryDir>();
}

QString TestTableLoad::write(const QByteArray& bytes, const QString& name) {
    const QString path = QDir(m_dir->path()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return path;
}

void TestTableLoad::readsRecords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    const QString walk = QStringLiteral("散歩");
    QTest::newRow("empty file") << QByteArray() << Rows{};
    QTest::newRow("one line with CR LF") << sjis(QStringLiteral("散歩,3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("one line without line end") << sjis(QStringLiteral("散歩,3")) << Rows{{walk, 3}};
    QTest::newRow("record over two lines") << sjis(QStringLiteral("散歩\r\n3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("two records on one line")
        << sjis(QStringLiteral("散歩,3,体操,4\r\n")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("lone CR ends a line")
        << sjis(QStringLiteral("散歩,3\r体操,4\r")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("lone LF ends a line")
        << sjis(QStringLiteral("散歩,3\n体操,4\n")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("quoted name keeps its comma")
        << sjis(QStringLiteral("\"うどん,そば\",420\r\n")) << Rows{{QStringLiteral("うどん,そば"), 420}};
    QTest::newRow("quoted name with blanks before the comma")
        << sjis(QStringLiteral("\" 月見 そば \"  ,380\r\n")) << Rows{{QStringLiteral(" 月見 そば "), 380}};
    QTest::newRow("blanks before fields skipped")
        << sjis(QStringLiteral("  散歩,\t 3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("blanks after a value")
        << sjis(QStringLiteral("散歩,3  \r\n体操,4")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("trailing blanks of a name dropped")
        << sjis(QStringLiteral("散歩  ,3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("empty name") << sjis(QStringLiteral(",5\r\n")) << Rows{{QString(), 5}};
    QTest::newRow("empty value reads 0") << sjis(QStringLiteral("散歩,\r\n")) << Rows{{walk, 0}};
    QTest::newRow("2.5 rounds to even 2")
        << sjis(QStringLiteral("a,2.5\r\n")) << Rows{{QStringLiteral("a"), 2}};
    QTest::newRow("3.5 rounds to even 4")
        << sjis(QStringLiteral("a,3.5\r\n")) << Rows{{QStringLiteral("a"), 4}};
    QTest::newRow("negative value") << sjis(QStringLiteral("a,-7\r\n")) << Rows{{QStringLiteral("a"), -7}};
    QTest::newRow("letters read 0") << sjis(QStringLiteral("a,abc\r\n")) << Rows{{QStringLiteral("a"), 0}};
    QTest::newRow("16-bit limits") << sjis(QStringLiteral("a,32767\r\nb,-32768\r\n"))
                                   << Rows{{QStringLiteral("a"), 32767}, {QStringLiteral("b"), -32768}};
    QTest::newRow("quoted value") << sjis(QStringLiteral("\"a\",\"12\"\r\n"))
                                  << Rows{{QStringLiteral("a"), 12}};
    QTest::newRow("code page 932 backslash byte in a name")
        << sjis(QStringLiteral("ソバ,5\r\n")) << Rows{{QStringLiteral("ソバ"), 5}};
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("散歩,3\r\n").toUtf8() << Rows{{walk, 3}};
    QTest::newRow("bad byte becomes the replacement character")
        << QByteArray("a\xA0z,1\r\n") << Rows{{QStringLiteral("a\uFFFDz"), 1}};
    QTest::newRow("lead byte cut off by the comma")
        << QByteArray("ab\x82,1\r\n") << Rows{{QStringLiteral("ab\uFFFD"), 1}};
}

void TestTableLoad::readsRecords() {
    QFETCH(QByteArray, bytes);
    QFETCH(Rows, rows);
    Table table;
    const auto error = loadCatching(table, write(bytes));
    QVERIFY2(!error, error ? error->what() : "");
    QCOMPARE(int(table.rowCount()), rows.size());
    for (int n = 1; n <= rows.size(); ++n) {
        QCOMPARE(table.row(n).name, rows[n - 1].first);
        QCOMPARE(int(table.row(n).value), rows[n - 1].second);
    }
    QCOMPARE(table.row(0).name, QString());
    QCOMPARE(int(table.row(0).value), 0);
    QCOMPARE(table.row(rows.size() + 1).name, QString());
}

void TestTableLoad::failures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("rowsKept");
    QTest::newRow("blank line after the last record") << sjis(QStringLiteral("散歩,3\r\n\r\n")) << 62 << 1;
    QTest::newRow("name without value") << sjis(QStringLiteral("散歩,3\r\n体操")) << 62 << 1;
    QTest::newRow("name and comma, then the end") << sjis(QStringLiteral("散歩,")) << 62 << 0;
    QTest::newRow("blanks only after a record") << sjis(QStringLiteral("散歩,3\r\n  ")) << 62 << 1;
    QTest::newRow("40000 overflows") << sjis(QStringLiteral("散歩,3\r\n走る,40000\r\n")) << 6 << 1;
    QTest::newRow("-32769 overflows") << sjis(QStringLiteral("a,-32769\r\n")) << 6 << 0;
    QTest::newRow("1E10 overflows") << sjis(QStringLiteral("a,1E10\r\n")) << 6 << 0;
}

void TestTableLoad::failures() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, errorNumber);
    QFETCH(int, rowsKept);
    Table table;
    const QString path = write(bytes);
    const auto error = loadCatching(table, path);
    QVERIFY(error);
    QCOMPARE(error->number(), errorNumber);
    QCOMPARE(error->source(), path);
    QCOMPARE(int(table.rowCount()), rowsKept);
    QCOMPARE(table.row(rowsKept + 1).name, QString()); // no half record above the rows kept
}

void TestTableLoad::fullTableLoadsAndOneMoreFails() {
    Table table;
    QVERIFY(!loadCatching(table, write(records(300))));
    QCOMPARE(int(table.rowCount()), 300);
    QCOMPARE(table.row(300).name, QStringLiteral("運動300"));
    QCOMPARE(int(table.row(300).value), 300);

    const auto error = loadCatching(table, write(records(301)));
    QVERIFY(error);
    QCOMPARE(error->kind(), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(int(table.rowCount()), 300); // the 301st record was never read
}

void TestTableLoad::shortenedFileLeavesNoStaleRows() {
    Table table;
    const QString path = write(records(50));
    QVERIFY(!loadCatching(table, path));
    QCOMPARE(int(table.rowCount()), 50);
    write(records(10, 100));
    QVERIFY(!loadCatching(table, path));
    QCOMPARE(int(table.rowCount()), 10);
    QCOMPARE(int(table.row(10).value), 109);
    for (int n = 11; n <= 50; ++n) {
        QCOMPARE(table.row(n).name, QString());
        QCOMPARE(int(table.row(n).value), 0);
    }
}

void TestTableLoad::failedLoadKeepsRowsReadSoFar() {
    Table table;
    const QString path = write(records(20));
    QVERIFY(!loadCatching(table, path));
    write(records(3) + sjis(QStringLiteral("悪い,99999\r\n")) + records(5));
    QVERIFY(loadCatching(table, path));
    QCOMPARE(int(table.rowCount()), 3);
    QCOMPARE(table.row(3).name, QStringLiteral("運動3"));
    QCOMPARE(table.row(4).name, QString());
    QCOMPARE(table.row(20).name, QString());
}

void TestTableLoad::openFailuresNameTheFile() {
    Table table;
    const QString missing = QDir(m_dir->path()).filePath(QStringLiteral("定食.csv"));
    auto error = loadCatching(table, missing);
    QVERIFY(error);
    QCOMPARE(error->number(), 53);
    QCOMPARE(error->source(), missing);
    // The message tells the user where and what the system said.
    QVERIFY(!error->reason().isEmpty());
    QVERIFY(errorMessage(*error).contains(missing));
    QVERIFY(errorMessage(*error).contains(error->reason()));

    const QString noFolder = QDir(m_dir->path()).filePath(QStringLiteral("nowhere/rmr.csv"));
    error = loadCatching(table, noFolder);
    QVERIFY(error);
    QCOMPARE(error->number(), 76);

    // A folder where the file should be cannot be read as a table.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("rmr.csv")));
    error = loadCatching(table, QDir(m_dir->path()).filePath(QStringLiteral("rmr.csv")));
    QVERIFY(error);
    QCOMPARE(error->number(), 75);
}

void TestTableLoad::onlyRegularFilesAreRead() {
    Table table;
    // A named pipe with no writer would block an ordinary open for ever.
    const QString fifo = QDir(m_dir->path()).filePath(QStringLiteral("定食.csv"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
        const auto error = loadCatching(table, path);
        QVERIFY2(error, qPrintable(path));
        QCOMPARE(error->number(), 75);
        QCOMPARE(error->source(), path);
    }
    // A link is followed to the file it names.
    const QString target = write(records(2));
    const QString link = QDir(m_dir->path()).filePath(QStringLiteral("link.csv"));
    QVERIFY(QFile::link(target, link));
    QVERIFY(!loadCatching(table, link));
    QCOMPARE(int(table.rowCount()), 2);
}

void TestTableLoad::rowAccessIsChecked() {
    Table table;
    for (qint64 bad : {qint64(-1), qint64(301), qint64(1) << 40}) {
        try {
            table.row(bad);
            QFAIL("row access out of range did not fail");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), 9);
        }
    }
    QCOMPARE(table.row(300).name, QString());
}

void TestTableLoad::loadNeverChangesTheFile() {
    const QByteArray bytes = records(12);
    const QString path = write(bytes);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    const QDateTime modified = QFileInfo(path).lastModified();
    QTest::qWait(20);
    Table table;
    QVERIFY(!loadCatching(table, path));
    QVERIFY(!loadCatching(table, path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    QCOMPARE(QFileInfo(path).lastModified(), modified);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("rmr.csv")});
}

QTEST_GUILESS_MAIN(TestTableLoad)
#include "tst_tableload.moc"
