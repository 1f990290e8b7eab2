// SPDX-License-Identifier: GPL-3.0-or-later
// The record file: its schema and the migration from the first version,
// files it must refuse untouched, the search by ふりがな, a save killed
// half-way, a second program on the same file, the backup and the CSV.

#include "records/recordfile.h"
#include "records/visitcsv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
        db.open();
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement))
                qFatal("%s", qPrintable(statement));
            last = query.next() ? query.value(0) : QVariant();
        }
    }
    QSqlDatabase::removeDatabase(u"raw"_s);
    return last;
}

Client person(const QString& name, const QString& furigana, const QString& number = {}) {
    return {0, name, furigana, Sex::Male, QDate(1960, 4, 2), number};
}

Visit visitOn(qint64 clientId, const QDate& date, const QString& memo = {}) {
    Visit visit;
    visit.clientId = clientId;
    visit.date = date;
    visit.weightKg = 62.5;
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
    void init() { QVERIFY((m_dir = std::make_unique<QTemporaryDir>())->isValid()); }
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
    // A first version's file: the record without the action plans.
    const QString path = file(u"v1.yomorisu"_s);
    Visit visit = visitOn(0, QDate(2026, 6, 1));
    {
        auto record = RecordFile::open(path);
        visit.clientId = record->saveClient(person(u"山田花子"_s, u"やまだはなこ"_s));
        visit.id = record->saveVisit(visit);
    }
    sql(path, {u"DROP TABLE plans"_s, u"PRAGMA user_version = 1"_s});
    {
        auto record = RecordFile::open(path);
        const QList<Visit> visits = record->visits(visit.clientId);
        QCOMPARE(visits.size(), 1);
        QCOMPARE(visits[0].weightKg, 62.5);
        QCOMPARE(visits[0].heightCm, std::nullopt);
        record->savePlan(visit.id, u"{\"goal\":1}"_s);
        QCOMPARE(record->plan(visit.id), u"{\"goal\":1}"_s);
        // A client goes with their visits and plans.
        record->deleteClient(visit.clientId);
        QVERIFY(record->visits(visit.clientId).isEmpty());
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
    QTest::newRow("newer") << QStringList{u"CREATE TABLE clients (id)"_s,
                                          u"PRAGMA application_id = 1498239571"_s,
                                          u"PRAGMA user_version = 3"_s};
    QTest::newRow("another program's")
        << QStringList{u"CREATE TABLE clients (id)"_s, u"PRAGMA user_version = 1"_s};
    QTest::newRow("another program's in WAL")
        << QStringList{u"CREATE TABLE notes (text)"_s, u"PRAGMA journal_mode = WAL"_s};
    QTest::newRow("text") << QStringList{};
}

void TestRecordFile::refusesUntouched() {
    QFETCH(QStringList, statements);
    const QString path = file(u"other/file"_s);
    QDir().mkpath(file(u"other"_s));
    QFile text(path);
    if (statements.isEmpty())
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write(QByteArray(5000, 'a')) == 5000);
    else
        sql(path, statements);
    text.close();
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
    QVERIFY2(!record->isReadOnly(),
             qPrintable(record->readOnlyReason())); // the dead program's lock is stale
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
    Visit visit = visitOn(1, QDate(2026, 6, 1), u"朝食抜き, \"外食\"多め\n=週3回"_s);
    visit.triglycerides = 150;
    visit.triglyceridesFasting = false;
    visit.hba1c = 5.6;
    const QString path = file(u"visits.csv"_s);
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly) && writeVisitsCsv(out, {visit, visitOn(1, QDate(2025, 12, 1))}));
    out.close();
    QVERIFY(bytesOf(path).startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytesOf(path).count("\r\n"), 3);
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty())
        QSKIP("no python3 to read the file back (Windows)");
    QProcess read;
    read.start(python, {u"-c"_s,
                        u"import csv, json, sys\n"
                        "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                        "    print(json.dumps(list(csv.DictReader(f, dialect='excel'))))"_s,
                        path});
    QVERIFY(read.waitForFinished());
    const QJsonArray rows = QJsonDocument::fromJson(read.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), 2);
    const QJsonObject first = rows[0].toObject();
    const QList<std::pair<QString, QString>> wanted{
        {u"受診日"_s, u"2026-06-01"_s},   {u"身長"_s, u""_s},
        {u"体重"_s, u"62.5"_s},           {u"中性脂肪"_s, u"150"_s},
        {u"中性脂肪の採血"_s, u"随時"_s}, {u"HbA1c"_s, u"5.6"_s},
        {u"メモ"_s, visit.memo}};
    for (const auto& [column, value] : wanted)
        QCOMPARE(first[column].toString(), value);
    QCOMPARE(rows[1].toObject()[u"受診日"_s].toString(), u"2025-12-01"_s);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--save-until-killed")
        return saveUntilKilled(QString::fromLocal8Bit(argv[2]));
    TestRecordFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recordfile.moc"
