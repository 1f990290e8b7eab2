// What assistive technology sees: every control reachable from its window
// with a name that says what it is, and picture areas as read-only text that
// follows what is printed.

#include "windowrows.h"
#include "windows/builder.h"
#include "windows/picturearea.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(const layout::Window*)

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
    void pictureAreaReadsAsItsPrintedLines_data();
    void pictureAreaReadsAsItsPrintedLines();
    void pictureAreaTextOffsetsMatchTheScreen();
    void printingIsAnnouncedOnce();
    void clearingIsAnnounced();
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

void TestAccessibility::pictureAreaReadsAsItsPrintedLines_data() {
    QTest::addColumn<QString>("expected");
    QTest::newRow("one number") << " 1234 ";
    QTest::newRow("formatted rows") << "1   散歩    3\n12       ";
    QTest::newRow("zoned row") << " 1 \t散歩\t 3 ";
    QTest::newRow("empty line between") << "a\n\nb";
}

void TestAccessibility::pictureAreaReadsAsItsPrintedLines() {
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
    PrintedLines& lines = area->lines();
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
             area->contentsRect().topLeft() + QPoint(area->zoneWidth(), 0));
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

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
