// SPDX-License-Identifier: GPL-3.0-or-later
#include "guitest.h"
#include "pdftext.h"
#include "print/pages.h"
#include "system/systemprinter.h"

#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// How a document is laid out on paper, into a PDF file rather than through
// the print system, and read back with poppler's tools.
class TestPrintLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wideLinesWrapInsteadOfBeingCut_data();
    void wideLinesWrapInsteadOfBeingCut();
    void longTextFlowsOntoFurtherPages();
    void japaneseIsPrintedInTheMinchoFont();
    void noPageWithoutTextAndEachPageNamed_data();
    void noPageWithoutTextAndEachPageNamed();

private:
    // Lays `text` out on A4 with the printer's margins; returns the PDF's path.
    QString printToPdf(const QString& text);

    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestPrintLayout::initTestCase() {
    if (!pdfToolsPresent()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("pdftotext is missing: scripts/setup.sh installs poppler-utils");
        QSKIP("pdftotext is missing: run scripts/setup.sh");
    }
}

QString TestPrintLayout::printToPdf(const QString& text) {
    const QString path = m_dir.filePath(QStringLiteral("page%1.pdf").arg(++m_files));
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    layOutOnPages(text, QStringLiteral("文書.txt"), writer);
    return path;
}

void TestPrintLayout::wideLinesWrapInsteadOfBeingCut_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("digits without a space") << QStringLiteral("0123456789").repeated(20);
    QTest::newRow("Japanese without a space")
        << QStringLiteral("血糖値とヘモグロビンエーワンシー").repeated(10);
    QTest::newRow("words") << QStringLiteral("health guidance ").repeated(30).trimmed();
}

void TestPrintLayout::wideLinesWrapInsteadOfBeingCut() {
    QFETCH(QString, line);
    const QString text = QStringLiteral("前の行\r\n") + line + QStringLiteral("\r\n後の行\r\n");
    const QString printed = pdfText(printToPdf(text));
    QVERIFY2(missingLine(text, printed).isEmpty(), qPrintable(printed));
    QVERIFY2(!printedWhole(line, printed), qPrintable(printed));
}

void TestPrintLayout::longTextFlowsOntoFurtherPages() {
    QString text;
    for (int n = 1; n <= 200; ++n)
        text += QStringLiteral("第%1行　養生の心得\r\n").arg(n);
    const QString pdf = printToPdf(text);
    const QString printed = pdfText(pdf);
    QVERIFY2(missingLine(text, printed).isEmpty(), "a line was lost at a page break");
    // Nor printed twice, part of it at the foot of one page and whole at
    // the top of the next.
    for (int n = 1; n <= 200; ++n)
        QCOMPARE(printed.count(QStringLiteral("第%1行").arg(n)), 1);
    // 200 lines of 10.5 pt cannot share fewer than three A4 pages.
    QVERIFY(pdfPages(pdf) >= 3);
    QCOMPARE(pdfPages(printToPdf(QStringLiteral("一行だけ\r\n"))), 1);
}

void TestPrintLayout::japaneseIsPrintedInTheMinchoFont() {
    const QString pdf = printToPdf(QStringLiteral("ｶﾀｶﾅ、ひらがな、漢字、①②、ＡＢＣ\r\n"));
    const QString fonts = runPdfTool(QStringLiteral("pdffonts"), {pdf});
    QVERIFY2(fonts.contains(QStringLiteral("IPAMincho")), qPrintable(fonts));
    QVERIFY(squeezed(pdfText(pdf)).startsWith(squeezed(QStringLiteral("ｶﾀｶﾅ、ひらがな、漢字、①②、ＡＢＣ"))));
}

void TestPrintLayout::noPageWithoutTextAndEachPageNamed_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("blankAfter");
    QTest::addColumn<int>("pages");
    // 62 lines of 10.5 pt fill one A4 page between its margins.
    QTest::newRow("62 lines fill one page exactly") << 62 << 0 << 1;
    QTest::newRow("124 lines fill two") << 124 << 0 << 2;
    QTest::newRow("the 63rd line opens the second") << 63 << 0 << 2;
    QTest::newRow("blank lines after the text open none") << 40 << 60 << 1;
}

void TestPrintLayout::noPageWithoutTextAndEachPageNamed() {
    QFETCH(int, lines);
    QFETCH(int, blankAfter);
    QFETCH(int, pages);
    QString text;
    for (int n = 1; n <= lines; ++n)
        text += QStringLiteral("第%1行　食事の記録をつけましょう\r\n").arg(n);
    // As the window prints it: the box's text and one line end more.
    text += QStringLiteral("\r\n").repeated(blankAfter + 1);
    const QString pdf = printToPdf(text);
    QCOMPARE(pdfPages(pdf), pages);
    QVERIFY(missingLine(text, pdfText(pdf)).isEmpty());
    for (int page = 1; page <= pages; ++page) {
        const QString printed = squeezed(pdfPageText(pdf, page));
        QVERIFY2(printed.endsWith(squeezed(QStringLiteral("文書.txt %1 / %2").arg(page).arg(pages))),
                 qPrintable(printed));
    }
}

YOMORISU_GUI_TEST_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
