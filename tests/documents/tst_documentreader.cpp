// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentreader.h"
#include "testsupport.h"

#include <QBuffer>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Hands out its bytes a few at a time, as a pipe or a slow disk may, and
// fails for good once `failAt` bytes have gone out.
class TricklingDevice : public QIODevice {
public:
    TricklingDevice(QByteArray data, qint64 step, qint64 failAt = -1)
        : m_data(std::move(data)), m_step(step), m_failAt(failAt) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* out, qint64 max) override {
        if (m_failAt >= 0 && m_pos >= m_failAt) {
            setErrorString(QStringLiteral("disk went away"));
            return -1;
        }
        qint64 n = std::min({max, m_step, qint64(m_data.size()) - m_pos});
        if (m_failAt >= 0)
            n = std::min(n, m_failAt - m_pos);
        memcpy(out, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_step;
    qint64 m_failAt;
    qint64 m_pos = 0;
};

} // namespace

// Reading a document: line ends, code pages, broken bytes, size and read errors.
class TestDocumentReader : public QObject {
    Q_OBJECT
private slots:
    void linesEndInCrLf_data();
    void linesEndInCrLf();
    void decodesTheText_data();
    void decodesTheText();
    void readsADeviceThatTrickles();
    void readErrorKeepsTheWholeLinesBefore_data();
    void readErrorKeepsTheWholeLinesBefore();
    void refusesBeyondEachBound_data();
    void refusesBeyondEachBound();
    void loadFailsWithThePath_data();
    void loadFailsWithThePath();
    void loadRefusesAHugeFileBeforeReadingIt();
    void sampleDocumentsReadCleanly();
};

void TestDocumentReader::linesEndInCrLf_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF lines unchanged")
        << QByteArray("A\r\nB\r\nC\r\n") << QStringLiteral("A\r\nB\r\nC\r\n");
    QTest::newRow("last line without line end") << QByteArray("A\r\nB") << QStringLiteral("A\r\nB\r\n");
    QTest::newRow("CR alone ends a line") << QByteArray("A\rB\r") << QStringLiteral("A\r\nB\r\n");
    QTest::newRow("LF alone stays in the line") << QByteArray("A\nB\nC\n") << QStringLiteral("A\nB\nC\n\r\n");
    QTest::newRow("LF then CR LF") << QByteArray("A\n\r\nB") << QStringLiteral("A\n\r\nB\r\n");
    QTest::newRow("CR then CR LF is an empty line")
        << QByteArray("A\r\r\nB") << QStringLiteral("A\r\n\r\nB\r\n");
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nA\r\n") << QStringLiteral("\r\n\r\nA\r\n");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("one line end") << QByteArray("\r\n") << QStringLiteral("\r\n");
    QTest::newRow("LF CR: the CR ends the line") << QByteArray("A\n\rB") << QStringLiteral("A\n\r\nB\r\n");
}

void TestDocumentReader::linesEndInCrLf() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(documentText(bytes), text);
}

void TestDocumentReader::decodesTheText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("code page 932") << QByteArray("\x95\x61\x8B\x43\x82\xA9\x82\xBA\xB6\xBE\r\n")
                                   << QStringLiteral("病気かぜｶｾ\r\n");
    QTest::newRow("UTF-8 after its byte order mark")
        << QByteArray("\xEF\xBB\xBF\xE7\x97\x85\xE6\xB0\x97\r\nA") << QStringLiteral("病気\r\nA\r\n");
    QTest::newRow("byte order mark alone") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("a mark not at the start is code page 932 bytes")
        << QByteArray("\x82\xA0\xEF\xBB\xBF") << QStringLiteral("あ\uFFFDｿ\r\n");
    QTest::newRow("bad UTF-8 byte") << QByteArray("\xEF\xBB\xBF"
                                                  "a\xFF"
                                                  "b")
                                    << QStringLiteral("a\uFFFDb\r\n");
    QTest::newRow("byte that is no character") << QByteArray("A\x80"
                                                             "B\xFF")
                                               << QStringLiteral("A\uFFFDB\uFFFD\r\n");
    QTest::newRow("unassigned pair") << QByteArray("A\x85\x40"
                                                   "B")
                                     << QStringLiteral("A\uFFFDB\r\n");
    QTest::newRow("lead byte before a line end")
        << QByteArray("A\x82\r\nB") << QStringLiteral("A\uFFFD\r\nB\r\n");
    QTest::newRow("lead byte cut off by the end") << QByteArray("AB\x82") << QStringLiteral("AB\uFFFD\r\n");
    QTest::newRow("second bytes that are also lead bytes")
        << QByteArray("\x88\x9F\x88\xE3") << QStringLiteral("亜医\r\n");
    QTest::newRow("lead byte cut off after such pairs")
        << QByteArray("\x88\x9F\x88\xE3\x88") << QStringLiteral("亜医\uFFFD\r\n");
    QTest::newRow("control codes stay themselves") << QByteArray("a\x1A"
                                                                 "b\x1C"
                                                                 "c\x7F"
                                                                 "d")
                                                   << QStringLiteral("a\u001Ab\u001Cc\u007Fd\r\n");
    QTest::newRow("lead byte cut off by a control code")
        << QByteArray("\x82\x7F\x82\xA9") << QStringLiteral("\uFFFD\u007Fか\r\n");
}

void TestDocumentReader::decodesTheText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(documentText(bytes), text);
}

void TestDocumentReader::readsADeviceThatTrickles() {
    const QByteArray bytes("\x95\x61\x8B\x43\r\n\x82\xA9\x82\xBA\rend");
    TricklingDevice device(bytes, 3);
    const Document document = readDocument(device);
    QVERIFY(!document.failure);
    QCOMPARE(document.text, QStringLiteral("病気\r\nかぜ\r\nend\r\n"));
}

void TestDocumentReader::readErrorKeepsTheWholeLinesBefore_data() {
    QTest::addColumn<qint64>("failAt");
    QTest::addColumn<QString>("text");
    const QByteArray bytes("A\r\nB\r\n\x82\xA9\x82\xBA\r\nlast");
    QTest::newRow("at the start") << qint64(0) << QString();
    QTest::newRow("inside the first line") << qint64(1) << QString();
    QTest::newRow("between CR and LF") << qint64(2) << QStringLiteral("A\r\n");
    QTest::newRow("inside a double-byte character") << qint64(7) << QStringLiteral("A\r\nB\r\n");
    QTest::newRow("inside the last line") << qint64(13) << QStringLiteral("A\r\nB\r\nかぜ\r\n");
}

void TestDocumentReader::readErrorKeepsTheWholeLinesBefore() {
    QFETCH(qint64, failAt);
    QFETCH(QString, text);
    TricklingDevice device("A\r\nB\r\n\x82\xA9\x82\xBA\r\nlast", 2, failAt);
    const Document document = readDocument(device);
    QVERIFY(document.failure);
    QCOMPARE(document.failure->number(), 57);
    QCOMPARE(document.failure->reason(), QStringLiteral("disk went away"));
    QCOMPARE(document.text, text);
}

void TestDocumentReader::refusesBeyondEachBound_data() {
    QTest::addColumn<QByteArray>("fits");
    QTest::addColumn<QByteArray>("beyond");
    QTest::addColumn<QString>("told");
    QTest::addColumn<bool>("programsBounds");
    // Bounds of 12 bytes, 3 lines and lines of 4 characters, unless the
    // program's own.
    QTest::newRow("size") << QByteArray("ab\r\ncd\r\nef\r\n") << QByteArray("ab\r\ncd\r\nef\r\ng")
                          << QStringLiteral("文書が大きすぎます（12 バイト まで）") << false;
    QTest::newRow("lines, CR LF, CR and LF alike")
        << QByteArray("a\r\nb\rc\n") << QByteArray("a\r\nb\rc\nd")
        << QStringLiteral("文書の行が多すぎます（3 行まで）") << false;
    QTest::newRow("lines counted in the text: UTF-16 」 holds a 0D byte")
        << QByteArray("\xFF\xFE\x0D\x30\x0D\x30\x0D\x00\x0A\x00", 10) << QByteArray("a\r\nb\rc\nd")
        << QStringLiteral("文書の行が多すぎます（3 行まで）") << false;
    QTest::newRow("line length, in characters")
        << QByteArray("\x95\x61\x8B\x43\x95\x61\x8B\x43") << QByteArray("abcde")
        << QStringLiteral("文書に長すぎる行があります（1 行 4 字まで）") << false;
    QTest::newRow("a line the file's LF ends is a line of its own")
        << QByteArray("abcd\nabcd") << QByteArray("abcd\nabcde")
        << QStringLiteral("文書に長すぎる行があります（1 行 4 字まで）") << false;
    // 𠮷 (U+20BB7) is two UTF-16 units but one character.
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray yoshi("\xF0\xA0\xAE\xB7");
    QTest::newRow("line length counts 𠮷 beyond the basic plane as one character")
        << bom + yoshi.repeated(10'000) << bom + yoshi.repeated(10'001)
        << QStringLiteral("文書に長すぎる行があります（1 行 10,000 字まで）") << true;
}

void TestDocumentReader::refusesBeyondEachBound() {
    QFETCH(QByteArray, fits);
    QFETCH(QByteArray, beyond);
    QFETCH(QString, told);
    QFETCH(bool, programsBounds);
    const DocumentBounds bounds = programsBounds ? MaxDocument : DocumentBounds{12, 3, 4};
    // A device that does not say how long it is gets stopped all the same.
    const qint64 step = programsBounds ? 4096 : 4;
    TricklingDevice fitting(fits, step);
    QCOMPARE(readDocument(fitting, bounds).text, documentText(fits));
    TricklingDevice over(beyond, step);
    const auto failure = failureOf([&] { readDocument(over, bounds); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), ErrorKind::DocumentTooLarge);
    QCOMPARE(failure->reason(), told);
}

void TestDocumentReader::loadFailsWithThePath_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::newRow("missing") << QStringLiteral("ない.txt") << 53;
    QTest::newRow("folder") << QStringLiteral("folder") << 75;
#ifdef Q_OS_UNIX
    QTest::newRow("named pipe") << QStringLiteral("pipe.txt") << 75;
#endif
    QTest::newRow("empty name") << QString() << 53;
}

void TestDocumentReader::loadFailsWithThePath() {
    QFETCH(QString, name);
    QFETCH(int, number);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
#ifdef Q_OS_UNIX
    const QString pipe = dir.filePath(QStringLiteral("pipe.txt"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
#endif
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    const auto failure = failureOf([&] { loadDocument(path); });
    QVERIFY(failure);
    QCOMPARE(failure->number(), number);
    QCOMPARE(failure->source(), path);
    QVERIFY(!failure->reason().isEmpty());
}

void TestDocumentReader::loadRefusesAHugeFileBeforeReadingIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(MaxDocument.bytes + 1)); // sparse: costs no disk
    file.close();
    const auto failure = failureOf([&] { loadDocument(path, [](qint64) -> bool { qFatal("read"); }); });
    QVERIFY(failure);
    QCOMPARE(failure->kind(), ErrorKind::DocumentTooLarge);
    QCOMPARE(failure->source(), path);
    QCOMPARE(failure->reason(), QStringLiteral("文書が大きすぎます（2 MiB まで）"));

    QVERIFY(file.resize(1000));
    const Document fits = loadDocument(path);
    QVERIFY(!fits.failure);
    QCOMPARE(fits.text.size(), 1002);
}

void TestDocumentReader::sampleDocumentsReadCleanly() {
    const QDir folder(QStringLiteral(YOMORISU_TEST_DATA "/健康相談"));
    const QStringList names = folder.entryList({QStringLiteral("*.txt")}, QDir::Files);
    QVERIFY2(names.size() >= 3, qPrintable(folder.path()));
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // Written in code page 932 with CR LF, as the program's users keep them.
        QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF") && !bytes.contains("\n\n") && bytes.endsWith("\r\n"),
                 qPrintable(name));
        QCOMPARE(bytes.count('\r'), bytes.count('\n'));
        const QString text = documentText(bytes);
        QVERIFY2(!text.contains(QChar::ReplacementCharacter), qPrintable(name));
        QVERIFY2(text.startsWith(QFileInfo(name).completeBaseName()), qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(TestDocumentReader)
#include "tst_documentreader.moc"
