// SPDX-License-Identifier: GPL-3.0-or-later
// The record file: its schema and the migration from the first version,
// files it must refuse untouched, the search by ふりがな, a save killed
// half-way, a second program on the same file, the backup and the CSV.

#include "records/recordfile.h"
#include "records/visitcsv.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Runs SQL on a file directly, as another program would.
QVariant sql(const QString& path, const QStringList& statements) {
    QVariant last;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"raw"_s);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open the file");
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement))
                qFatal("%s", qPrintable(statement));
            last = query.next() ? query.value(0) : QVariant();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"raw"_s);
    return last;
}

Client person(const QString& name, const QString& furigana, const QString& number = {}) {
    Client client;
    client.name = name;
    client.furigana = furigana;
    client.birthDate = QDate(1960, 4, 2);
    client.number = number;
    return client;
}

Visit visitOn(qint64 clientId, const QDate& date, const QString& memo = {}) {
    Visit visit;
    visit.clientId = clientId;
    visit.date = date;
    visit.weightKg = 62.5;
    visit.systolic = 128;
    visit.memo = memo;
    return visit;
}

// The child of savesKilledHalfWay: saves visits with long memos, saying the
// id of each one saved, until it is killed.
int saveUntilKilled(const QString& path) {
    auto record = RecordFile::open(path);
    const QString memo(4 << 20, u'x');
    QFile out;
    out.open(stdout, QIODevice::WriteOnly);
    for (int day = 0;; ++day) {
        const qint64 id = record->saveVisit(visitOn(1, QDate(2000, 1, 1).addDays(day), memo));
        out.write(QByteArray::number(id) + '\n');
        out.flush();
    }
}

} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void migratesTheFirstVersion();
    void refusesUntouched_data();
    void refusesUntouched();
    void searchesByFuriganaOrNumber_data();
    void searchesByFuriganaOrNumber();
    void savesKilledHalfWay();
    void aSecondProgramOnlyReads();
    void backupOpensAsARecord();
    void csvReadsBackAsASpreadsheetWould();

private:
    QString file(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordFile::migratesTheFirstVersion() {
    // The first version's file, as a first ヨモリス wrote it.
    const QString path = file(u"v1.yomorisu"_s);
    sql(path, {u"CREATE TABLE clients (id INTEGER PRIMARY KEY, name TEXT NOT NULL, furigana TEXT NOT NULL "
               "DEFAULT '', furigana_key TEXT NOT NULL DEFAULT '', sex INTEGER NOT NULL DEFAULT 0, birth_date TEXT, "
               "number TEXT NOT NULL DEFAULT '', number_key TEXT NOT NULL DEFAULT '')"_s,
               u"CREATE TABLE visits (id INTEGER PRIMARY KEY, client_id INTEGER NOT NULL REFERENCES clients (id) "
               "ON DELETE CASCADE, date TEXT NOT NULL, height REAL, weight REAL, waist REAL, systolic INTEGER, "
               "diastolic INTEGER, triglycerides INTEGER, triglycerides_fasting INTEGER NOT NULL DEFAULT 1, hdl "
               "INTEGER, fasting_glucose INTEGER, casual_glucose INTEGER, hba1c REAL, smoking INTEGER NOT NULL "
               "DEFAULT 0, bp_medicine INTEGER NOT NULL DEFAULT 0, glucose_medicine INTEGER NOT NULL DEFAULT 0, "
               "lipid_medicine INTEGER NOT NULL DEFAULT 0, memo TEXT NOT NULL DEFAULT '')"_s,
               u"INSERT INTO clients (id, name, furigana, furigana_key, birth_date) VALUES (7, '山田花子', "
               "'やまだはなこ', 'やまだはなこ', '1960-04-02')"_s,
               u"INSERT INTO visits (id, client_id, date, weight, hdl) VALUES (3, 7, '2026-06-01', 58.5, 61)"_s,
               u"PRAGMA application_id = 1498239571"_s, u"PRAGMA user_version = 1"_s});
    {
        auto record = RecordFile::open(path);
        QVERIFY(!record->isReadOnly());
        QCOMPARE(record->client(7)->birthDate, QDate(1960, 4, 2));
        const QList<Visit> visits = record->visits(7);
        QCOMPARE(visits.size(), 1);
        QCOMPARE(visits[0].weightKg, 58.5);
        QCOMPARE(visits[0].hdl, 61);
        QCOMPARE(visits[0].heightCm, std::nullopt);
        record->savePlan(3, u"{\"goal\":1}"_s);
        QCOMPARE(record->plan(3), u"{\"goal\":1}"_s);
        // A client goes with their visits and plans.
        record->deleteClient(7);
        QVERIFY(record->visits(7).isEmpty());
    }
    QCOMPARE(sql(path, {u"PRAGMA user_version"_s}).toInt(), 2);
    QCOMPARE(sql(path, {u"SELECT count(*) FROM plans"_s}).toInt(), 0);
    QCOMPARE(sql(path, {u"PRAGMA journal_mode"_s}).toString(), u"delete"_s);

#ifdef Q_OS_UNIX
    // A record made new is its owner's alone.
    const QString made = file(u"new/相談記録.yomorisu"_s);
    RecordFile::open(made);
    struct stat status {};
    QCOMPARE(stat(QFile::encodeName(made).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0600u);
#endif
}

void TestRecordFile::refusesUntouched_data() {
    QTest::addColumn<QStringList>("statements"); // empty: a text file
    QTest::newRow("newer") << QStringList{u"CREATE TABLE clients (id)"_s, u"PRAGMA application_id = 1498239571"_s,
                                          u"PRAGMA user_version = 3"_s};
    QTest::newRow("another program's") << QStringList{u"CREATE TABLE clients (id)"_s, u"PRAGMA user_version = 1"_s};
    QTest::newRow("another program's in WAL")
        << QStringList{u"CREATE TABLE notes (text)"_s, u"PRAGMA journal_mode = WAL"_s};
    QTest::newRow("text") << QStringList{};
}

void TestRecordFile::refusesUntouched() {
    QFETCH(QStringList, statements);
    const QString path = file(u"other/file"_s);
    QDir().mkpath(file(u"other"_s));
    if (statements.isEmpty()) {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(5000, 'a'));
    } else {
        sql(path, statements);
    }
    const QByteArray before = bytesOf(path);
    try {
        RecordFile::open(path);
        QFAIL("opened");
    } catch (const RecordFileError& error) {
        QVERIFY2(error.message().contains(QDir::toNativeSeparators(path)), qPrintable(error.message()));
    }
    QCOMPARE(bytesOf(path), before);
    QCOMPARE(QDir(file(u"other"_s)).entryList(QDir::Files), QStringList{u"file"_s});
}

void TestRecordFile::searchesByFuriganaOrNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names");
    const QStringList takas{u"高田"_s, u"髙橋"_s};
    QTest::newRow("hiragana") << u"たか"_s << takas;
    QTest::newRow("katakana") << u"タカ"_s << takas;
    QTest::newRow("half-width") << u"ﾀｶ"_s << takas;
    QTest::newRow("longer") << u"タカハ"_s << QStringList{u"髙橋"_s};
    QTest::newRow("voiced half-width") << u"ｽｽﾞ"_s << QStringList{u"鈴木"_s};
    QTest::newRow("not inside") << u"はし"_s << QStringList{};
    QTest::newRow("number") << u"a-1"_s << QStringList{u"鈴木"_s, u"髙橋"_s};
    QTest::newRow("full-width number") << u"Ａ－１２"_s << QStringList{u"鈴木"_s};
    QTest::newRow("all") << u""_s << QStringList{u"鈴木"_s, u"高田"_s, u"髙橋"_s, u"渡辺"_s};
}

void TestRecordFile::searchesByFuriganaOrNumber() {
    QFETCH(QString, typed);
    QFETCH(QStringList, names);
    auto record = RecordFile::open(file(u"search.yomorisu"_s));
    record->saveClient(person(u"髙橋"_s, u"たかはし"_s, u"A-10"_s));
    record->saveClient(person(u"高田"_s, u"タカダ"_s));
    record->saveClient(person(u"渡辺"_s, u"わたなべ"_s));
    record->saveClient(person(u"鈴木"_s, u"すずき"_s, u"A-12"_s));
    QStringList found;
    for (const Client& client : record->search(typed))
        found << client.name;
    QCOMPARE(found, names);
}

void TestRecordFile::savesKilledHalfWay() {
    const QString path = file(u"killed.yomorisu"_s);
    {
        auto record = RecordFile::open(path);
        QCOMPARE(record->saveClient(person(u"山田"_s, u"やまだ"_s)), 1);
    }
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {u"--save-until-killed"_s, path});
    QList<qint64> saved;
    const auto readSaved = [&] {
        while (child.canReadLine())
            saved << child.readLine().trimmed().toLongLong();
    };
    while (saved.size() < 3 && child.waitForReadyRead(30000))
        readSaved();
    QVERIFY2(saved.size() >= 3, child.readAllStandardError().constData());
    // Killed while the journal of a save is there: in the middle of it.
    const QString journal = path + u"-journal"_s;
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(journal) && waited.elapsed() < 30000) {
    }
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY(QFile::exists(journal));
    readSaved();

    QCOMPARE(sql(path, {u"PRAGMA integrity_check"_s}).toString(), u"ok"_s);
    auto record = RecordFile::open(path);
    QVERIFY2(!record->isReadOnly(), qPrintable(record->readOnlyReason())); // the dead program's lock is stale
    QList<qint64> kept;
    for (const Visit& visit : record->visits(1))
        kept.prepend(visit.id);
    QCOMPARE(kept, saved); // and nothing of the save killed
}

void TestRecordFile::aSecondProgramOnlyReads() {
    const QString path = file(u"shared.yomorisu"_s);
    auto first = RecordFile::open(path);
    const qint64 id = first->saveClient(person(u"山田"_s, u"やまだ"_s));
    auto second = RecordFile::open(path);
    QVERIFY(!first->isReadOnly());
    QVERIFY(second->isReadOnly());
    QVERIFY(second->readOnlyReason().contains(u"別のヨモリスで開かれています"_s));
    QVERIFY_THROWS_EXCEPTION(RecordFileError, second->saveVisit(visitOn(id, QDate(2026, 6, 2))));
    first->saveVisit(visitOn(id, QDate(2026, 6, 1)));
    QCOMPARE(second->visits(id).size(), 1); // reads what the first saves
    second.reset();
    first.reset();
    QCOMPARE(RecordFile::open(path)->visits(id).size(), 1);
}

void TestRecordFile::backupOpensAsARecord() {
    auto record = RecordFile::open(file(u"live.yomorisu"_s));
    const qint64 id = record->saveClient(person(u"山田"_s, u"やまだ"_s));
    record->saveVisit(visitOn(id, QDate(2026, 6, 1)));
    const QString copy = file(u"backup/copy.yomorisu"_s);
    QDir().mkpath(file(u"backup"_s));
    record->backupTo(copy);
    QVERIFY_THROWS_EXCEPTION(RecordFileError, record->backupTo(copy));
    auto backup = RecordFile::open(copy);
    QCOMPARE(backup->visits(id).size(), 1);
    QCOMPARE(backup->client(id)->name, u"山田"_s);
}

void TestRecordFile::csvReadsBackAsASpreadsheetWould() {
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty())
        QSKIP("no python3 to read the file back (Windows)");
    Visit visit = visitOn(1, QDate(2026, 6, 1), u"朝食抜き, \"外食\"多め\n=週3回"_s);
    visit.triglycerides = 150;
    visit.triglyceridesFasting = false;
    visit.hba1c = 5.6;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(writeVisitsCsv(buffer, {visit, visitOn(1, QDate(2025, 12, 1))}));
    QVERIFY(buffer.data().startsWith("\xEF\xBB\xBF"));
    QCOMPARE(buffer.data().count("\r\n"), 3);

    const QString path = file(u"visits.csv"_s);
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(buffer.data());
    out.close();
    QProcess read;
    read.start(python, {u"-c"_s, u"import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, dialect='excel'))))"_s,
                        path});
    QVERIFY(read.waitForFinished());
    const QJsonArray rows = QJsonDocument::fromJson(read.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), 3);
    const QJsonArray header = rows[0].toArray();
    const QJsonArray first = rows[1].toArray();
    QCOMPARE(header[0].toString(), u"受診日"_s);
    QCOMPARE(header.size(), first.size());
    QCOMPARE(first[0].toString(), u"2026-06-01"_s);
    QCOMPARE(first[header.toVariantList().indexOf(u"体重"_s)].toString(), u"62.5"_s);
    QCOMPARE(first[header.toVariantList().indexOf(u"中性脂肪"_s)].toString(), u"150"_s);
    QCOMPARE(first[header.toVariantList().indexOf(u"HbA1c"_s)].toString(), u"5.6"_s);
    QCOMPARE(first.last().toString(), u"朝食抜き, \"外食\"多め\n=週3回"_s);
    QCOMPARE(rows[2].toArray()[0].toString(), u"2025-12-01"_s);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--save-until-killed")
        return saveUntilKilled(QString::fromLocal8Bit(argv[2]));
    TestRecordFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recordfile.moc"
