// SPDX-License-Identifier: GPL-3.0-or-later
// The control widgets: text boxes with a length limit, picture areas drawn
// from their printed lines with the real fonts, and images.

#include "forms/builder.h"
#include "forms/caption.h"
#include "forms/fonts.h"
#include "forms/imagecontrol.h"
#include "forms/picturearea.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "tables/listing.h"
#include "tables/table.h"
#include "windowrows.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

// Rows of the image that hold anything but the background colour.
QList<int> inkedRows(const QImage& image, const QRect& within, QRgb background) {
    QList<int> rows;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (image.pixel(x, y) != background) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

int firstInkedColumn(const QImage& image, const QRect& within, QRgb background) {
    for (int x = within.left(); x <= within.right(); ++x) {
        for (int y = within.top(); y <= within.bottom(); ++y) {
            if (image.pixel(x, y) != background)
                return x;
        }
    }
    return -1;
}

QImage grabbed(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void typingStopsAtTheLimit_data();
    void typingStopsAtTheLimit();
    void pastingIsCutToTheLimit_data();
    void pastingIsCutToTheLimit();
    void inputMethodIsCutToTheLimit();
    void textFromCodeIsCutToTheLimit_data();
    void textFromCodeIsCutToTheLimit();
    void undoTakesBackACutInsertWhole();
    void limitKeepsWholeCharacters_data();
    void limitKeepsWholeCharacters();
    void textRoundTrips_data();
    void textRoundTrips();
    void oneLineBoxShowsItsText();

    void visibleLinesWithRealFonts_data();
    void visibleLinesWithRealFonts();
    void printingIsClippedAtTheBorder();
    void zones_data();
    void zones();
    void zonedItemIsDrawnAtItsZone();
    void clearingResetsThePrintPosition();
    void printedTextSurvivesRepaint();
    void ordinaryTextIsWhole_data();
    void ordinaryTextIsWhole();
    void widestListingRowKeepsNumberAndValue_data();
    void widestListingRowKeepsNumberAndValue();
    void captionsBreakBetweenWords_data();
    void captionsBreakBetweenWords();

    void imageStretchedOrAtOwnSize_data();
    void imageStretchedOrAtOwnSize();
    void hiddenImageLendsItsPicture();
};

void TestControls::typingStopsAtTheLimit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("height: a fifth character is refused") << "Text1"
                                                          << "17055"
                                                          << "1705";
    QTest::newRow("weight: a third character is refused") << "Text2"
                                                          << "655"
                                                          << "65";
    QTest::newRow("height: full-width digits count one each") << "Text1"
                                                              << "１７０５５"
                                                              << "１７０５";
    QTest::newRow("height: a line break counts two") << "Text1"
                                                     << "1\n234"
                                                     << "1\r\n2";
    QTest::newRow("weight: no room for a line break after a digit") << "Text2"
                                                                    << "6\n5"
                                                                    << "65";
}

void TestControls::typingStopsAtTheLimit() {
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(name);
    QVERIFY(box);
    box->setFocus();
    for (const QChar c : typed) {
        if (c == u'\n')
            QTest::keyClick(box, Qt::Key_Return);
        else if (c.unicode() < 128)
            QTest::keyClicks(box, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(box->text(), kept);
    // Deleting makes room again.
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, QStringLiteral("9"));
    QCOMPARE(box->text(), kept.left(kept.size() - 1) + u'9');
}

void TestControls::pastingIsCutToTheLimit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::newRow("height: empty box takes four") << "Text1"
                                                  << "" << false << "170555"
                                                  << "1705";
    QTest::newRow("height: after two, two more") << "Text1"
                                                 << "17" << false << "0555"
                                                 << "1705";
    QTest::newRow("height: a full box takes nothing") << "Text1"
                                                      << "1705" << false << "9"
                                                      << "1705";
    QTest::newRow("height: replacing the selection") << "Text1"
                                                     << "1705" << true << "160999"
                                                     << "1609";
    QTest::newRow("weight: two of many") << "Text2"
                                         << "" << false << "65kg"
                                         << "65";
    QTest::newRow("weight: a line break does not fit") << "Text2"
                                                       << "" << false << "6\r\n5"
                                                       << "6";
}

void TestControls::pastingIsCutToTheLimit() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(bool, selectAll);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(name);
    box->setText(before);
    box->moveCursor(QTextCursor::End);
    if (selectAll)
        box->selectAll();
    QApplication::clipboard()->setText(pasted);
    QCOMPARE(QApplication::clipboard()->text(), pasted);
    box->paste();
    QCOMPARE(box->text(), after);
}

void TestControls::inputMethodIsCutToTheLimit() {
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(QStringLiteral("Text2"));
    box->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("６５５"));
    QApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), QStringLiteral("６５"));
}

void TestControls::textFromCodeIsCutToTheLimit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("height: setText") << "Text1"
                                     << "setText"
                                     << "170555"
                                     << "1705";
    QTest::newRow("height: setText keeps a CR LF that fits") << "Text1"
                                                             << "setText"
                                                             << "1\r\n234"
                                                             << "1\r\n2";
    QTest::newRow("weight: setPlainText") << "Text2"
                                          << "setPlainText"
                                          << "1234567890"
                                          << "12";
    QTest::newRow("weight: insertPlainText") << "Text2"
                                             << "insertPlainText"
                                             << "655"
                                             << "65";
    QTest::newRow("height: a cursor's insertText") << "Text1"
                                                   << "cursor"
                                                   << "１７０５５"
                                                   << "１７０５";
}

// What code puts into a box is held to its limit as well.
void TestControls::textFromCodeIsCutToTheLimit() {
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, after);
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(name);
    if (how == u"setText")
        box->setText(text);
    else if (how == u"setPlainText")
        box->setPlainText(text);
    else if (how == u"insertPlainText")
        box->insertPlainText(text);
    else
        box->textCursor().insertText(text);
    QCOMPARE(box->text(), after);
    QCOMPARE(textBoxLength(box->toPlainText()), after.size());
}

void TestControls::undoTakesBackACutInsertWhole() {
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(QStringLiteral("Text2"));
    box->setText(QStringLiteral("6"));
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(QStringLiteral("5kg"));
    QCOMPARE(box->text(), QStringLiteral("65"));
    box->undo();
    QCOMPARE(box->text(), QStringLiteral("6"));
    box->redo();
    QCOMPARE(box->text(), QStringLiteral("65"));
}

// A character outside the BMP is a surrogate pair: at a limit it goes in
// whole or not at all, by every way text arrives, in both kinds of box.
void TestControls::limitKeepsWholeCharacters_data() {
    QTest::addColumn<bool>("multiLine");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    const QString smile = QStringLiteral("\U0001F600");
    const QString grin = QStringLiteral("\U0001F601");
    for (const bool multiLine : {true, false}) {
        const char* kind = multiLine ? "multi-line" : "single-line";
        for (const char* how : {"type", "paste", "setText", "insert"}) {
            QTest::addRow("%s, %s: the pair past the limit goes", kind, how) << multiLine << how << ""
                                                                             << "170" + smile << "170";
            QTest::addRow("%s, %s: the pair that fits stays", kind, how) << multiLine << how << ""
                                                                         << "17" + smile << "17" + smile;
        }
        // The AT-SPI bridge cuts what it is sent by UTF-16 units.
        QTest::addRow("%s: assistive technology sends half a pair", kind) << multiLine << "insert"
                                                                          << ""
                                                                          << "17" + smile.left(1) << "17";
        QTest::addRow("%s: pasted pairs cut after a whole one", kind) << multiLine << "paste"
                                                                      << "1" << smile + grin << "1" + smile;
        // U+10600 ends in the same low half as the smile: what stays the
        // same at the end must not begin inside a pair.
        QTest::addRow("%s: a pair set over one sharing its low half", kind)
            << multiLine << "setText" << QStringLiteral("9\U00010600") << "123" + smile << "123";
    }
}

void TestControls::limitKeepsWholeCharacters() {
    QFETCH(bool, multiLine);
    QFETCH(QString, how);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(QString, after);
    std::unique_ptr<QWidget> form = shown(layout::body());
    QWidget* box = form->findChild<TextBox*>(QStringLiteral("Text1")); // at most 4
    if (!multiLine) {
        auto* line = new QLineEdit(form.get());
        setWholeCharacterMaxLength(line, 4);
        line->show();
        box = line;
    }
    auto* textBox = qobject_cast<TextBox*>(box);
    auto* lineEdit = qobject_cast<QLineEdit*>(box);
    const auto setText = [&](const QString& t) { textBox ? textBox->setText(t) : lineEdit->setText(t); };
    const auto boxText = [&] { return textBox ? textBox->text() : lineEdit->text(); };
    setText(before);
    box->setFocus();
    if (textBox)
        textBox->moveCursor(QTextCursor::End);
    else
        lineEdit->end(false);
    if (how == u"type") {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype units = text.at(i).isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text.mid(i, units), Qt::NoModifier);
            i += units - 1;
        }
    } else if (how == u"paste") {
        QApplication::clipboard()->setText(text);
        textBox ? textBox->paste() : lineEdit->paste();
    } else if (how == u"setText") {
        setText(text);
    } else {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
        QVERIFY(node->editableTextInterface());
        node->editableTextInterface()->insertText(int(before.size()), text);
    }
    QCOMPARE(boxText(), after);
}

void TestControls::textRoundTrips_data() {
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<int>("lines");
    QTest::newRow("CR LF lines") << "A\r\nB\r\nC\r\n"
                                 << "A\nB\nC\n"
                                 << 4;
    QTest::newRow("a lone LF is kept as given") << "A\nB\r\n"
                                                << "A\nB\n"
                                                << 3;
    QTest::newRow("empty") << ""
                           << "" << 1;
    QTest::newRow("no line end") << "一行"
                                 << "一行" << 1;
}

// What a handler stores comes back unchanged; the user's edits come back
// with CR LF line ends.
void TestControls::textRoundTrips() {
    QFETCH(QString, set);
    QFETCH(QString, plain);
    QFETCH(int, lines);
    std::unique_ptr<QWidget> form = shown(layout::documents());
    auto* box = form->findChild<TextBox*>(QStringLiteral("Text1"));
    box->setText(set);
    QCOMPARE(box->text(), set);
    QCOMPARE(box->toPlainText(), plain);
    QCOMPARE(box->document()->blockCount(), lines);
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, QStringLiteral("X"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QString(plain + QStringLiteral("X\n")).replace(u'\n', QStringLiteral("\r\n")));
}

// The designed multi-line boxes of 標準 are one line high and have no scroll
// bar: once the caret has been on a second line, the text must come back
// into view by itself.
void TestControls::oneLineBoxShowsItsText() {
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(QStringLiteral("Text1"));
    QVERIFY(box);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("12"));
    QCOMPARE(box->verticalScrollBar()->value(), 0);
    QVERIFY(box->cursorRect().top() >= 0);
    QVERIFY(box->cursorRect().bottom() <= box->viewport()->height());
    const QImage shown = grabbed(box->viewport());
    QVERIFY(!inkedRows(shown, shown.rect(), box->palette().color(QPalette::Base).rgb()).isEmpty());
}

void TestControls::visibleLinesWithRealFonts_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("visible");
    for (const char* p : {"Picture1", "Picture2", "Picture3", "Picture4"})
        QTest::addRow("set meal %s", p) << "定食1" << p << 41;
    for (const char* p : {"Picture1", "Picture2", "Picture3"})
        QTest::addRow("RMR %s", p) << "RMR" << p << 20;
    for (const char* p : {"Picture1", "Picture2"})
        QTest::addRow("expenditure %s", p) << "消費" << p << 25;
}

// Prints more lines than fit and looks at the pixels: the last visible line
// is drawn whole inside the border, the next one starts above the bottom edge
// but does not fit.
void TestControls::visibleLinesWithRealFonts() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(int, visible);
    std::unique_ptr<QWidget> form = shown(windowNamed(window));
    auto* area = form->findChild<PictureArea*>(name);
    QVERIFY(area);
    QCOMPARE(QRawFont::fromFont(area->font(), QFontDatabase::Japanese).familyName(),
             QStringLiteral("IPAPGothic"));
    QCOMPARE(area->visibleLineCount(), visible);

    const QRect surface = area->contentsRect();
    PictureLines& lines = area->lines();
    for (int i = 1; i < visible; ++i)
        lines.printLine(QStringLiteral("%1   散歩   ").arg(i));
    const QImage before = grabbed(area);
    lines.printLine(QStringLiteral("ＷＷＷ")); // the last whole line
    const QImage withLast = grabbed(area);
    QList<int> lastRows;
    for (int y = surface.top(); y <= surface.bottom(); ++y) {
        for (int x = surface.left(); x <= surface.right(); ++x) {
            if (before.pixel(x, y) != withLast.pixel(x, y)) {
                lastRows.append(y);
                break;
            }
        }
    }
    QVERIFY(!lastRows.isEmpty());
    const int lineTop = surface.top() + (visible - 1) * area->lineHeight();
    QVERIFY2(lastRows.first() >= lineTop, "last line drawn over the one above");
    QVERIFY2(lastRows.last() < surface.bottom(), "last line cut off");
    // The glyphs of that line, ascent to descent of the Japanese face that
    // sets the lines, fit inside the border.
    QVERIFY(lineTop + QFontMetrics(metricsFace(area->font())).height() <= surface.bottom() + 1);
    // One more line would start inside but cannot be whole: none of it shows.
    QVERIFY(lineTop + area->lineHeight() <= surface.bottom());
    QVERIFY(lineTop + 2 * area->lineHeight() > surface.bottom() + 1);
    lines.printLine(QStringLiteral("ＷＷＷ"));
    QCOMPARE(grabbed(area), withLast);
}

void TestControls::printingIsClippedAtTheBorder() {
    std::unique_ptr<QWidget> form = shown(layout::intake());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    const QImage empty = grabbed(area);
    for (int i = 0; i < 10; ++i)
        area->lines().printLine(QString(60, QChar(0x2588))); // full blocks, far wider than the area
    const QImage full = grabbed(area);
    const QRect surface = area->contentsRect();
    QVERIFY(!inkedRows(full, surface, area->palette().color(QPalette::Window).rgb()).isEmpty());
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            if (!surface.contains(x, y))
                QVERIFY2(full.pixel(x, y) == empty.pixel(x, y),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
}

void TestControls::zones_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QList<int>>("zones"); // zone number of each item, 0 first
    QTest::newRow("number, name, value") << QStringList{" 1 ", "散歩", " 3 "} << QList<int>{0, 1, 2};
    QTest::newRow("empty name") << QStringList{" 12 ", "", " 0 "} << QList<int>{0, 1, 2};
    QTest::newRow("an empty first item still moves on") << QStringList{"", "X"} << QList<int>{0, 1};
    QTest::newRow("name wider than a zone pushes the value on")
        << QStringList{" 7 ", "筋力トレーニング", " 5 "} << QList<int>{0, 1, 3};
    QTest::newRow("first item wider than a zone") << QStringList{"筋力トレーニング", "X"} << QList<int>{0, 2};
}

void TestControls::zones() {
    QFETCH(QStringList, items);
    QFETCH(QList<int>, zones);
    std::unique_ptr<QWidget> form = buildWindow(layout::expenditure());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    const qreal zone = area->zoneWidth();
    // Fourteen average character widths of the 9-point face.
    const QFontMetrics metrics(area->font());
    QVERIFY(zone >= 14 * metrics.horizontalAdvance(u'x') - 14 &&
            zone <= 14 * metrics.horizontalAdvance(u'x') + 14);
    QVERIFY(metrics.horizontalAdvance(QStringLiteral("筋力トレーニング")) > zone);
    QList<int> expected;
    for (int z : zones)
        expected.append(qRound(z * zone));
    QCOMPARE(area->itemPositions(items), expected);
}

void TestControls::zonedItemIsDrawnAtItsZone() {
    std::unique_ptr<QWidget> form = shown(layout::expenditure());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    PictureLines& lines = area->lines();
    lines.nextZone();
    lines.printLine(QString(QChar(0x2588)));
    const QImage image = grabbed(area);
    const QRect surface = area->contentsRect();
    const int x = firstInkedColumn(image, surface, area->palette().color(QPalette::Window).rgb());
    // Within the glyph's side bearing of the zone start.
    QVERIFY2(qAbs(x - (surface.left() + area->zoneWidth())) <= 2, qPrintable(QString::number(x)));
}

void TestControls::clearingResetsThePrintPosition() {
    std::unique_ptr<QWidget> form = shown(layout::rmr());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    PictureLines& lines = area->lines();
    for (int i = 0; i < 5; ++i)
        lines.printLine(QStringLiteral("line %1").arg(i));
    lines.print(QStringLiteral("open"));
    lines.nextZone();
    lines.clear();
    const QRect surface = area->contentsRect();
    const QRgb background = area->palette().color(QPalette::Window).rgb();
    QVERIFY(inkedRows(grabbed(area), surface, background).isEmpty());
    lines.printLine(QStringLiteral("田"));
    QCOMPARE(lines.lines(), QList<QStringList>{QStringList{QStringLiteral("田")}});
    const QImage image = grabbed(area);
    const QList<int> rows = inkedRows(image, surface, background);
    QVERIFY(!rows.isEmpty());
    QVERIFY(rows.last() < surface.top() + area->lineHeight() + 2);
    QVERIFY(firstInkedColumn(image, surface, background) < surface.left() + 3);
}

void TestControls::printedTextSurvivesRepaint() {
    std::unique_ptr<QWidget> form = shown(layout::setMeal());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    area->lines().printLine(QStringLiteral("1   散歩    3"));
    QApplication::processEvents();
    const QImage first = grabbed(area);
    const QRgb background = area->palette().color(QPalette::Window).rgb();
    QVERIFY(!inkedRows(first, area->contentsRect(), background).isEmpty());
    // Cover it with another window's worth of widget, then uncover it.
    QWidget cover(form.get());
    cover.setAutoFillBackground(true);
    cover.setGeometry(form->rect());
    cover.show();
    QApplication::processEvents();
    cover.hide();
    area->repaint();
    QApplication::processEvents();
    QCOMPARE(grabbed(area), first);
}

void TestControls::ordinaryTextIsWhole_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("items"); // typed into a box, or the items of one printed line
    auto row = [](const char* window, const QString& control, const QStringList& items) {
        QTest::addRow("%s %s \"%s\"", window, qPrintable(control), qPrintable(items.join(u'|')))
            << QString::fromUtf8(window) << control << items;
    };
    for (int i = 1; i <= 30; ++i)
        row("摂取", QStringLiteral("Text%1").arg(i), {"300"});
    for (int i = 1; i <= 16; i += 2) {
        row("消費", QStringLiteral("Text%1").arg(i), {"300"});
        row("消費", QStringLiteral("Text%1").arg(i + 1), {"120"});
    }
    row("消費", "Text17", {"2"});
    row("標準", "Text1", {"1655"});
    row("標準", "Text2", {"65"});

    // The widest names of the sample tables, with row numbers as each panel
    // shows them.
    row("定食1", "Picture1", {"202   煮込みハンバーグ定食    900"});
    row("定食1", "Picture2", {"243   煮込みハンバーグ定食    900"});
    row("定食1", "Picture3", {"284   煮込みハンバーグ定食    900"});
    row("定食1", "Picture4", {"161   煮込みハンバーグ定食    900"});
    row("RMR", "Picture1", {"14   ランニング（速め）    12"});
    row("RMR", "Picture2", {"40   ジョギング（軽め）    12"});
    row("RMR", "Picture3", {"60   ランニング（速め）    12"});
    // Six full-width characters fit one print zone; the value follows in the next.
    row("消費", "Picture1", {" 25 ", "水中運動体操", " 15 "});
    row("消費", "Picture2", {" 50 ", "水中運動体操", " 15 "});

    for (const char* total : {" 0.9821 ", " 32219.79 ", "-32181.45 ", " 1949.469 ", " 98.32999 "})
        row("消費", "Picture3", {total});
    for (const char* weight : {" 809.1 ", " 52.36 ", "-90 "})
        row("標準", "Picture1", {weight});
    row("標準", "Picture2", {" 9900 "});
    for (const char* meal : {"Picture1", "Picture2", "Picture3"})
        row("摂取", meal, {" 9990 "});
    row("摂取", "Picture4", {" 29970 "});
}

// Entries, listing rows and results as users meet them are shown whole: a
// box does not scroll or wrap them, a picture area does not cut them off.
void TestControls::ordinaryTextIsWhole() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QStringList, items);
    std::unique_ptr<QWidget> form = shown(windowNamed(window));
    auto* w = form->findChild<QWidget*>(control);
    QVERIFY(w);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const int start = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
        QTest::keyClicks(edit, items.first());
        QCOMPARE(edit->text(), items.first());
        edit->grab(); // drawing scrolls the text to the cursor if it does not fit
        edit->setCursorPosition(0);
        QCOMPARE(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), start);
    } else if (auto* box = qobject_cast<TextBox*>(w)) {
        QTest::keyClicks(box, items.first());
        QCOMPARE(box->text(), items.first());
        QTextCursor cursor(box->document());
        const QRect first = box->cursorRect(cursor);
        cursor.movePosition(QTextCursor::End);
        const QRect last = box->cursorRect(cursor);
        QCOMPARE(last.top(), first.top()); // not wrapped
        QVERIFY(last.right() < box->viewport()->width());
        QVERIFY(last.bottom() < box->viewport()->height());
    } else {
        auto* area = qobject_cast<PictureArea*>(w);
        QVERIFY(area);
        QString last = items.last();
        while (last.endsWith(u' '))
            last.chop(1); // a trailing space shows nothing
        const qreal end =
            area->itemPositions(items).last() + QFontMetricsF(area->font()).horizontalAdvance(last);
        QVERIFY2(end <= area->contentsRect().width(),
                 qPrintable(QStringLiteral("ends at %1 of %2").arg(end).arg(area->contentsRect().width())));
    }
}

void TestControls::widestListingRowKeepsNumberAndValue_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("zoned");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reads"); // what assistive technology reads
    const QString kanji = QStringLiteral("国産牛焼肉御膳特上盛");
    const QString formatted = QStringLiteral("300   国産牛焼肉御膳特上盛    32767");
    const QString zoned = QStringLiteral(" 300 \t国産牛焼肉御膳特上盛\t 32767 ");
    // The narrowest panel of each style; how the name gives way at each
    // width is tst_linefitting's.
    QTest::newRow("定食1, 161 px") << "定食1"
                                   << "Picture1" << false << kanji << formatted;
    QTest::newRow("消費, 177 px") << "消費"
                                  << "Picture2" << true << kanji << zoned;
    // Too long to squeeze: cut short with "…", still read whole.
    QTest::newRow("定食1, a fifteen-character name")
        << "定食1"
        << "Picture1" << false << "自転車エルゴメーター（高負荷）"
        << "300   自転車エルゴメーター（高負荷）    32767";
}

// The number and the value of a listing row are what the user looks it up
// for: they are drawn whole inside the panel, where assistive technology is
// told they are, and the name gives way.
void TestControls::widestListingRowKeepsNumberAndValue() {
    QFETCH(QString, window);
    QFETCH(QString, panel);
    QFETCH(bool, zoned);
    QFETCH(QString, name);
    QFETCH(QString, reads);
    std::unique_ptr<QWidget> form = shown(windowNamed(window));
    auto* area = form->findChild<PictureArea*>(panel);
    QVERIFY(area);
    Table table;
    table.rowForLoading(300) = TableRow{name, 32767};
    printListingRow(area->lines(), zoned ? ListingStyle::Zoned : ListingStyle::Formatted, table, 300);

    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(area)->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), reads);
    const QImage image = grabbed(area);
    const QRgb background = area->palette().color(QPalette::Window).rgb();
    const QRect surface = area->contentsRect();
    const qsizetype numberStart = reads.indexOf(QStringLiteral("300"));
    const qsizetype valueStart = reads.lastIndexOf(QStringLiteral("32767"));
    QList<qsizetype> digits;
    for (qsizetype i = 0; i < 3; ++i)
        digits.append(numberStart + i);
    for (qsizetype i = 0; i < 5; ++i)
        digits.append(valueStart + i);
    for (qsizetype offset : digits) {
        const QRect global = text->characterRect(int(offset));
        const QRect place(area->mapFromGlobal(global.topLeft()), global.size());
        const QString where = QStringLiteral("%1 at %2..%3 of %4..%5")
                                  .arg(reads.at(offset))
                                  .arg(place.left())
                                  .arg(place.right())
                                  .arg(surface.left())
                                  .arg(surface.right());
        QVERIFY2(surface.contains(place), qPrintable(where));
        QVERIFY2(!inkedRows(image, place, background).isEmpty(),
                 qPrintable(where + QStringLiteral(": not drawn")));
        QCOMPARE(text->offsetAtPoint(global.center()), int(offset));
    }
}

void TestControls::captionsBreakBetweenWords_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("after hiragana, before katakana") << "次のページ" << 47 << QStringList{"次の", "ページ"};
    QTest::newRow("kanji only: between any two") << "性別" << 17 << QStringList{"性", "別"};
    QTest::newRow("one line where it fits") << "次のページ" << 60 << QStringList{"次のページ"};
}

// A caption too wide for its button breaks where a reader expects it.
void TestControls::captionsBreakBetweenWords() {
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    const QFont font = toQFont(layout::Font{QStringLiteral("ＭＳ Ｐゴシック"), 9});
    QCOMPARE(captionLines(font, caption, width), lines);
}

void TestControls::imageStretchedOrAtOwnSize_data() {
    QTest::addColumn<bool>("stretched");
    QTest::newRow("stretched") << true;
    QTest::newRow("own size at the top-left") << false;
}

void TestControls::imageStretchedOrAtOwnSize() {
    QFETCH(bool, stretched);
    QWidget form;
    form.resize(100, 100);
    ImageControl image(&form);
    image.setGeometry(10, 10, 40, 40);
    image.setStretched(stretched);
    QPixmap red(10, 10);
    red.fill(Qt::red);
    image.setPicture(red);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage shot = grabbed(&image);
    QCOMPARE(QColor(shot.pixel(2, 2)), QColor(Qt::red));
    QCOMPARE(QColor(shot.pixel(35, 35)) == QColor(Qt::red), stretched);
}

void TestControls::hiddenImageLendsItsPicture() {
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* shown = form->findChild<ImageControl*>(QStringLiteral("Image1"));
    auto* heavy = form->findChild<ImageControl*>(QStringLiteral("Image2"));
    QVERIFY(shown && heavy);
    QVERIFY(shown->isVisible());
    QVERIFY(!heavy->isVisible());
    QPixmap picture(73, 84);
    picture.fill(Qt::blue);
    heavy->setPicture(picture);
    QVERIFY(!heavy->isVisible());
    shown->copyPictureFrom(*heavy);
    QCOMPARE(shown->picture().toImage(), picture.toImage());
    QVERIFY(!heavy->isVisible());
    QCOMPARE(heavy->picture().toImage(), picture.toImage()); // the holder keeps it
    const QImage shot = grabbed(shown);
    QCOMPARE(QColor(shot.pixel(shot.width() - 2, shot.height() - 2)), QColor(Qt::blue)); // stretched to fill
}

YOMORISU_GUI_TEST_MAIN(TestControls)
#include "tst_controls.moc"
