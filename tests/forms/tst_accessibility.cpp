// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology sees: every control reachable from its window
// with a name that says what it is, and picture areas as read-only text that
// follows what is printed.

#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/builder.h"
#include "forms/picturearea.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "shellfixture.h"
#include "tables/tableload.h"
#include "windowrows.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(const layout::Window*)

namespace {

// Test texts spell the characters that cannot travel as letters: Z for
// U+0000, H and L for a high and a low surrogate, R for U+FFFD.
QString withMarksDecoded(QString text) {
    text.replace(u'Z', QChar(0));
    text.replace(u'H', QChar(0xD842));
    text.replace(u'L', QChar(0xDFB7));
    text.replace(u'R', QChar::ReplacementCharacter);
    return text;
}

// How a screen reader or voice control puts text into a box.
enum class TextChange { SetValue, Insert, Replace };
} // namespace
Q_DECLARE_METATYPE(TextChange)

namespace {

struct TextUpdate {
    int position;
    QString removed;
    QString inserted;
};

// Offscreen there is no accessibility bridge, so Qt drops the events; the
// area tells the same news by signal.
QList<TextUpdate> updates(const QSignalSpy& spy) {
    QList<TextUpdate> result;
    for (const QList<QVariant>& args : spy)
        result.append({args[0].toInt(), args[1].toString(), args[2].toString()});
    return result;
}

// Names of everything reachable from the window's interface, by objectName.
QMap<QString, QAccessibleInterface*> reachable(QWidget* form) {
    QMap<QString, QAccessibleInterface*> found;
    QList<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(form)};
    while (!pending.isEmpty()) {
        QAccessibleInterface* node = pending.takeFirst();
        if (!node)
            continue;
        if (QObject* o = node->object(); o && o != form)
            found.insert(o->objectName(), node);
        for (int i = 0; i < node->childCount(); ++i)
            pending.append(node->child(i));
    }
    return found;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyControlIsReachableAndNamed_data();
    void everyControlIsReachableAndNamed();
    void boxesAreNamedByTheirLabels_data();
    void boxesAreNamedByTheirLabels();
    void pictureAreaReadsAsItsPictureLines_data();
    void pictureAreaReadsAsItsPictureLines();
    void pictureAreaTextOffsetsMatchTheScreen();
    void printingIsAnnouncedOnce();
    void clearingIsAnnounced();
    void limitHoldsForTextFromAssistiveTechnology_data();
    void limitHoldsForTextFromAssistiveTechnology();
    void charactersThatCannotTravelAreReplaced_data();
    void charactersThatCannotTravelAreReplaced();
    void documentBoxReplacesThemToo_data() { charactersThatCannotTravelAreReplaced_data(); }
    void documentBoxReplacesThemToo();
    void zeroByteInANameKeepsEveryLine();
};

void TestAccessibility::everyControlIsReachableAndNamed_data() {
    QTest::addColumn<const layout::Window*>("window");
    for (const layout::Window* w : allWindows())
        QTest::newRow(qPrintable(w->name)) << w;
}

void TestAccessibility::everyControlIsReachableAndNamed() {
    QFETCH(const layout::Window*, window);
    std::unique_ptr<QWidget> form = shown(*window);
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(form.get());
    QCOMPARE(top->text(QAccessible::Name), window->caption);
    QCOMPARE(top->role(), QAccessible::Window);
    const QMap<QString, QAccessibleInterface*> found = reachable(form.get());
    for (const layout::Control& c : window->controls) {
        if (c.kind == layout::ControlKind::FileDialog || (c.settings & layout::Hidden))
            continue;
        QAccessibleInterface* node = found.value(c.name);
        QVERIFY2(node, qPrintable(c.name));
        const QString expectedName = c.accessibleName.isEmpty() ? c.caption : c.accessibleName;
        QVERIFY2(!expectedName.isEmpty(), qPrintable(c.name + QStringLiteral(" has nothing to be called")));
        QCOMPARE(node->text(QAccessible::Name), expectedName);
        switch (c.kind) {
        case layout::ControlKind::CommandButton:
            QCOMPARE(node->role(), QAccessible::Button);
            break;
        case layout::ControlKind::Label:
            QCOMPARE(node->role(), QAccessible::StaticText);
            break;
        case layout::ControlKind::TextBox:
            QCOMPARE(node->role(), QAccessible::EditableText);
            QVERIFY(!node->state().readOnly);
            QVERIFY(node->textInterface());
            break;
        case layout::ControlKind::PictureArea:
            QCOMPARE(node->role(), QAccessible::EditableText);
            QVERIFY(node->state().readOnly);
            QVERIFY(node->state().focusable);
            QVERIFY(node->textInterface());
            QCOMPARE(node->textInterface()->characterCount(), 0);
            break;
        case layout::ControlKind::Image:
            QCOMPARE(node->role(), QAccessible::Graphic);
            break;
        case layout::ControlKind::FileDialog:
            break;
        }
    }
}

void TestAccessibility::boxesAreNamedByTheirLabels_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("first breakfast box") << "摂取"
                                         << "Text1"
                                         << "朝食 1";
    QTest::newRow("last breakfast box") << "摂取"
                                        << "Text10"
                                        << "朝食 10";
    QTest::newRow("first lunch box") << "摂取"
                                     << "Text11"
                                     << "昼食 1";
    QTest::newRow("last dinner box") << "摂取"
                                     << "Text30"
                                     << "夕食 10";
    QTest::newRow("breakfast sum") << "摂取"
                                   << "Picture1"
                                   << "朝食合計";
    QTest::newRow("day total") << "摂取"
                               << "Picture4"
                               << "合計摂取熱量";
    QTest::newRow("height") << "標準"
                            << "Text1"
                            << "身長";
    QTest::newRow("weight") << "標準"
                            << "Text2"
                            << "体重";
    QTest::newRow("standard weight") << "標準"
                                     << "Picture1"
                                     << "標準体重";
    QTest::newRow("BMI") << "標準"
                         << "Picture2"
                         << "BMI　指数";
    QTest::newRow("exercise 1 number") << "消費"
                                       << "Text1"
                                       << "種目番号 1";
    QTest::newRow("exercise 8 minutes") << "消費"
                                        << "Text16"
                                        << "時間 8";
    QTest::newRow("sex") << "消費"
                         << "Text17"
                         << "性別";
    QTest::newRow("energy") << "消費"
                            << "Picture3"
                            << "合計";
    QTest::newRow("document") << "病気"
                              << "Text1"
                              << "病気の説明等";
}

void TestAccessibility::boxesAreNamedByTheirLabels() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    std::unique_ptr<QWidget> form = shown(windowNamed(window));
    QWidget* w = form->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), accessibleName);
}

void TestAccessibility::pictureAreaReadsAsItsPictureLines_data() {
    QTest::addColumn<QString>("expected");
    QTest::newRow("one number") << " 1234 ";
    QTest::newRow("formatted rows") << "1   散歩    3\n12       ";
    QTest::newRow("zoned row") << " 1 \t散歩\t 3 ";
    QTest::newRow("empty line between") << "a\n\nb";
}

void TestAccessibility::pictureAreaReadsAsItsPictureLines() {
    QFETCH(QString, expected);
    std::unique_ptr<QWidget> form = shown(layout::intake());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    for (const QString& line : expected.split(u'\n')) {
        const QStringList items = line.split(u'\t');
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i > 0)
                area->lines().nextZone();
            area->lines().print(items[i]);
        }
        area->lines().endLine();
    }
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(area);
    QAccessibleTextInterface* text = node->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), int(expected.size()));
    QCOMPARE(text->text(0, text->characterCount()), expected);
    QCOMPARE(node->text(QAccessible::Value), expected);
    QCOMPARE(text->text(1, 3), expected.mid(1, 2));
}

// Where a screen magnifier is told a character is, is where it is drawn, and
// back again.
void TestAccessibility::pictureAreaTextOffsetsMatchTheScreen() {
    std::unique_ptr<QWidget> form = shown(layout::expenditure());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    PictureLines& lines = area->lines();
    lines.print(QStringLiteral(" 1 "));
    lines.nextZone();
    lines.print(QStringLiteral("散歩"));
    lines.nextZone();
    lines.printLine(QStringLiteral(" 3 "));
    lines.printLine(QStringLiteral("次の行"));
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(area)->textInterface();
    const QString all = text->text(0, text->characterCount());
    const int walk = int(all.indexOf(QStringLiteral("散")));
    const int next = int(all.indexOf(QStringLiteral("次")));
    const QRect walkRect = text->characterRect(walk);
    const QRect nextRect = text->characterRect(next);
    QCOMPARE(area->mapFromGlobal(walkRect.topLeft()),
             area->contentsRect().topLeft() + QPoint(qRound(area->zoneWidth()), 0));
    QCOMPARE(area->mapFromGlobal(nextRect.topLeft()),
             area->contentsRect().topLeft() + QPoint(0, area->lineHeight()));
    for (int offset : {walk, walk + 1, next, next + 2})
        QCOMPARE(text->offsetAtPoint(text->characterRect(offset).center()), offset);
    QCOMPARE(text->offsetAtPoint(area->mapToGlobal(area->rect().bottomRight())), -1);
}

// A listing prints many items in one click; assistive technology hears of
// the result once, as text added.
void TestAccessibility::printingIsAnnouncedOnce() {
    std::unique_ptr<QWidget> form = shown(layout::rmr());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    QSignalSpy spy(area, &PictureArea::printedTextChanged);
    for (int row = 1; row <= 20; ++row)
        area->lines().printLine(QStringLiteral("%1   散歩    3").arg(row));
    QCOMPARE(spy.size(), 0); // not while the click is still printing
    QTRY_COMPARE(spy.size(), 1);
    QApplication::processEvents();
    QCOMPARE(spy.size(), 1);
    const TextUpdate update = updates(spy).first();
    QCOMPARE(update.position, 0);
    QCOMPARE(update.removed, QString());
    QCOMPARE(update.inserted, area->lines().text());

    spy.clear();
    area->lines().printLine(QStringLiteral("21"));
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(updates(spy).first().position, int(area->lines().text().size() - 3));
    QCOMPARE(updates(spy).first().inserted, QStringLiteral("\n21"));
}

void TestAccessibility::clearingIsAnnounced() {
    std::unique_ptr<QWidget> form = shown(layout::intake());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture4"));
    QSignalSpy spy(area, &PictureArea::printedTextChanged);
    area->lines().printLine(QStringLiteral(" 1200 "));
    QTRY_COMPARE(spy.size(), 1);
    spy.clear();
    area->lines().clear();
    area->lines().printLine(QStringLiteral(" 1800 "));
    QTRY_COMPARE(spy.size(), 1);
    const TextUpdate update = updates(spy).first();
    QCOMPARE(update.position, 2);
    QCOMPARE(update.removed, QStringLiteral("2"));
    QCOMPARE(update.inserted, QStringLiteral("8"));
    QCOMPARE(QAccessible::queryAccessibleInterface(area)->textInterface()->text(0, -1),
             QStringLiteral(" 1800 "));

    spy.clear();
    area->lines().clear();
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(updates(spy).first().removed, QStringLiteral(" 1800 "));
    QCOMPARE(QAccessible::queryAccessibleInterface(area)->textInterface()->characterCount(), 0);
}

void TestAccessibility::limitHoldsForTextFromAssistiveTechnology_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<TextChange>("change");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("weight: ten digits set as the value")
        << "Text2"
        << "" << TextChange::SetValue << 0 << 0 << "1234567890"
        << "12";
    QTest::newRow("height: ten digits set over two") << "Text1"
                                                     << "17" << TextChange::SetValue << 0 << 0 << "1234567890"
                                                     << "1234";
    QTest::newRow("height: a value that fits") << "Text1"
                                               << "17" << TextChange::SetValue << 0 << 0 << "160"
                                               << "160";
    QTest::newRow("weight: a line break counts two") << "Text2"
                                                     << "" << TextChange::SetValue << 0 << 0 << "6\n5"
                                                     << "6";
    QTest::newRow("weight: inserted after one digit") << "Text2"
                                                      << "6" << TextChange::Insert << 1 << 0 << "5kg"
                                                      << "65";
    QTest::newRow("height: inserted in the middle, what follows stays")
        << "Text1"
        << "15" << TextChange::Insert << 1 << 0 << "6099"
        << "1605";
    QTest::newRow("weight: inserted into a full box") << "Text2"
                                                      << "65" << TextChange::Insert << 0 << 0 << "1"
                                                      << "65";
    QTest::newRow("height: a range replaced") << "Text1"
                                              << "1705" << TextChange::Replace << 0 << 2 << "9999"
                                              << "9905";
}

void TestAccessibility::limitHoldsForTextFromAssistiveTechnology() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(TextChange, change);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, text);
    QFETCH(QString, after);
    std::unique_ptr<QWidget> form = shown(layout::body());
    auto* box = form->findChild<TextBox*>(name);
    QVERIFY(box);
    box->setText(before);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
    QVERIFY(node);
    switch (change) {
    case TextChange::SetValue:
        node->setText(QAccessible::Value, text);
        break;
    case TextChange::Insert:
        QVERIFY(node->editableTextInterface());
        node->editableTextInterface()->insertText(start, text);
        break;
    case TextChange::Replace:
        QVERIFY(node->editableTextInterface());
        node->editableTextInterface()->replaceText(start, end, text);
        break;
    }
    QCOMPARE(box->text(), after);
    QCOMPARE(node->text(QAccessible::Value), after);
    QCOMPARE(node->textInterface()->characterCount(), int(after.size()));
}

// A zero character would cut the text short on its way to a screen reader and
// a lone surrogate would break it; each is replaced, one for one, so offsets
// still match the screen. Written with Z for U+0000, H and L for lone high and
// low surrogates, and R for U+FFFD.
void TestAccessibility::charactersThatCannotTravelAreReplaced_data() {
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero in a name") << "1   AZB    1\n2   C    2"
                                    << "1   ARB    1\n2   C    2";
    QTest::newRow("zero alone on a line") << "Z\nZZ\nx"
                                          << "R\nRR\nx";
    QTest::newRow("lone high surrogate at the end of an item") << "aH\tb"
                                                               << "aR\tb";
    QTest::newRow("lone low surrogate") << "Lx"
                                        << "Rx";
    QTest::newRow("a pair split by a zone move") << "aH\tLb"
                                                 << "aR\tRb";
    QTest::newRow("a pair is a character") << "HL野家"
                                           << "HL野家";
}

void TestAccessibility::charactersThatCannotTravelAreReplaced() {
    QFETCH(QString, printed);
    QFETCH(QString, expected);
    printed = withMarksDecoded(printed);
    expected = withMarksDecoded(expected);

    std::unique_ptr<QWidget> form = shown(layout::setMeal());
    auto* area = form->findChild<PictureArea*>(QStringLiteral("Picture1"));
    QSignalSpy spy(area, &PictureArea::printedTextChanged);
    for (const QString& line : printed.split(u'\n')) {
        const QStringList items = line.split(u'\t');
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (i > 0)
                area->lines().nextZone();
            area->lines().print(items[i]);
        }
        area->lines().endLine();
    }
    QCOMPARE(area->lines().text(), printed); // the screen keeps what was printed

    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(area);
    QAccessibleTextInterface* text = node->textInterface();
    QCOMPARE(text->characterCount(), int(expected.size()));
    QCOMPARE(text->text(0, -1), expected);
    QCOMPARE(node->text(QAccessible::Value), expected);
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(updates(spy).first().inserted, expected);
}

// The document box shows a loaded file as it is; what it hands a screen
// reader has the same replacements, one for one.
void TestAccessibility::documentBoxReplacesThemToo() {
    QFETCH(QString, printed);
    QFETCH(QString, expected);
    printed = withMarksDecoded(printed);
    expected = withMarksDecoded(expected);
    std::unique_ptr<QWidget> form = shown(layout::documents());
    auto* box = form->findChild<TextBox*>(QStringLiteral("Text1"));
    box->setText(printed);
    QCOMPARE(box->toPlainText(), printed); // what is drawn is unchanged

    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
    QAccessibleTextInterface* text = node->textInterface();
    QCOMPARE(node->text(QAccessible::Value), expected);
    QCOMPARE(text->characterCount(), int(expected.size()));
    QCOMPARE(text->text(0, -1), expected);
    // A range whose edge cuts a pair reads as the halves the whole text has.
    for (int start = 0; start < expected.size(); ++start)
        QCOMPARE(text->text(start, start + 1), expected.mid(start, 1));
    QString walked;
    for (int offset = 0; offset < text->characterCount();) {
        int from = 0;
        int to = 0;
        walked += text->textAtOffset(offset, QAccessible::LineBoundary, &from, &to);
        QVERIFY(to > offset);
        offset = to;
    }
    QCOMPARE(walked, expected);
}

// The fault as it was found: a zero byte in the first name of 定食.csv, and
// a screen reader heard the first line up to it and nothing more.
void TestAccessibility::zeroByteInANameKeepsEveryLine() {
    ShellFixture app;
    const QString path = QDir(app.dir.path()).filePath(SetMealFileName);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("A\0B,1\r\n", 7));
    file.write(codePage932(tableText(39, QStringLiteral("定食"), [](int n) { return n; })));
    file.close();
    app.shell.open<SetMealWindow>();
    SetMealWindow& window = app.shell.window<SetMealWindow>();
    auto* area = window.control<PictureArea>(QStringLiteral("Picture1"));
    QSignalSpy spy(area, &PictureArea::printedTextChanged);
    ShellFixture::click(window, QStringLiteral("Command1"));
    QVERIFY(app.errors.errors.isEmpty());
    QCOMPARE(area->lines().lineCount(), 40);

    const QString heard = QAccessible::queryAccessibleInterface(area)->textInterface()->text(0, -1);
    QVERIFY(!heard.contains(QChar(0)));
    const QStringList lines = heard.split(u'\n');
    QCOMPARE(lines.size(), 40);
    QCOMPARE(lines.first(), QStringLiteral("1   A\uFFFDB    1"));
    for (int k = 1; k < 40; ++k)
        QCOMPARE(lines[k], area->lines().lineText(k));
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(updates(spy).first().inserted, heard);
}

YOMORISU_GUI_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
