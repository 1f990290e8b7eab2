// SPDX-License-Identifier: GPL-3.0-or-later
// The first start of an installed program: samples go into the documents
// folder where the user has none, and nothing of the user's is touched.

#include "common/datafolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(cannot open " + path.toUtf8() + ")";
    return file.readAll();
}

// Every path below `folder` with its content ("/" for a folder, "-> x" for a
// link), so two trees compare in one QCOMPARE.
QMap<QString, QByteArray> tree(const QString& folder) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = QDir(folder).relativeFilePath(path);
        if (info.isSymLink())
            entries.insert(name, "-> " + info.symLinkTarget().toUtf8());
        else if (info.isDir())
            entries.insert(name, "/");
        else
            entries.insert(name, readFile(path));
    }
    return entries;
}

// Code page 932 bytes, CR LF, as the real tables have them.
const QByteArray exercises = "\x8e\x55\x95\xe0,2\r\n\x91\xac\x95\xe0,5\r\n";
const QByteArray meals = "\x92\xa9\x90\x48,550\r\n";

} // namespace

class TestSamples : public QObject {
    Q_OBJECT
private slots:
    void init();

    void fillsAFreshDocumentsFolder();
    void copiesTakeTheUsersUmask_data();
    void copiesTakeTheUsersUmask();
    void keepsWhatTheUserHas_data();
    void keepsWhatTheUserHas();
    void laterStartsLeaveTheCopiesAlone();
    void samplesNotInstalledAreSkipped();
    void aFolderThatCannotBeMadeIsReported();
    void tablesStayWhereTheUserKeptThem_data();
    void tablesStayWhereTheUserKeptThem();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_samples;
    QString m_documents;
};

void TestSamples::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_samples = m_dir->filePath(QStringLiteral("share/yomorisu"));
    m_documents = m_dir->filePath(QStringLiteral("home/Documents"));
    writeFile(m_samples + QStringLiteral("/rmr.csv"), exercises);
    writeFile(m_samples + QStringLiteral("/定食.csv"), meals);
    writeFile(m_samples + QStringLiteral("/健康相談/かぜ.txt"), "\x82\xa9\x82\xba\r\n");
    writeFile(m_samples + QStringLiteral("/健康相談/生活習慣病/高血圧.txt"), "\x8d\x82\x8c\x8c\x88\xb3\r\n");
    writeFile(m_samples + QStringLiteral("/README.txt"), "not a sample");
}

void TestSamples::fillsAFreshDocumentsFolder() {
    const SampleCopy copy = copyMissingSamples(m_samples, m_documents);

    QCOMPARE(copy.failed, QStringList());
    QCOMPARE(copy.kept, QStringList());
    QCOMPARE(copy.copied.size(), 3);
    QMap<QString, QByteArray> expected{
        {QStringLiteral("rmr.csv"), exercises},
        {QStringLiteral("定食.csv"), meals},
        {QStringLiteral("健康相談"), "/"},
        {QStringLiteral("健康相談/かぜ.txt"), "\x82\xa9\x82\xba\r\n"},
        {QStringLiteral("健康相談/生活習慣病"), "/"},
        {QStringLiteral("健康相談/生活習慣病/高血圧.txt"), "\x8d\x82\x8c\x8c\x88\xb3\r\n"},
    };
    // Byte for byte, and nothing else: no other file of the share, no
    // half-built folder left over.
    QCOMPARE(tree(m_documents), expected);
}

void TestSamples::copiesTakeTheUsersUmask_data() {
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::newRow("022") << 022 << 0755 << 0644;
    QTest::newRow("077") << 077 << 0700 << 0600;
    QTest::newRow("002") << 002 << 0775 << 0664;
}

// As if the user had made them: neither the read-only mode of the installed
// samples nor that of a temporary folder.
void TestSamples::copiesTakeTheUsersUmask() {
#ifndef Q_OS_UNIX
    QSKIP("Windows has no umask nor POSIX modes");
#else
    QFETCH(int, umask);
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    for (const QString& name : {QStringLiteral("rmr.csv"), QStringLiteral("健康相談/かぜ.txt")})
        QVERIFY(QFile::setPermissions(m_samples + u'/' + name,
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const mode_t before = ::umask(mode_t(umask));
    copyMissingSamples(m_samples, m_documents);
    ::umask(before);

    const QMap<QString, int> expected{
        {QStringLiteral("rmr.csv"), fileMode},
        {QStringLiteral("定食.csv"), fileMode},
        {QStringLiteral("健康相談"), folderMode},
        {QStringLiteral("健康相談/かぜ.txt"), fileMode},
        {QStringLiteral("健康相談/生活習慣病"), folderMode},
        {QStringLiteral("健康相談/生活習慣病/高血圧.txt"), fileMode},
    };
    QMap<QString, int> modes;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(m_documents + u'/' + it.key()).constData(), &status), 0);
        modes.insert(it.key(), int(status.st_mode & 07777));
    }
    QCOMPARE(modes, expected);
#endif
}

void TestSamples::keepsWhatTheUserHas_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("own exercise table") << "rmr.csv"
                                        << "file";
    QTest::newRow("own set-meal table") << "定食.csv"
                                        << "file";
    QTest::newRow("own documents folder, samples not merged in") << "健康相談"
                                                                 << "folder";
    QTest::newRow("an empty table is still the user's") << "定食.csv"
                                                        << "empty file";
    QTest::newRow("a link to a table elsewhere, not there yet") << "rmr.csv"
                                                                << "dangling link";
    QTest::newRow("a folder where a table would go") << "rmr.csv"
                                                     << "folder";
}

void TestSamples::keepsWhatTheUserHas() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    const QString own = m_documents + u'/' + name;
    QDir().mkpath(m_documents);
    if (kind == QLatin1String("file"))
        writeFile(own, "mine,1\r\n");
    else if (kind == QLatin1String("empty file"))
        writeFile(own, {});
    else if (kind == QLatin1String("folder"))
        writeFile(own + QStringLiteral("/メモ.txt"), "mine");
    else
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("elsewhere/rmr.csv")), own));
    const QMap<QString, QByteArray> before = tree(m_documents);

    const SampleCopy copy = copyMissingSamples(m_samples, m_documents);

    QCOMPARE(copy.kept, QStringList{name});
    QCOMPARE(copy.copied.size(), 2);
    QVERIFY(!copy.copied.contains(name));
    QCOMPARE(copy.failed, QStringList());
    const QMap<QString, QByteArray> after = tree(m_documents);
    for (auto it = before.begin(); it != before.end(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
    // Nothing new inside what the user has.
    for (const QString& path : after.keys()) {
        if (path.startsWith(name + u'/'))
            QVERIFY2(before.contains(path), qPrintable(path));
    }
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("elsewhere/rmr.csv"))));
}

void TestSamples::laterStartsLeaveTheCopiesAlone() {
    copyMissingSamples(m_samples, m_documents);
    writeFile(m_documents + QStringLiteral("/rmr.csv"), "edited,9\r\n");
    QFile::remove(m_documents + QStringLiteral("/健康相談/かぜ.txt"));
    const QMap<QString, QByteArray> edited = tree(m_documents);

    const SampleCopy again = copyMissingSamples(m_samples, m_documents);

    QCOMPARE(again.copied, QStringList());
    QCOMPARE(again.kept.size(), 3);
    QCOMPARE(tree(m_documents), edited);
}

void TestSamples::samplesNotInstalledAreSkipped() {
    QVERIFY(QDir(m_samples + QStringLiteral("/健康相談")).removeRecursively());
    QVERIFY(QFile::remove(m_samples + QStringLiteral("/rmr.csv")));

    const SampleCopy copy = copyMissingSamples(m_samples, m_documents);

    QCOMPARE(copy.copied, QStringList{QStringLiteral("定食.csv")});
    QCOMPARE(copy.failed, QStringList());
    QCOMPARE(QDir(m_documents).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("定食.csv")});
}

// A documents "folder" that is a file: each sample is reported by name and
// the start goes on.
void TestSamples::aFolderThatCannotBeMadeIsReported() {
    writeFile(m_documents, "a file, not a folder");

    const SampleCopy copy = copyMissingSamples(m_samples, m_documents);

    QCOMPARE(copy.copied, QStringList());
    QCOMPARE(copy.failed.size(), 3);
    for (const QString& name :
         {QStringLiteral("rmr.csv"), QStringLiteral("定食.csv"), QStringLiteral("健康相談")})
        QVERIFY2(std::any_of(copy.failed.begin(), copy.failed.end(),
                             [&](const QString& f) { return f.startsWith(name + u':'); }),
                 qPrintable(copy.failed.join(u'\n')));
    QCOMPARE(readFile(m_documents), QByteArray("a file, not a folder"));
}

QTEST_GUILESS_MAIN(TestSamples)
// A user of the old program has the tables in its folder; everyone else in
// the documents folder.
void TestSamples::tablesStayWhereTheUserKeptThem_data() {
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("the kept folder is there") << QStringLiteral("my documents") << true;
    QTest::newRow("no such folder") << QStringLiteral("nothing here") << false;
    QTest::newRow("a file of that name is no folder") << QStringLiteral("rmr.csv") << false;
}

void TestSamples::tablesStayWhereTheUserKeptThem() {
    QFETCH(QString, kept);
    QFETCH(bool, chosen);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("my documents")));
    writeFile(m_dir->filePath(QStringLiteral("rmr.csv")), meals);
    const QString keptFolder = m_dir->filePath(kept);
    QCOMPARE(tableFolderOf(keptFolder, m_documents), chosen ? keptFolder : m_documents);
#ifdef Q_OS_WIN
    // And the real one, where a prefix of Wine's has none.
    const QString old = QStringLiteral("c:/my documents");
    if (QFileInfo::exists(old))
        QSKIP("c:\\my documents\\ is a user's own here");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(defaultTableFolder(), documents);
    QVERIFY(QDir().mkdir(old));
    const QString whileThere = defaultTableFolder();
    QVERIFY(QDir().rmdir(old));
    QCOMPARE(whileThere, old);
#endif
}

#include "tst_datafolder.moc"
