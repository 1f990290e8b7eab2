// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The counsellor's record: one SQLite file holding the clients, their visits
// and the action plans kept with a visit.

#include "records/record.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

// Thrown by RecordFile. The message names the file and the reason, in
// Japanese, and never a person's data; what() holds the same text in UTF-8.
class RecordFileError : public std::runtime_error {
public:
    explicit RecordFileError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

class QLockFile;
class QSqlDatabase;

// A record file open for the program's use. Every change is one transaction.
// Used from the thread that opened it (a Qt SQL connection's rule).
class RecordFile {
public:
    // Opens the record at `path`, making it (and its folder) when it does not
    // exist. Throws RecordFileError when the file is no record, was written by
    // a newer ヨモリス, is damaged, or cannot be opened. When another ヨモリス
    // has it open, or the file or its folder is read-only, it opens read-only
    // and readOnlyReason() says why.
    static std::unique_ptr<RecordFile> open(const QString& path);
    ~RecordFile(); // closes, releases the lock

    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    QString path() const { return m_path; }
    bool isReadOnly() const { return !m_readOnlyReason.isEmpty(); }
    QString readOnlyReason() const { return m_readOnlyReason; } // empty when writable

    QList<Client> clients() const;                   // all, by ふりがな (kana-folded), then 番号
    QList<Client> search(const QString& text) const; // ふりがな prefix in either kana, or 番号 prefix
    std::optional<Client> client(qint64 id) const;
    qint64 saveClient(const Client& client); // id 0 inserts; returns the id
    void deleteClient(qint64 id);            // with all of their visits and plans

    QList<Visit> visits(qint64 clientId) const; // newest 受診日 first
    qint64 saveVisit(const Visit& visit);       // id 0 inserts; returns the id
    void deleteVisit(qint64 id);

    std::optional<QString> plan(qint64 visitId) const; // the action plan kept with a visit (JSON text)
    void savePlan(qint64 visitId, const QString& json);
    void removePlan(qint64 visitId);

    // A consistent copy of the whole record (VACUUM INTO); refuses a path
    // where a file already is.
    void backupTo(const QString& path) const;

    // The schema version this program writes (PRAGMA user_version).
    static constexpr int schemaVersion = 2;

private:
    explicit RecordFile(QString path);
    void checkWritable() const;
    QSqlDatabase database() const;
    // Deletes the rows of `statement` (one bound id) in a transaction of its own.
    void deleteWhere(const QString& statement, qint64 id);

    QString m_path;
    QString m_connection; // the QSqlDatabase connection's unique name
    QString m_readOnlyReason;
    int m_version = 0;                 // the file's schema version
    std::unique_ptr<QLockFile> m_lock; // held while writable
};
