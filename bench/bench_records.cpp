// SPDX-License-Identifier: GPL-3.0-or-later
// The record file at a clinic's scale, 10,000 clients with 20 visits each:
// opening it, a search by ふりがな and one client's visits, against the same
// queries in the sqlite3 shell. Goal: each within 100 ms. Run by hand:
//   build/bench/bench_records
#include "records/kana.h"
#include "records/recordfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int clientCount = 10000;
constexpr int visitsEach = 20;
constexpr int runs = 21;

// Made-up people: kana syllables, half of the ふりがな in katakana.
void fill(const QString& path) {
    RecordFile::open(path); // the schema
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    db.setDatabaseName(path);
    if (!db.open())
        qFatal("cannot open the record");
    const QString syllables = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ");
    QRandomGenerator random(38);
    QSqlQuery(db).exec(QStringLiteral("BEGIN"));
    QSqlQuery client(db);
    client.prepare(
        QStringLiteral("INSERT INTO clients (id, name, furigana, furigana_key, birth_date, number, "
                       "number_key) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    QSqlQuery visit(db);
    visit.prepare(
        QStringLiteral("INSERT INTO visits (client_id, date, height, weight, waist, systolic, diastolic, "
                       "hba1c, memo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int id = 1; id <= clientCount; ++id) {
        QString furigana;
        for (int k = 0, n = 3 + random.bounded(4); k < n; ++k)
            furigana += syllables.at(random.bounded(syllables.size()));
        if (id % 2 == 0)
            for (QChar& c : furigana)
                c = QChar(char16_t(c.unicode() + 0x60));
        const QString number = QStringLiteral("A%1").arg(id, 5, 10, QLatin1Char('0'));
        for (const QVariant& value :
             {QVariant(id), QVariant(QStringLiteral("相談者%1").arg(id)), QVariant(furigana),
              QVariant(foldKana(furigana)), QVariant(QStringLiteral("1960-04-02")), QVariant(number),
              QVariant(foldKana(number))})
            client.addBindValue(value);
        if (!client.exec())
            qFatal("cannot insert a client");
        for (int k = 0; k < visitsEach; ++k) {
            for (const QVariant& value :
                 {QVariant(id), QVariant(QDate(2020, 1, 6).addDays(91 * k).toString(Qt::ISODate)),
                  QVariant(165.0), QVariant(60.0 + random.bounded(20)), QVariant(80.0 + random.bounded(20)),
                  QVariant(120 + random.bounded(30)), QVariant(80), QVariant(5.6),
                  QVariant(QStringLiteral("食事の記録"))})
                visit.addBindValue(value);
            if (!visit.exec())
                qFatal("cannot insert a visit");
        }
    }
    QSqlQuery(db).exec(QStringLiteral("COMMIT"));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

double medianMs(const std::function<void()>& step) {
    QList<qint64> times;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer timer;
        timer.start();
        step();
        times << timer.nsecsElapsed();
    }
    std::sort(times.begin(), times.end());
    return double(times[runs / 2]) / 1e6;
}

// The sqlite3 shell on the same query: the whole process (opening the file
// included) and the query alone by its own timer, in ms.
std::pair<double, double> shellMs(const QString& shell, const QString& path, const QString& sql) {
    QList<qint64> whole;
    QList<double> query;
    for (int k = 0; k < runs; ++k) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(shell, {QStringLiteral("-readonly"), path});
        process.write(
            (QStringLiteral(".output /dev/null\n.timer on\n") + sql + QStringLiteral(";\n")).toUtf8());
        process.closeWriteChannel();
        process.waitForFinished();
        whole << timer.nsecsElapsed();
        // "Run Time: real 0.002 user ..."
        const QByteArray out = process.readAllStandardOutput() + process.readAllStandardError();
        const qsizetype at = out.lastIndexOf("real ");
        query << (at < 0 ? -1 : out.mid(at + 5, out.indexOf(' ', at + 5) - at - 5).toDouble() * 1000);
    }
    std::sort(whole.begin(), whole.end());
    std::sort(query.begin(), query.end());
    return {double(whole[runs / 2]) / 1e6, query[runs / 2]};
}

void report(const char* what, double ms, const std::pair<double, double>& shell) {
    std::printf("records %s: %.2f ms, ratio %.3f to 100 ms; sqlite3 shell %.2f ms whole, %.3f ms the query\n",
                what, ms, ms / 100, shell.first, shell.second);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("相談記録.yomorisu"));
    QElapsedTimer filling;
    filling.start();
    fill(path);
    std::printf("records: %d clients with %d visits each made in %.1f s\n", clientCount, visitsEach,
                double(filling.elapsed()) / 1000);
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        qFatal("no sqlite3 shell (apt package sqlite3)");

    const double open = medianMs([&] { RecordFile::open(path); });
    auto record = RecordFile::open(path);
    // The first kana typed finds the most; the second narrows it.
    QList<std::pair<QString, double>> searches;
    QList<qsizetype> found;
    for (const QString& typed : {QStringLiteral("タ"), QStringLiteral("タカ")}) {
        searches.append({typed, medianMs([&] { record->search(typed); })});
        found.append(record->search(typed).size());
    }
    const double visits = medianMs([&] { record->visits(clientCount / 2); });
    const qsizetype seen = record->visits(clientCount / 2).size();
    record.reset();

    report("open", open, shellMs(shell, path, QStringLiteral("PRAGMA user_version")));
    for (int k = 0; k < searches.size(); ++k) {
        const QString key = foldKana(searches[k].first);
        const QString what =
            QStringLiteral("search by furigana \"%1\" (%2 found)").arg(searches[k].first).arg(found[k]);
        report(
            what.toUtf8().constData(), searches[k].second,
            shellMs(shell, path,
                    QStringLiteral("SELECT * FROM clients WHERE furigana_key >= '%1' AND furigana_key < '%1' "
                                   "|| char(1114111) ORDER BY furigana_key, number_key, id")
                        .arg(key)));
    }
    const QString what = QStringLiteral("one client's visits (%1)").arg(seen);
    report(what.toUtf8().constData(), visits,
           shellMs(shell, path,
                   QStringLiteral("SELECT * FROM visits WHERE client_id = %1 ORDER BY date DESC, id DESC")
                       .arg(clientCount / 2)));
    return 0;
}
