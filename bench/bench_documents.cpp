// Loading a 20 MB document into 病気, against the least any load can cost:
// decoding the same bytes with QStringDecoder and handing the text to the box.
// Run by hand:
//   build/bench/bench_documents -platform offscreen
// Target: the window's load at most 1.5 times the bare decode and show.
#include "app/shell.h"
#include "documents/documentwindow.h"
#include "windows/textbox.h"

#include <QElapsedTimer>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>

namespace {

class NoErrors : public ErrorStop {
public:
    void report(const RuntimeError& error) override { qFatal("%s", qPrintable(errorMessage(error))); }
};

class FixedAnswer : public OpenFileDialog {
public:
    QString chooseFile(QWidget*, const QString&, const QString&) override { return path; }
    QString path;
};

class NoPrinter : public TextPrinter {
public:
    void print(const QString&, const QString&, WorkProgress&) override {}
};

double medianMs(QList<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return double(nanoseconds[nanoseconds.size() / 2]) / 1e6;
}

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

class BenchDocuments : public QObject {
    Q_OBJECT
private slots:
    void loadTwentyMegabytes() {
        // Lines of a real document, Japanese and ASCII mixed, until 20 MB.
        const QString lineText = QStringLiteral("　血糖値が百二十六ｍｇ／ｄＬ以上（HbA1c 6.5%）のときは、"
                                                "糖尿病が疑われます。ｶﾀｶﾅ 1234\r\n");
        const QByteArray line = QStringEncoder("windows-31j").encode(lineText);
        QByteArray bytes;
        bytes.reserve(20'000'000 + line.size());
        while (bytes.size() < 20'000'000)
            bytes += line;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("大きな文書.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        NoErrors errors;
        FixedAnswer dialog;
        dialog.path = path;
        NoPrinter printer;
        Shell shell(
            errors, dir.path(), [] {}, dialog, printer);
        shell.open<DocumentWindow>();
        DocumentWindow& window = shell.window<DocumentWindow>();
        auto* box = window.control<TextBox>(QStringLiteral("Text1"));
        // The bare case: a plain Qt box set up like Text1, in the same window.
        QPlainTextEdit plain(window.form());
        plain.setGeometry(box->geometry());
        plain.setFont(box->font());
        plain.setLineWrapMode(box->lineWrapMode());
        plain.setHorizontalScrollBarPolicy(box->horizontalScrollBarPolicy());
        plain.setVerticalScrollBarPolicy(box->verticalScrollBarPolicy());
        plain.show();

        constexpr int Runs = 5;
        QList<qint64> load;
        QList<qint64> bare;
        QElapsedTimer timer;
        for (int run = 0; run < Runs; ++run) {
            box->setText(QString());
            timer.start();
            window.loadDocumentFromDialog();
            load.append(timer.nsecsElapsed());
            QCOMPARE(box->text().size(), bytes.size() / line.size() * lineText.size());

            plain.clear();
            timer.start();
            const QString text = QStringDecoder("windows-31j").decode(bytes);
            plain.setPlainText(text);
            bare.append(timer.nsecsElapsed());
        }
        const double loadMs = medianMs(load);
        const double bareMs = medianMs(bare);
        qInfo("document: %.1f MB, %lld lines", bytes.size() / 1e6, qlonglong(bytes.size() / line.size()));
        qInfo("load through the window (read, decode, line ends, show): %.0f ms (median of %d)", loadMs,
              Runs);
        qInfo("QStringDecoder + setPlainText on a box like it:         %.0f ms (median of %d)", bareMs, Runs);
        qInfo("ratio: %.2f (target at most 1.5)", loadMs / bareMs);
        qInfo("peak memory of the process: %ld MB", peakMegabytes());
    }
};

QTEST_MAIN(BenchDocuments)
#include "bench_documents.moc"
