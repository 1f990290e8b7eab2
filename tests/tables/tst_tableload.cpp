// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/runtimeerror.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using Rows = QList<QPair<QString, int>>;
Q_DECLARE_METATYPE(Rows)

namespace {

// The error a load ends in, or none.
std::optional<RuntimeError> loadCatching(Table& table, const QString& path) {
    return failureOf([&] { loadTable(table, path); });
}

QString recordsText(int count, int firstValue = 1) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("運動%1,%2\r\n").arg(i + 1).arg(firstValue + i);
    return text;
}

QByteArray records(int count, int firstValue = 1) {
    return codePage932(recordsText(count, firstValue));
}

constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 GiB = 1024 * MiB;

// A figure from /proc/self/status, in kB.
qint64 memoryKb(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Sets the peak resident figure back to the current one, so the next peak
// belongs to what runs next and not to an earlier test.
bool resetPeakMemory() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// Gives its bytes, then fails as a disk does when a sector cannot be read.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray bytes) : m_bytes(std::move(bytes)) { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_bytes.isEmpty()) {
            setErrorString(QStringLiteral("sector unreadable"));
            return -1;
        }
        const qint64 n = std::min(maxSize, qint64(m_bytes.size()));
        std::copy_n(m_bytes.constData(), n, data);
        m_bytes.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
};

} // namespace

class TestTableLoad : public QObject {
    Q_OBJECT
private slots:
    // First, so no earlier test has raised the peak it measures.
    void gigabyteOfZerosKeepsMemoryBounded();
    void init();
    void readsRecords_data();
    void readsRecords();
    void failures_data();
    void failures();
    void fullTableLoadsAndOneMoreFails();
    void shortenedFileLeavesNoStaleRows();
    void failedLoadKeepsRowsReadSoFar();
    void openFailuresNameTheFile();
    void linkIsFollowedToItsFile();
    void rowAccessIsChecked();
    void loadNeverChangesTheFile();
    void badFilesEndInAClearError_data();
    void badFilesEndInAClearError();
    void recordsPastTheLimitAreNeverRead();
    void readFailureKeepsTheRowsBeforeIt();

private:
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("rmr.csv"));
    // `bytes` repeated `times` times, then zero bytes up to `size` as a hole
    // that takes no disk space.
    QString writeLarge(const QByteArray& bytes, qint64 times, qint64 size);
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

QString TestTableLoad::writeLarge(const QByteArray& bytes, qint64 times, qint64 size) {
    const QString path = QDir(m_dir->path()).filePath(QStringLiteral("定食.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    for (qint64 i = 0; i < times; ++i) {
        if (file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
    }
    if (size > file.size() && !file.resize(size))
        qFatal("cannot extend test file");
    return path;
}

void TestTableLoad::gigabyteOfZerosKeepsMemoryBounded() {
    const QString path = writeLarge({}, 0, GiB);
    // Where the peak cannot be reset, this test runs first and the start-up
    // peak is the baseline.
    const qint64 before = resetPeakMemory() ? memoryKb("VmRSS") : memoryKb("VmHWM");
    QVERIFY(before > 0);
    Table table;
    const auto error = loadCatching(table, path);
    const qint64 growthKb = memoryKb("VmHWM") - before;
    // The whole file would be a gigabyte; a table needs a few kilobytes.
    QVERIFY2(growthKb < 100 * 1024, qPrintable(QStringLiteral("peak grew by %1 kB").arg(growthKb)));
    QVERIFY(error);
    QCOMPARE(error->kind(), ErrorKind::Overflow);
    QCOMPARE(error->source(), path);
    QVERIFY(!error->reason().isEmpty());
}

void TestTableLoad::readsRecords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    const QString walk = QStringLiteral("散歩");
    QTest::newRow("empty file") << QByteArray() << Rows{};
    QTest::newRow("one line with CR LF") << codePage932(QStringLiteral("散歩,3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("one line without line end") << codePage932(QStringLiteral("散歩,3")) << Rows{{walk, 3}};
    QTest::newRow("record over two lines") << codePage932(QStringLiteral("散歩\r\n3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("two records on one line")
        << codePage932(QStringLiteral("散歩,3,体操,4\r\n")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("lone CR ends a line")
        << codePage932(QStringLiteral("散歩,3\r体操,4\r")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("lone LF ends a line")
        << codePage932(QStringLiteral("散歩,3\n体操,4\n")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("quoted name keeps its comma") << codePage932(QStringLiteral("\"うどん,そば\",420\r\n"))
                                                 << Rows{{QStringLiteral("うどん,そば"), 420}};
    QTest::newRow("quoted name with blanks before the comma")
        << codePage932(QStringLiteral("\" 月見 そば \"  ,380\r\n"))
        << Rows{{QStringLiteral(" 月見 そば "), 380}};
    QTest::newRow("blanks before fields skipped")
        << codePage932(QStringLiteral("  散歩,\t 3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("blanks after a value")
        << codePage932(QStringLiteral("散歩,3  \r\n体操,4")) << Rows{{walk, 3}, {QStringLiteral("体操"), 4}};
    QTest::newRow("trailing blanks of a name dropped")
        << codePage932(QStringLiteral("散歩  ,3\r\n")) << Rows{{walk, 3}};
    QTest::newRow("empty name") << codePage932(QStringLiteral(",5\r\n")) << Rows{{QString(), 5}};
    QTest::newRow("empty value reads 0") << codePage932(QStringLiteral("散歩,\r\n")) << Rows{{walk, 0}};
    QTest::newRow("2.5 rounds to even 2")
        << codePage932(QStringLiteral("a,2.5\r\n")) << Rows{{QStringLiteral("a"), 2}};
    QTest::newRow("3.5 rounds to even 4")
        << codePage932(QStringLiteral("a,3.5\r\n")) << Rows{{QStringLiteral("a"), 4}};
    QTest::newRow("negative value") << codePage932(QStringLiteral("a,-7\r\n"))
                                    << Rows{{QStringLiteral("a"), -7}};
    QTest::newRow("letters read 0") << codePage932(QStringLiteral("a,abc\r\n"))
                                    << Rows{{QStringLiteral("a"), 0}};
    QTest::newRow("16-bit limits") << codePage932(QStringLiteral("a,32767\r\nb,-32768\r\n"))
                                   << Rows{{QStringLiteral("a"), 32767}, {QStringLiteral("b"), -32768}};
    QTest::newRow("quoted value") << codePage932(QStringLiteral("\"a\",\"12\"\r\n"))
                                  << Rows{{QStringLiteral("a"), 12}};
    QTest::newRow("code page 932 backslash byte in a name")
        << codePage932(QStringLiteral("ソバ,5\r\n")) << Rows{{QStringLiteral("ソバ"), 5}};
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("散歩,3\r\n").toUtf8() << Rows{{walk, 3}};
    QTest::newRow("bad byte becomes the replacement character")
        << QByteArray("a\xA0z,1\r\n") << Rows{{QStringLiteral("a\uFFFDz"), 1}};
    QTest::newRow("lead byte cut off by the comma")
        << QByteArray("ab\x82,1\r\n") << Rows{{QStringLiteral("ab\uFFFD"), 1}};
    QTest::newRow("zero byte inside a name")
        << QByteArray("A\0B,1\r\n", 7) << Rows{{QStringLiteral("A") + QChar(0) + QStringLiteral("B"), 1}};
    QTest::newRow("name of 16 KiB loads whole")
        << QByteArray(16 * 1024, 'a') + ",1" << Rows{{QString(16 * 1024, u'a'), 1}};
    // A quote never closed swallows the rest of the file; a table's worth of
    // it is still one field.
    QTest::newRow("quoted name over 300 lines")
        << "\"" + records(300) + "\",5" << Rows{{recordsText(300), 5}};
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

// Each error of a record, and the line where that record starts.
void TestTableLoad::failures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("rowsKept");
    QTest::addColumn<int>("line");
    QTest::newRow("blank line after the last record")
        << codePage932(QStringLiteral("散歩,3\r\n\r\n")) << 62 << 1 << 2;
    QTest::newRow("name without value") << codePage932(QStringLiteral("散歩,3\r\n体操")) << 62 << 1 << 2;
    QTest::newRow("name and comma, then the end") << codePage932(QStringLiteral("散歩,")) << 62 << 0 << 1;
    QTest::newRow("blanks only after a record")
        << codePage932(QStringLiteral("散歩,3\r\n  ")) << 62 << 1 << 2;
    QTest::newRow("40000 overflows") << codePage932(QStringLiteral("散歩,3\r\n走る,40000\r\n")) << 6 << 1
                                     << 2;
    QTest::newRow("-32769 overflows") << codePage932(QStringLiteral("a,-32769\r\n")) << 6 << 0 << 1;
    QTest::newRow("1E10 overflows") << codePage932(QStringLiteral("a,1E10\r\n")) << 6 << 0 << 1;
    QTest::newRow("99999 on line 4") << records(3) + codePage932(QStringLiteral("悪い,99999\r\n")) +
                                            records(296)
                                     << 6 << 3 << 4;
    QTest::newRow("the 301st record") << records(301) << 9 << 300 << 301;
    QTest::newRow("the 301st record after blank-free lines of two records")
        << records(2).replace("\r\n", ",").repeated(150) + "x,1" << 9 << 300 << 1;
    QTest::newRow("a record over two lines: where its name is")
        << QByteArray("a,1\r\nb\r\n99999\r\n") << 6 << 1 << 2;
    QTest::newRow("line ends inside quoted names count")
        << QByteArray("\"a\r\nb\",1\r\n\"c\r\nd\",99999\r\n") << 6 << 1 << 3;
    QTest::newRow("lone CR and lone LF each end a line") << QByteArray("a,1\rb,2\nc,99999") << 6 << 2 << 3;
    // Four records of 16004 bytes, then one whose CR is the last byte of the
    // first 64 KiB read.
    QTest::newRow("CR LF split by the 64 KiB read is one line end")
        << (QByteArray(16000, 'n') + ",1\r\n").repeated(4) + "a," + QByteArray(1516, '0') + "1\r\nb,99999"
        << 6 << 5 << 6;
    QTest::newRow("UTF-16 counts its lines as well")
        << "\xFF\xFE" +
               QStringEncoder(QStringConverter::Utf16LE).encode(QStringLiteral("a,1\r\nb,2\r\nc,99999"))
        << 6 << 2 << 3;
    // A field longer than any table's: the message comes before memory runs out.
    QTest::newRow("name one byte over 16 KiB") << QByteArray(16 * 1024 + 1, 'a') + ",1" << 6 << 0 << 1;
    QTest::newRow("blanks before a value count")
        << records(2) + "a," + QByteArray(16 * 1024, ' ') + "1" << 6 << 2 << 3;
    QTest::newRow("junk after a closing quote counts")
        << "\"a\"" + QByteArray(16 * 1024, 'x') + ",1" << 6 << 0 << 1;
}

void TestTableLoad::failures() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, errorNumber);
    QFETCH(int, rowsKept);
    QFETCH(int, line);
    Table table;
    const QString path = write(bytes);
    const auto error = loadCatching(table, path);
    QVERIFY(error);
    QCOMPARE(error->number(), errorNumber);
    QCOMPARE(error->source(), path);
    QCOMPARE(error->line(), line);
    QVERIFY(errorMessage(*error).contains(
        QStringLiteral("原因: %1 の %2 行目").arg(QDir::toNativeSeparators(path)).arg(line)));
    QCOMPARE(int(table.rowCount()), rowsKept);
    if (rowsKept < Table::LastRow)
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
    write(records(3) + codePage932(QStringLiteral("悪い,99999\r\n")) + records(5));
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
    QVERIFY(errorMessage(*error).contains(QDir::toNativeSeparators(missing)));
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

// Pipes and devices are refused at the user's boundary (tst_badtablefiles);
// a link to a table file is read like the file.
void TestTableLoad::linkIsFollowedToItsFile() {
#ifndef Q_OS_UNIX
    QSKIP("a Windows shortcut is a file of its own, not a link");
#endif
    Table table;
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

// Files found when the program was tried with whatever a user might leave
// under a table's name: each ends in its error with the rows before it kept.
void TestTableLoad::badFilesEndInAClearError_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("times");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("rowsKept");

    // Random bytes hold a comma or line end every hundred bytes or so: far
    // more than 300 records of gibberish.
    QByteArray noise(100'000, Qt::Uninitialized);
    QRandomGenerator random(8);
    for (char& b : noise)
        b = char(random.bounded(256));
    QTest::newRow("random bytes") << noise << qint64(1) << qint64(0) << 9 << 300;
    QTest::newRow("50 MB of records") << codePage932(QStringLiteral("焼き魚定食,550\r\n")).repeated(64 * 1024)
                                      << qint64(50) << qint64(0) << 9 << 300;
    QTest::newRow("quote never closed")
        << codePage932(QStringLiteral("\"うどん,420\r\n散歩,3\r\n")) << qint64(1) << qint64(0) << 62 << 0;
    QTest::newRow("quote never closed before a table's worth")
        << "\"" + records(300) << qint64(1) << qint64(0) << 62 << 0;
    QTest::newRow("50 MB on one line") << QByteArray(MiB, 'a') << qint64(50) << qint64(0) << 6 << 0;
    QTest::newRow("quote never closed before 50 MB") << QByteArray("\"") << qint64(1) << 50 * MiB << 6 << 0;
    QTest::newRow("a megabyte of blanks") << QByteArray(MiB, ' ') << qint64(1) << qint64(0) << 6 << 0;
}

void TestTableLoad::badFilesEndInAClearError() {
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, times);
    QFETCH(qint64, size);
    QFETCH(int, errorNumber);
    QFETCH(int, rowsKept);
    const QString path = writeLarge(bytes, times, size);
    Table table;
    const auto error = loadCatching(table, path);
    QVERIFY(error);
    QCOMPARE(error->number(), errorNumber);
    QCOMPARE(error->source(), path);
    QVERIFY(errorMessage(*error).contains(QDir::toNativeSeparators(path)));
    QCOMPARE(int(table.rowCount()), rowsKept);
}

void TestTableLoad::recordsPastTheLimitAreNeverRead() {
    QFile file(writeLarge(records(300), 1, GiB));
    QVERIFY(file.open(QIODevice::ReadOnly));
    Table table;
    const auto error = failureOf([&] { readTable(table, file); });
    QVERIFY(error);
    QCOMPARE(error->kind(), ErrorKind::SubscriptOutOfRange);
    QCOMPARE(int(table.rowCount()), 300);
    // 300 records are a few kilobytes; reading ahead may add a little.
    QVERIFY2(file.pos() < MiB, qPrintable(QString::number(file.pos())));
}

void TestTableLoad::readFailureKeepsTheRowsBeforeIt() {
    FailingDevice device(records(3));
    Table table;
    const auto error = failureOf([&] { readTable(table, device); });
    QVERIFY(error);
    QCOMPARE(error->kind(), ErrorKind::DeviceIo);
    QCOMPARE(error->reason(), QStringLiteral("sector unreadable"));
    QCOMPARE(int(table.rowCount()), 3);
}

QTEST_GUILESS_MAIN(TestTableLoad)
#include "tst_tableload.moc"
