// SPDX-License-Identifier: GPL-3.0-or-later
// 病気 with the largest document it accepts, and printing to PDF.
// Run by hand:
//   build/bench/bench_documents -platform offscreen
// Goals: the window's load at most 1.1 times decoding the bytes and handing
// the text to a plain QPlainTextEdit; printing through the program's layout at
// most 1.2 times QTextDocument::print to a QPdfWriter; the event loop never
// stalls longer than 100 ms meanwhile.
#include "app/shell.h"
#include "benchsupport.h"
#include "common/textdecoding.h"
#include "documents/documentreader.h"
#include "documents/documentwindow.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "print/pages.h"
#include "system/systemprinter.h"

#include <QElapsedTimer>
#include <QPdfWriter>
#include <QPushButton>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <fstream>

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

// The program's printer up to the print system: laid out into a PDF file.
class PdfFilePrinter : public TextPrinter {
public:
    void print(const QString& text, const QString& title, WorkProgress& progress) override {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        layOutOnPages(text, title, writer, &progress);
    }
    QString path;
};

// Resident memory now and at its peak since the last reset, in MiB.
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(std::strlen(field) + 1)) / 1024;
    }
    return 0;
}
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

class BenchDocuments : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void loadTheLargestAccepted();
    void printToPdf_data();
    void printToPdf();

private:
    QTemporaryDir m_dir;
    QByteArray m_bytes;
    QString m_largest;
    QString m_largestText;
};

void BenchDocuments::initTestCase() {
    // Lines of a real document, Japanese and ASCII mixed, as many as the
    // bounds take: short enough that the size and the line count both come
    // near their bounds, since memory goes by both.
    const QString lineText = QStringLiteral("　血糖値（HbA1c 6.5%）が高いときは\r\n");
    const QByteArray line = encodeCodePage932(lineText);
    const qsizetype lines = std::min<qsizetype>(MaxDocument.lines, MaxDocument.bytes / line.size());
    m_bytes = line.repeated(lines);
    m_largest = m_dir.filePath(QStringLiteral("大きな文書.txt"));
    QFile file(m_largest);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_bytes) == m_bytes.size());
    m_largestText = documentText(m_bytes);
    qInfo("largest accepted document: %.2f MiB, %lld lines", m_bytes.size() / 1048576.0, qlonglong(lines));
}

void BenchDocuments::loadTheLargestAccepted() {
    NoErrors errors;
    FixedAnswer dialog;
    dialog.path = m_largest;
    PdfFilePrinter printer;
    Shell shell(
        errors, m_dir.path(), [] {}, dialog, printer);
    shell.open<DocumentWindow>();
    DocumentWindow& window = shell.window<DocumentWindow>();
    auto* box = window.control<TextBox>(QStringLiteral("Text1"));
    // The bare case: a plain Qt box set up like Text1, in the same window.
    auto* plain = new QPlainTextEdit(window.form());
    plain->setGeometry(box->geometry());
    plain->setFont(box->font());
    plain->setLineWrapMode(box->lineWrapMode());
    plain->setHorizontalScrollBarPolicy(box->horizontalScrollBarPolicy());
    plain->setVerticalScrollBarPolicy(box->verticalScrollBarPolicy());
    plain->show();
    QCoreApplication::processEvents();

    const double idle = statusMiB("VmRSS:");
    constexpr int Runs = 5;
    QList<qint64> load;
    QList<qint64> bare;
    qint64 stall = 0;
    double peak = 0;
    double afterReplace = 0;
    QElapsedTimer timer;
    for (int run = 0; run < Runs; ++run) {
        resetPeak();
        {
            StallProbe probe;
            timer.start();
            QTest::mouseClick(window.control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
            waitUntilIdle(window);
            QCoreApplication::processEvents(); // the box shows it
            load.append(timer.nsecsElapsed());
            stall = std::max(stall, probe.longestMs());
        }
        peak = std::max(peak, statusMiB("VmHWM:") - idle);
        QCOMPARE(box->text().size(), m_largestText.size());
        afterReplace = statusMiB("VmRSS:") - idle;

        plain->clear();
        timer.start();
        plain->setPlainText(QStringDecoder("windows-31j").decode(m_bytes));
        QCoreApplication::processEvents();
        bare.append(timer.nsecsElapsed());
        plain->clear();
    }
    const double loadMs = medianMs(load);
    const double bareMs = medianMs(bare);
    qInfo("load through the window (read, check, decode, show): %.0f ms (median of %d)", loadMs, Runs);
    qInfo("QStringDecoder + setPlainText on a box like it:      %.0f ms (median of %d)", bareMs, Runs);
    qInfo("ratio: %.2f (goal at most 1.1)", loadMs / bareMs);
    qInfo("longest event-loop stall during the window's loads: %lld ms (goal at most 100)", qlonglong(stall));
    qInfo("peak memory above idle: %.0f MiB (goal at most 100 MB + twice the file, %.0f MiB)", peak,
          100e6 / 1048576 + 2 * m_bytes.size() / 1048576.0);
    qInfo("resident above idle with the document loaded again: %.0f MiB", afterReplace);
}

void BenchDocuments::printToPdf_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("糖尿病.txt") << QStringLiteral(YOMORISU_SAMPLE_DATA "/健康相談/糖尿病.txt");
    QTest::newRow("largest accepted") << m_largest;
}

void BenchDocuments::printToPdf() {
    QFETCH(QString, path);
    NoErrors errors;
    FixedAnswer dialog;
    dialog.path = path;
    PdfFilePrinter printer;
    printer.path = m_dir.filePath(QStringLiteral("program.pdf"));
    Shell shell(
        errors, m_dir.path(), [] {}, dialog, printer);
    shell.open<DocumentWindow>();
    DocumentWindow& window = shell.window<DocumentWindow>();
    QTest::mouseClick(window.control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    waitUntilIdle(window);
    const QString text = window.control<TextBox>(QStringLiteral("Text1"))->text() + QStringLiteral("\r\n");

    constexpr int Runs = 3;
    QList<qint64> program;
    QList<qint64> bare;
    qint64 stall = 0;
    QElapsedTimer timer;
    for (int run = 0; run < Runs; ++run) {
        {
            StallProbe probe;
            timer.start();
            QTest::mouseClick(window.control<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
            waitUntilIdle(window);
            program.append(timer.nsecsElapsed());
            stall = std::max(stall, probe.longestMs());
        }
        bare.append(plainPrintNs(text, m_dir.filePath(QStringLiteral("bare.pdf"))));
    }
    const double programMs = medianMs(program);
    const double bareMs = medianMs(bare);
    qInfo("%s: 印刷 through the window to PDF: %.0f ms; QTextDocument::print to QPdfWriter: %.0f ms "
          "(medians of %d)",
          QTest::currentDataTag(), programMs, bareMs, Runs);
    qInfo("%s: ratio %.2f (goal at most 1.2); longest event-loop stall %lld ms (goal at most 100)",
          QTest::currentDataTag(), programMs / bareMs, qlonglong(stall));
}

YOMORISU_GUI_TEST_MAIN(BenchDocuments)
#include "bench_documents.moc"
