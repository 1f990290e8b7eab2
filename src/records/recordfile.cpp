// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/recordfile.h"

#include "records/kana.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// "YMRS" in the header's application id: a record is known as one before
// any table is read.
constexpr qint64 applicationId = 0x594D5253;

QString shownName(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The reason SQLite gave. It names tables and constraints, never values.
QString reasonOf(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return text.isEmpty() ? QStringLiteral("不明なエラー") : text;
}

const QString clientColumns = QStringLiteral("id, name, furigana, sex, birth_date, number");
const QString visitColumns = QStringLiteral(
    "id, client_id, date, height, weight, waist, systolic, diastolic, triglycerides, triglycerides_fasting, "
    "hdl, fasting_glucose, casual_glucose, hba1c, smoking, bp_medicine, glucose_medicine, lipid_medicine, "
    "memo");

// Version 1: the clients and their visits. The keys hold the folded
// ふりがな and 番号 that lists are sorted and searched by.
const char* const schemaVersion1[] = {
    "CREATE TABLE clients ("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " furigana TEXT NOT NULL DEFAULT '',"
    " furigana_key TEXT NOT NULL DEFAULT '',"
    " sex INTEGER NOT NULL DEFAULT 0,"
    " birth_date TEXT,"
    " number TEXT NOT NULL DEFAULT '',"
    " number_key TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX clients_by_furigana ON clients (furigana_key, number_key)",
    "CREATE INDEX clients_by_number ON clients (number_key)",
    "CREATE TABLE visits ("
    " id INTEGER PRIMARY KEY,"
    " client_id INTEGER NOT NULL REFERENCES clients (id) ON DELETE CASCADE,"
    " date TEXT NOT NULL,"
    " height REAL, weight REAL, waist REAL,"
    " systolic INTEGER, diastolic INTEGER,"
    " triglycerides INTEGER, triglycerides_fasting INTEGER NOT NULL DEFAULT 1,"
    " hdl INTEGER, fasting_glucose INTEGER, casual_glucose INTEGER, hba1c REAL,"
    " smoking INTEGER NOT NULL DEFAULT 0,"
    " bp_medicine INTEGER NOT NULL DEFAULT 0,"
    " glucose_medicine INTEGER NOT NULL DEFAULT 0,"
    " lipid_medicine INTEGER NOT NULL DEFAULT 0,"
    " memo TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX visits_by_client ON visits (client_id, date)",
};

// Version 2: the action plan kept with a visit.
const char* const schemaVersion2[] = {
    "CREATE TABLE plans ("
    " visit_id INTEGER PRIMARY KEY REFERENCES visits (id) ON DELETE CASCADE,"
    " plan TEXT NOT NULL)",
};

QVariant optionalValue(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

QVariant optionalValue(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant();
}

std::optional<double> optionalDouble(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

// Qt binds a null QString as NULL; the columns hold text, empty or not.
QString text(const QString& value) {
    return value.isNull() ? QStringLiteral("") : value;
}

std::optional<int> optionalInt(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

QVariant dateValue(const QDate& date) {
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
}

QDate dateOf(const QVariant& value) {
    return value.isNull() ? QDate() : QDate::fromString(value.toString(), Qt::ISODate);
}

Client clientOf(const QSqlQuery& query) {
    Client client;
    client.id = query.value(0).toLongLong();
    client.name = query.value(1).toString();
    client.furigana = query.value(2).toString();
    client.sex = query.value(3).toInt() == 1 ? Sex::Female : Sex::Male;
    client.birthDate = dateOf(query.value(4));
    client.number = query.value(5).toString();
    return client;
}

Visit visitOf(const QSqlQuery& query) {
    Visit visit;
    visit.id = query.value(0).toLongLong();
    visit.clientId = query.value(1).toLongLong();
    visit.date = dateOf(query.value(2));
    visit.heightCm = optionalDouble(query.value(3));
    visit.weightKg = optionalDouble(query.value(4));
    visit.waistCm = optionalDouble(query.value(5));
    visit.systolic = optionalInt(query.value(6));
    visit.diastolic = optionalInt(query.value(7));
    visit.triglycerides = optionalInt(query.value(8));
    visit.triglyceridesFasting = query.value(9).toBool();
    visit.hdl = optionalInt(query.value(10));
    visit.fastingGlucose = optionalInt(query.value(11));
    visit.casualGlucose = optionalInt(query.value(12));
    visit.hba1c = optionalDouble(query.value(13));
    visit.smoking = query.value(14).toBool();
    visit.bloodPressureMedicine = query.value(15).toBool();
    visit.glucoseMedicine = query.value(16).toBool();
    visit.lipidMedicine = query.value(17).toBool();
    visit.memo = query.value(18).toString();
    return visit;
}

// The end of the range of keys that start with `prefix`: no key has a
// character above U+10FFFF, so every such key sorts below it.
QString prefixEnd(const QString& prefix) {
    return prefix + QString::fromUcs4(U"\U0010FFFF");
}

int connectionCount = 0;

} // namespace

RecordFileError::RecordFileError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

RecordFile::RecordFile(QString path)
    : m_path(std::move(path)), m_connection(QStringLiteral("yomorisu-record-%1").arg(++connectionCount)) {}

RecordFile::~RecordFile() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

namespace {

RecordFileError readWriteError(const QString& path, const QSqlQuery& query) {
    return RecordFileError(QStringLiteral("相談記録「%1」を読み書きできませんでした。（%2）")
                               .arg(shownName(path), reasonOf(query.lastError())));
}

// Runs one statement, or throws with the file's name and what SQLite said.
void run(QSqlQuery& query, const QString& path) {
    if (!query.exec())
        throw readWriteError(path, query);
}

void run(const QSqlDatabase& db, const QString& statement, const QString& path) {
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw readWriteError(path, query);
}

// Refuses a file that is no record or a newer one. The SQLite header holds
// user_version at byte 60 and application_id at byte 68, big-endian.
void checkHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw RecordFileError(QStringLiteral("相談記録「%1」を開けませんでした。（%2）")
                                  .arg(shownName(path), file.errorString()));
    }
    const QByteArray header = file.read(100);
    const auto number = [&](int at) {
        return qint64(quint8(header[at])) << 24 | quint8(header[at + 1]) << 16 | quint8(header[at + 2]) << 8 |
               quint8(header[at + 3]);
    };
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")) ||
        number(68) != applicationId || number(60) < 1) {
        throw RecordFileError(QStringLiteral("「%1」は相談記録ではありません。").arg(shownName(path)));
    }
    if (number(60) > RecordFile::schemaVersion) {
        throw RecordFileError(
            QStringLiteral("「%1」は新しいヨモリスで作られた相談記録です。このヨモリスでは開けません。")
                .arg(shownName(path)));
    }
}

qint64 pragmaNumber(const QSqlDatabase& db, const QString& pragma, const QString& path) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA ") + pragma) || !query.next()) {
        throw RecordFileError(QStringLiteral("「%1」は相談記録ではありません。（%2）")
                                  .arg(shownName(path), reasonOf(query.lastError())));
    }
    return query.value(0).toLongLong();
}

// One write: BEGIN IMMEDIATE takes the write lock at once, so a reader's
// lock makes it wait (the busy timeout) rather than fail half-way.
class Transaction {
public:
    Transaction(QSqlDatabase db, const QString& path) : m_db(std::move(db)), m_path(path) {
        run(m_db, QStringLiteral("BEGIN IMMEDIATE"), m_path);
    }
    ~Transaction() {
        if (!m_done) {
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        run(m_db, QStringLiteral("COMMIT"), m_path);
        m_done = true;
    }

private:
    QSqlDatabase m_db;
    QString m_path;
    bool m_done = false;
};

// Runs a prepared INSERT (id 0) or UPDATE of the row `id` and commits; the
// row's id. An UPDATE that finds no row: someone deleted it meanwhile, and
// `gone` says what was to be saved.
qint64 saveRow(QSqlQuery& query, Transaction& transaction, qint64 id, const QString& gone,
               const QString& path) {
    run(query, path);
    if (id != 0 && query.numRowsAffected() != 1) {
        throw RecordFileError(
            QStringLiteral("相談記録「%1」に、%2（削除されています）。").arg(shownName(path), gone));
    }
    const qint64 saved = id == 0 ? query.lastInsertId().toLongLong() : id;
    transaction.commit();
    return saved;
}

// Opens a connection named `name` on `path`; read-only never writes the file.
QSqlDatabase connect(const QString& name, const QString& path, bool readOnly) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid()) {
        throw RecordFileError(QStringLiteral("相談記録「%1」を開けません。SQLite のドライバーがありません。")
                                  .arg(shownName(path)));
    }
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (readOnly) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    }
    db.setConnectOptions(options);
    if (!db.open()) {
        throw RecordFileError(QStringLiteral("相談記録「%1」を開けませんでした。（%2）")
                                  .arg(shownName(path), reasonOf(db.lastError())));
    }
    return db;
}

} // namespace

std::unique_ptr<RecordFile> RecordFile::open(const QString& path) {
    std::unique_ptr<RecordFile> file(new RecordFile(QFileInfo(path).absoluteFilePath()));
    const QString& at = file->m_path;
    const QFileInfo info(at);
    // An empty file holds nothing to keep: one left by a first start that
    // stopped before its first save is made a record.
    const bool exists = info.exists() && info.size() > 0;
    if (info.exists() && !info.isFile()) {
        throw RecordFileError(QStringLiteral("「%1」はファイルではありません。").arg(shownName(at)));
    }
    if (!exists && !QDir().mkpath(info.absolutePath())) {
        throw RecordFileError(QStringLiteral("相談記録のフォルダー「%1」を作れませんでした。")
                                  .arg(shownName(info.absolutePath())));
    }

    if (exists) {
        // Known as a record from its header before SQLite opens it, which
        // could write beside it (a journal, a WAL's index).
        checkHeader(at);
    } else {
        // Readable by its owner alone, and so is SQLite's journal, which
        // takes the file's permissions.
        QFile made(at);
        if (!made.open(QIODevice::WriteOnly | (info.exists() ? QIODevice::Append : QIODevice::NewOnly))) {
            throw RecordFileError(QStringLiteral("相談記録「%1」を作れませんでした。（%2）")
                                      .arg(shownName(at), made.errorString()));
        }
        made.close();
        made.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    if (exists && !info.isWritable()) {
        file->m_readOnlyReason =
            QStringLiteral("「%1」は書き込みできないファイルです。読むだけにします。").arg(shownName(at));
    } else if (!QFileInfo(info.absolutePath()).isWritable()) {
        file->m_readOnlyReason =
            QStringLiteral("「%1」のフォルダーには書き込みできません。読むだけにします。").arg(shownName(at));
    } else {
        // A second ヨモリス on the same file (here or on a shared folder)
        // only reads. A lock left by a process that died is taken over.
        file->m_lock = std::make_unique<QLockFile>(at + QStringLiteral(".lock"));
        // The lock is held for hours; only a dead owner makes it stale.
        file->m_lock->setStaleLockTime(0);
        if (!file->m_lock->tryLock(0)) {
            file->m_readOnlyReason =
                file->m_lock->error() == QLockFile::LockFailedError
                    ? QStringLiteral("「%1」は別のヨモリスで開かれています。読むだけにします。")
                          .arg(shownName(at))
                    : QStringLiteral("「%1」の使用中の印を置けません。読むだけにします。").arg(shownName(at));
            file->m_lock.reset();
        }
    }

    QSqlDatabase db = connect(file->m_connection, at, file->isReadOnly());
    run(db, QStringLiteral("PRAGMA foreign_keys = ON"), at);
    // Read again through SQLite: a migration stopped half-way is rolled back.
    int version = int(pragmaNumber(db, QStringLiteral("user_version"), at));
    if (file->isReadOnly()) {
        file->m_version = version;
        return file;
    }
    // Not WAL: its shared memory does not work on a shared folder.
    run(db, QStringLiteral("PRAGMA journal_mode = DELETE"), at);
    run(db, QStringLiteral("PRAGMA synchronous = FULL"), at);

    if (version < schemaVersion) {
        Transaction transaction(db, at);
        if (version < 1) {
            for (const char* statement : schemaVersion1) {
                run(db, QString::fromLatin1(statement), at);
            }
            run(db, QStringLiteral("PRAGMA application_id = %1").arg(applicationId), at);
        }
        if (version < 2) {
            for (const char* statement : schemaVersion2) {
                run(db, QString::fromLatin1(statement), at);
            }
        }
        run(db, QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion), at);
        transaction.commit();
        version = schemaVersion;
    }
    file->m_version = version;
    return file;
}

QSqlDatabase RecordFile::database() const {
    return QSqlDatabase::database(m_connection, false);
}

void RecordFile::checkWritable() const {
    if (isReadOnly()) {
        throw RecordFileError(QStringLiteral("相談記録「%1」は読むだけで開いています。保存できません。")
                                  .arg(shownName(m_path)));
    }
}

QList<Client> RecordFile::clients() const {
    QSqlQuery query(database());
    query.prepare(
        QStringLiteral("SELECT %1 FROM clients ORDER BY furigana_key, number_key, id").arg(clientColumns));
    run(query, m_path);
    QList<Client> all;
    while (query.next()) {
        all.append(clientOf(query));
    }
    return all;
}

QList<Client> RecordFile::search(const QString& text) const {
    const QString key = foldKana(text);
    if (key.isEmpty()) {
        return clients();
    }
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM clients"
                                 " WHERE (furigana_key >= :key AND furigana_key < :end)"
                                 " OR (number_key >= :key AND number_key < :end)"
                                 " ORDER BY furigana_key, number_key, id")
                      .arg(clientColumns));
    query.bindValue(QStringLiteral(":key"), key);
    query.bindValue(QStringLiteral(":end"), prefixEnd(key));
    run(query, m_path);
    QList<Client> found;
    while (query.next()) {
        found.append(clientOf(query));
    }
    return found;
}

std::optional<Client> RecordFile::client(qint64 id) const {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM clients WHERE id = ?").arg(clientColumns));
    query.addBindValue(id);
    run(query, m_path);
    if (!query.next()) {
        return std::nullopt;
    }
    return clientOf(query);
}

qint64 RecordFile::saveClient(const Client& client) {
    checkWritable();
    QSqlDatabase db = database();
    Transaction transaction(db, m_path);
    QSqlQuery query(db);
    if (client.id == 0) {
        query.prepare(
            QStringLiteral("INSERT INTO clients (name, furigana, furigana_key, sex, birth_date, number, "
                           "number_key) VALUES (:name, :furigana, :furigana_key, :sex, :birth_date, "
                           ":number, :number_key)"));
    } else {
        query.prepare(QStringLiteral("UPDATE clients SET name = :name, furigana = :furigana, furigana_key = "
                                     ":furigana_key, sex = :sex, birth_date = :birth_date, number = :number, "
                                     "number_key = :number_key WHERE id = :id"));
        query.bindValue(QStringLiteral(":id"), client.id);
    }
    query.bindValue(QStringLiteral(":name"), text(client.name));
    query.bindValue(QStringLiteral(":furigana"), text(client.furigana));
    query.bindValue(QStringLiteral(":furigana_key"), text(foldKana(client.furigana)));
    query.bindValue(QStringLiteral(":sex"), client.sex == Sex::Female ? 1 : 0);
    query.bindValue(QStringLiteral(":birth_date"), dateValue(client.birthDate));
    query.bindValue(QStringLiteral(":number"), text(client.number));
    query.bindValue(QStringLiteral(":number_key"), text(foldKana(client.number)));
    return saveRow(query, transaction, client.id, QStringLiteral("保存する相談者がいません"), m_path);
}

void RecordFile::deleteClient(qint64 id) {
    // Their visits and plans go with them (ON DELETE CASCADE).
    deleteWhere(QStringLiteral("DELETE FROM clients WHERE id = ?"), id);
}

QList<Visit> RecordFile::visits(qint64 clientId) const {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM visits WHERE client_id = ? ORDER BY date DESC, id DESC")
                      .arg(visitColumns));
    query.addBindValue(clientId);
    run(query, m_path);
    QList<Visit> all;
    while (query.next()) {
        all.append(visitOf(query));
    }
    return all;
}

qint64 RecordFile::saveVisit(const Visit& visit) {
    checkWritable();
    QSqlDatabase db = database();
    Transaction transaction(db, m_path);
    QSqlQuery query(db);
    if (visit.id == 0) {
        query.prepare(QStringLiteral(
            "INSERT INTO visits (client_id, date, height, weight, waist, systolic, diastolic, triglycerides, "
            "triglycerides_fasting, hdl, fasting_glucose, casual_glucose, hba1c, smoking, bp_medicine, "
            "glucose_medicine, lipid_medicine, memo) VALUES (:client_id, :date, :height, :weight, :waist, "
            ":systolic, :diastolic, :triglycerides, :triglycerides_fasting, :hdl, :fasting_glucose, "
            ":casual_glucose, :hba1c, :smoking, :bp_medicine, :glucose_medicine, :lipid_medicine, :memo)"));
    } else {
        query.prepare(QStringLiteral(
            "UPDATE visits SET client_id = :client_id, date = :date, height = :height, weight = :weight, "
            "waist = "
            ":waist, systolic = :systolic, diastolic = :diastolic, triglycerides = :triglycerides, "
            "triglycerides_fasting = :triglycerides_fasting, hdl = :hdl, fasting_glucose = :fasting_glucose, "
            "casual_glucose = :casual_glucose, hba1c = :hba1c, smoking = :smoking, bp_medicine = "
            ":bp_medicine, "
            "glucose_medicine = :glucose_medicine, lipid_medicine = :lipid_medicine, memo = :memo WHERE id = "
            ":id"));
        query.bindValue(QStringLiteral(":id"), visit.id);
    }
    query.bindValue(QStringLiteral(":client_id"), visit.clientId);
    query.bindValue(QStringLiteral(":date"), dateValue(visit.date));
    query.bindValue(QStringLiteral(":height"), optionalValue(visit.heightCm));
    query.bindValue(QStringLiteral(":weight"), optionalValue(visit.weightKg));
    query.bindValue(QStringLiteral(":waist"), optionalValue(visit.waistCm));
    query.bindValue(QStringLiteral(":systolic"), optionalValue(visit.systolic));
    query.bindValue(QStringLiteral(":diastolic"), optionalValue(visit.diastolic));
    query.bindValue(QStringLiteral(":triglycerides"), optionalValue(visit.triglycerides));
    query.bindValue(QStringLiteral(":triglycerides_fasting"), visit.triglyceridesFasting ? 1 : 0);
    query.bindValue(QStringLiteral(":hdl"), optionalValue(visit.hdl));
    query.bindValue(QStringLiteral(":fasting_glucose"), optionalValue(visit.fastingGlucose));
    query.bindValue(QStringLiteral(":casual_glucose"), optionalValue(visit.casualGlucose));
    query.bindValue(QStringLiteral(":hba1c"), optionalValue(visit.hba1c));
    query.bindValue(QStringLiteral(":smoking"), visit.smoking ? 1 : 0);
    query.bindValue(QStringLiteral(":bp_medicine"), visit.bloodPressureMedicine ? 1 : 0);
    query.bindValue(QStringLiteral(":glucose_medicine"), visit.glucoseMedicine ? 1 : 0);
    query.bindValue(QStringLiteral(":lipid_medicine"), visit.lipidMedicine ? 1 : 0);
    query.bindValue(QStringLiteral(":memo"), text(visit.memo));
    return saveRow(query, transaction, visit.id, QStringLiteral("保存する記録がありません"), m_path);
}

void RecordFile::deleteVisit(qint64 id) {
    deleteWhere(QStringLiteral("DELETE FROM visits WHERE id = ?"), id);
}

std::optional<QString> RecordFile::plan(qint64 visitId) const {
    if (m_version < 2) {
        return std::nullopt; // a first-version record opened read-only
    }
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT plan FROM plans WHERE visit_id = ?"));
    query.addBindValue(visitId);
    run(query, m_path);
    if (!query.next()) {
        return std::nullopt;
    }
    return query.value(0).toString();
}

void RecordFile::savePlan(qint64 visitId, const QString& json) {
    checkWritable();
    QSqlDatabase db = database();
    Transaction transaction(db, m_path);
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO plans (visit_id, plan) VALUES (?, ?) ON CONFLICT (visit_id) DO "
                                 "UPDATE SET plan = excluded.plan"));
    query.addBindValue(visitId);
    query.addBindValue(text(json));
    run(query, m_path);
    transaction.commit();
}

void RecordFile::removePlan(qint64 visitId) {
    deleteWhere(QStringLiteral("DELETE FROM plans WHERE visit_id = ?"), visitId);
}

void RecordFile::deleteWhere(const QString& statement, qint64 id) {
    checkWritable();
    QSqlDatabase db = database();
    Transaction transaction(db, m_path);
    QSqlQuery query(db);
    query.prepare(statement);
    query.addBindValue(id);
    run(query, m_path);
    transaction.commit();
}

void RecordFile::backupTo(const QString& path) const {
    const QString target = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(target)) {
        throw RecordFileError(QStringLiteral("「%1」はもうあります。バックアップは新しいファイルに取ります。")
                                  .arg(shownName(target)));
    }
    QSqlQuery query(database());
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(target);
    if (!query.exec()) {
        throw RecordFileError(QStringLiteral("バックアップ「%1」を作れませんでした。（%2）")
                                  .arg(shownName(target), reasonOf(query.lastError())));
    }
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
