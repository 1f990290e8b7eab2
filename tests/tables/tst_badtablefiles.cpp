// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a user leaves under a table's name, 表示 comes back at once with
// its error and the program goes on: pipes and devices are never read, and a
// file of any size is read no further than a table can reach.
#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/picturearea.h"
#include "guitest.h"
#include "shellfixture.h"
#include "tables/tableload.h"

#include <QFile>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

enum class Source { Fifo, DevZero, SparseGigabyte };

void place(Source source, const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    switch (source) {
    case Source::Fifo:
#ifdef Q_OS_UNIX
        if (::mkfifo(native.constData(), 0600) != 0)
#endif
            qFatal("mkfifo failed");
        return;
    case Source::DevZero:
        if (!QFile::link(QStringLiteral("/dev/zero"), path))
            qFatal("cannot link /dev/zero");
        return;
    case Source::SparseGigabyte: {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(1) << 30))
            qFatal("cannot make a sparse file");
        return;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Source)

class TestBadTableFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void displayAnswersAndTheProgramGoesOn_data();
    void displayAnswersAndTheProgramGoesOn();

private:
    std::unique_ptr<ShellFixture> m_app;
};

void TestBadTableFiles::init() {
    m_app = std::make_unique<ShellFixture>();
}

void TestBadTableFiles::cleanup() {
    QCOMPARE(m_app->quits, 0);
    m_app.reset();
}

void TestBadTableFiles::displayAnswersAndTheProgramGoesOn_data() {
    QTest::addColumn<Source>("source");
    QTest::addColumn<bool>("rmr");
    QTest::addColumn<int>("errorNumber");
#ifdef Q_OS_UNIX // Windows has neither
    QTest::newRow("定食.csv a named pipe") << Source::Fifo << false << 75;
    QTest::newRow("定食.csv a link to /dev/zero") << Source::DevZero << false << 75;
#endif
    QTest::newRow("定食.csv a gigabyte of zero bytes") << Source::SparseGigabyte << false << 6;
#ifdef Q_OS_UNIX
    QTest::newRow("rmr.csv a named pipe") << Source::Fifo << true << 75;
    QTest::newRow("rmr.csv a link to /dev/zero") << Source::DevZero << true << 75;
#endif
}

void TestBadTableFiles::displayAnswersAndTheProgramGoesOn() {
    QFETCH(Source, source);
    QFETCH(bool, rmr);
    QFETCH(int, errorNumber);

    WindowObject& window = rmr ? static_cast<WindowObject&>(m_app->shell.window<RmrWindow>())
                               : m_app->shell.window<SetMealWindow>();
    window.open();
    const QString fileName = rmr ? RmrFileName : SetMealFileName;
    const QString good = tableText(30, QStringLiteral("品"), [](int n) { return n; });
    writeTableFile(m_app->dir, fileName, good);
    ShellFixture::click(window, QStringLiteral("Command1"));
    auto* first = window.control<PictureArea>(QStringLiteral("Picture1"));
    QVERIFY(first->lines().lineCount() > 0);

    const QString path = QDir(m_app->dir.path()).filePath(fileName);
    QVERIFY(QFile::remove(path));
    place(source, path);
    ShellFixture::click(window, QStringLiteral("Command1"));

    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors.first().number(), errorNumber);
    QCOMPARE(m_app->errors.errors.first().source(), path);
    QVERIFY(window.isLoaded());
    QCOMPARE(first->lines().lineCount(), 0); // cleared before the load, nothing after

    // The next click reads the mended file as usual.
    QVERIFY(QFile::remove(path));
    writeTableFile(m_app->dir, fileName, good);
    ShellFixture::click(window, QStringLiteral("Command1"));
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(first->lines().lineText(0), QStringLiteral("1   品1    1"));
}

YOMORISU_GUI_TEST_MAIN(TestBadTableFiles)
#include "tst_badtablefiles.moc"
