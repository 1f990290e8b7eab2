// The on-screen part built from each window's layout: every control with its
// kind, caption, place, font, colours, settings and tab order; focus on open.

#include "windowrows.h"
#include "windows/builder.h"
#include "windows/imagecontrol.h"
#include "windows/picturearea.h"
#include "windows/textbox.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace layout;

Q_DECLARE_METATYPE(const layout::Window*)

namespace {

QString substituteFace(const QString& designed) {
    if (designed == QStringLiteral("ＭＳ Ｐゴシック"))
        return QStringLiteral("IPAPGothic");
    if (designed == QStringLiteral("ＭＳ Ｐ明朝"))
        return QStringLiteral("IPAPMincho");
    if (designed == QStringLiteral("ＭＳ 明朝"))
        return QStringLiteral("IPAMincho");
    return designed;
}

QColor qcolor(const Colour& c) {
    return QColor(c.red, c.green, c.blue);
}

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* t = qobject_cast<TextBox*>(w))
        return t->text();
    if (qobject_cast<ImageControl*>(w))
        return QString();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    return QString();
}

bool hasKind(QWidget* w, const Control& c) {
    switch (c.kind) {
    case ControlKind::CommandButton:
        return qobject_cast<QPushButton*>(w);
    case ControlKind::Label:
        return qobject_cast<QLabel*>(w) && !qobject_cast<ImageControl*>(w);
    case ControlKind::TextBox:
        return (c.settings & MultiLine) ? qobject_cast<QPlainTextEdit*>(w) != nullptr
                                        : qobject_cast<QLineEdit*>(w) != nullptr;
    case ControlKind::PictureArea:
        return qobject_cast<PictureArea*>(w);
    case ControlKind::Image:
        return qobject_cast<ImageControl*>(w);
    case ControlKind::FileDialog:
        return false;
    }
    return false;
}

} // namespace

class TestBuilder : public QObject {
    Q_OBJECT
private slots:
    void realFontsAreInstalled_data();
    void realFontsAreInstalled();
    void window_data();
    void window();
    void control_data();
    void control();
    void designedPlacesInPixels_data();
    void designedPlacesInPixels();
    void labelsLieBeneathOtherControls_data();
    void labelsLieBeneathOtherControls();
    void documentsLabelIsCovered();
    void documentsOpeningText();
    void multiLineSettings_data();
    void multiLineSettings();
    void tabOrderWraps_data();
    void tabOrderWraps();
    void focusOnOpen_data();
    void focusOnOpen();
    void tabCycleOfBody();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void resizingMovesNothing();
};

void TestBuilder::realFontsAreInstalled_data() {
    QTest::addColumn<QString>("designed");
    QTest::addColumn<QString>("family");
    QTest::newRow("MS P Gothic") << QStringLiteral("ＭＳ Ｐゴシック") << QStringLiteral("IPAPGothic");
    QTest::newRow("MS P Mincho") << QStringLiteral("ＭＳ Ｐ明朝") << QStringLiteral("IPAPMincho");
    QTest::newRow("MS Mincho") << QStringLiteral("ＭＳ 明朝") << QStringLiteral("IPAMincho");
}

// Everything below measures with the substitutes; without them the counts of
// visible lines and the caption widths would be checked against some other
// face.
void TestBuilder::realFontsAreInstalled() {
    QFETCH(QString, designed);
    QFETCH(QString, family);
    std::unique_ptr<QWidget> form(buildWindow(layout::mainMenu())); // installs the substitutions
    QCOMPARE(QFontInfo(QFont(designed)).family(), family);
}

void TestBuilder::window_data() {
    QTest::addColumn<const Window*>("window");
    for (const Window* w : allWindows())
        QTest::newRow(qPrintable(w->name)) << w;
}

void TestBuilder::window() {
    QFETCH(const Window*, window);
    std::unique_ptr<QWidget> form(buildWindow(*window));
    QCOMPARE(form->objectName(), window->name);
    QCOMPARE(form->windowTitle(), window->caption);
    QVERIFY(form->isWindow());
    QCOMPARE(form->geometry().size(),
             QSize(twipsToPixels(window->clientWidth), twipsToPixels(window->clientHeight)));
    if (window->position)
        QCOMPARE(form->geometry().topLeft(),
                 QPoint(twipsToPixels(window->position->x()), twipsToPixels(window->position->y())));
    const QColor background =
        window->background ? qcolor(*window->background) : QApplication::palette().color(QPalette::Window);
    QCOMPARE(form->palette().color(QPalette::Window), background);
    QVERIFY(form->autoFillBackground());
    QCOMPARE(QFontInfo(form->font()).family(), substituteFace(window->font.face));
    QCOMPARE(form->font().pixelSize(), qRound(window->font.points * 4 / 3));
    // An ordinary resizable frame with the usual buttons.
    QVERIFY(form->minimumSize() != form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
}

void TestBuilder::control_data() {
    QTest::addColumn<const Window*>("window");
    QTest::addColumn<QString>("name");
    for (const Window* w : allWindows()) {
        for (const Control& c : w->controls) {
            if (c.kind != ControlKind::FileDialog)
                QTest::addRow("%s %s", qPrintable(w->name), qPrintable(c.name)) << w << c.name;
        }
    }
}

void TestBuilder::control() {
    QFETCH(const Window*, window);
    QFETCH(QString, name);
    const Control& c = *window->control(name);
    std::unique_ptr<QWidget> form(buildWindow(*window));
    const QList<QWidget*> found = form->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QCOMPARE(found.size(), 1);
    QWidget* w = found.first();

    QVERIFY(hasKind(w, c));
    QCOMPARE(captionOf(w), c.caption);
    QCOMPARE(w->geometry(), QRect(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width),
                                  twipsToPixels(c.height)));

    const Font font = c.font.value_or(window->font);
    const QFontInfo info(w->font());
    QCOMPARE(info.family(), substituteFace(font.face));
    QCOMPARE(w->font().pixelSize(), qRound(font.points * 4 / 3));
    QCOMPARE(info.bold(), font.bold);
    QCOMPARE(info.italic(), font.italic);

    // Listed colours, else the system's for that kind of control.
    const QPalette system = QApplication::palette();
    const QPalette pal = w->palette();
    auto expect = [&](const std::optional<Colour>& listed, QPalette::ColorRole role) {
        return listed ? qcolor(*listed) : system.color(role);
    };
    switch (c.kind) {
    case ControlKind::CommandButton:
        QCOMPARE(pal.color(QPalette::Button), expect(c.background, QPalette::Button));
        QCOMPARE(pal.color(QPalette::ButtonText), expect(c.foreground, QPalette::ButtonText));
        QCOMPARE(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        break;
    case ControlKind::Label:
        QCOMPARE(pal.color(QPalette::Window), expect(c.background, QPalette::Button));
        QCOMPARE(pal.color(QPalette::WindowText), expect(c.foreground, QPalette::WindowText));
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
        QCOMPARE(static_cast<QLabel*>(w)->alignment() & Qt::AlignHorizontal_Mask,
                 (c.settings & Centred) ? Qt::AlignHCenter : Qt::AlignLeft);
        break;
    case ControlKind::TextBox:
        QCOMPARE(pal.color(QPalette::Base), expect(c.background, QPalette::Base));
        QCOMPARE(pal.color(QPalette::Text), expect(c.foreground, QPalette::Text));
        QCOMPARE(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        if (auto* line = qobject_cast<QLineEdit*>(w))
            QCOMPARE(line->maxLength(), c.maxLength > 0 ? c.maxLength : QLineEdit().maxLength());
        else
            QCOMPARE(static_cast<TextBox*>(w)->maxLength(), c.maxLength);
        break;
    case ControlKind::PictureArea:
        QCOMPARE(pal.color(QPalette::Window), expect(c.background, QPalette::Button));
        QCOMPARE(pal.color(QPalette::WindowText), expect(c.foreground, QPalette::WindowText));
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        QCOMPARE(static_cast<PictureArea*>(w)->lines().lineCount(), 0);
        break;
    case ControlKind::Image:
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
        QCOMPARE(static_cast<ImageControl*>(w)->isStretched(), bool(c.settings & Stretched));
        break;
    case ControlKind::FileDialog:
        break;
    }
    QCOMPARE(w->isVisibleTo(form.get()), !(c.settings & Hidden));
}

// Rows typed from the design, converted by hand, to catch a wrong table row
// or a wrong conversion that the table-driven test above would repeat.
void TestBuilder::designedPlacesInPixels_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("menu title") << "健康menu"
                                << "Label1" << QRect(56, 8, 217, 17);
    QTest::newRow("menu おわり") << "健康menu"
                                 << "Command7" << QRect(136, 184, 57, 36);
    QTest::newRow("set meal panel 2") << "定食1"
                                      << "Picture2" << QRect(168, 48, 177, 457);
    QTest::newRow("intake Text30") << "摂取"
                                   << "Text30" << QRect(368, 192, 25, 25);
    QTest::newRow("intake day total") << "摂取"
                                      << "Picture4" << QRect(128, 312, 137, 41);
    QTest::newRow("RMR panel 3") << "RMR"
                                 << "Picture3" << QRect(392, 48, 217, 329);
    QTest::newRow("expenditure sex box") << "消費"
                                         << "Text17" << QRect(592, 56, 33, 25);
    QTest::newRow("expenditure panel 1") << "消費"
                                         << "Picture1" << QRect(8, 80, 185, 305);
    QTest::newRow("body hidden image") << "標準"
                                       << "Image3" << QRect(176, 192, 73, 84);
    QTest::newRow("documents box") << "病気"
                                   << "Text1" << QRect(8, 8, 681, 497);
}

void TestBuilder::designedPlacesInPixels() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    std::unique_ptr<QWidget> form(buildWindow(windowNamed(window)));
    QWidget* w = form->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), pixels);
}

void TestBuilder::labelsLieBeneathOtherControls_data() {
    window_data();
}

void TestBuilder::labelsLieBeneathOtherControls() {
    QFETCH(const Window*, window);
    std::unique_ptr<QWidget> form(buildWindow(*window));
    const QObjectList stack = form->children(); // bottom to top
    qsizetype highestSurface = -1;
    qsizetype lowestControl = stack.size();
    for (qsizetype i = 0; i < stack.size(); ++i) {
        const Control* c = window->control(stack[i]->objectName());
        if (!c)
            continue;
        if (c->kind == ControlKind::Label || c->kind == ControlKind::Image)
            highestSurface = std::max(highestSurface, i);
        else
            lowestControl = std::min(lowestControl, i);
    }
    QVERIFY(highestSurface < lowestControl);
}

void TestBuilder::documentsLabelIsCovered() {
    std::unique_ptr<QWidget> form = shown(layout::documents());
    auto* label = form->findChild<QLabel*>(QStringLiteral("Label1"));
    auto* text = form->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QVERIFY(label && text);
    QVERIFY(text->geometry().contains(label->geometry()));
    for (const QPoint& p :
         {label->geometry().topLeft(), label->geometry().center(), label->geometry().bottomRight()}) {
        QWidget* top = form->childAt(p);
        QVERIFY(top);
        QVERIFY2(top == text || text->isAncestorOf(top), qPrintable(top->objectName()));
    }
}

// The designed text ends with CR LF. The box shows it as a line followed by
// an empty one; text() gives it back exactly, toPlainText() in Qt's terms.
void TestBuilder::documentsOpeningText() {
    std::unique_ptr<QWidget> form(buildWindow(layout::documents()));
    auto* text = form->findChild<TextBox*>(QStringLiteral("Text1"));
    QVERIFY(text);
    const QString designed =
        QStringLiteral("　　　健康相談フォルダの　　　ファイルからご希望の文献を読み込んでください。！\r\n");
    QCOMPARE(text->text(), designed);
    QCOMPARE(text->toPlainText(), QString(designed).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(text->document()->blockCount(), 2);
    QCOMPARE(text->textCursor().position(), 0);
}

void TestBuilder::multiLineSettings_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("scrollBars");
    QTest::newRow("documents box: both scroll bars") << "病気"
                                                     << "Text1" << true;
    QTest::newRow("height box: wraps, no bars") << "標準"
                                                << "Text1" << false;
    QTest::newRow("weight box: wraps, no bars") << "標準"
                                                << "Text2" << false;
}

void TestBuilder::multiLineSettings() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(bool, scrollBars);
    std::unique_ptr<QWidget> form = shown(windowNamed(window));
    auto* box = form->findChild<TextBox*>(name);
    QVERIFY(box);
    QVERIFY(box->tabChangesFocus());
    const Qt::ScrollBarPolicy bars = scrollBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    QCOMPARE(box->horizontalScrollBarPolicy(), bars);
    QCOMPARE(box->verticalScrollBarPolicy(), bars);
    QCOMPARE(box->lineWrapMode(), scrollBars ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    if (box->maxLength() > 0 && box->maxLength() < 4)
        return; // no room for a line break between two digits; see the length tests
    // Enter starts a new line.
    box->setFocus();
    box->setText(QString());
    QTest::keyClick(box, Qt::Key_1);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_2);
    QCOMPARE(box->text(), QStringLiteral("1\r\n2"));
    QCOMPARE(box->document()->blockCount(), 2);
}

void TestBuilder::tabOrderWraps_data() {
    window_data();
}

// Following the focus chain from the first control visits every control that
// takes the focus in increasing tab position and comes back to the first.
void TestBuilder::tabOrderWraps() {
    QFETCH(const Window*, window);
    QStringList expected;
    QList<Control> sorted = window->controls;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Control& a, const Control& b) { return a.tab < b.tab; });
    for (const Control& c : sorted) {
        if (c.tab >= 0 && c.kind != ControlKind::Label && c.kind != ControlKind::Image &&
            c.kind != ControlKind::FileDialog)
            expected << c.name;
    }
    std::unique_ptr<QWidget> form(buildWindow(*window));
    QWidget* first = form->findChild<QWidget*>(expected.first());
    QStringList visited{first->objectName()};
    for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(form.get()) && w->parentWidget() == form.get())
            visited << w->objectName();
        QVERIFY2(visited.size() <= expected.size() + 1, "focus chain does not wrap");
    }
    QCOMPARE(visited, expected);
}

void TestBuilder::focusOnOpen_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("focused");
    QTest::newRow("menu") << "健康menu"
                          << "Command1";
    QTest::newRow("set meal: title label skipped") << "定食1"
                                                   << "Picture1";
    QTest::newRow("intake: labels skipped") << "摂取"
                                            << "Text11";
    QTest::newRow("RMR") << "RMR"
                         << "Picture1";
    QTest::newRow("expenditure") << "消費"
                                 << "Picture1";
    QTest::newRow("body: labels 0 to 2 skipped") << "標準"
                                                 << "Text1";
    QTest::newRow("documents") << "病気"
                               << "Command1";
}

void TestBuilder::focusOnOpen() {
    QFETCH(QString, window);
    QFETCH(QString, focused);
    std::unique_ptr<QWidget> form = shown(windowNamed(window));
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
}

void TestBuilder::tabCycleOfBody() {
    std::unique_ptr<QWidget> form = shown(layout::body());
    const QStringList forward{"Text2", "Command1", "Picture2", "Picture1", "Command2", "Text1", "Text2"};
    for (const QString& next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
    // The multi-line boxes pass Tab on instead of taking it as text.
    QCOMPARE(form->findChild<TextBox*>(QStringLiteral("Text1"))->text(), QString());
    const QStringList backward{"Text1", "Command2", "Picture1"};
    for (const QString& previous : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), previous);
    }
}

void TestBuilder::keysPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 1;
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 1;
    QTest::newRow("Ctrl+Return is not a press")
        << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0;
}

// Every command button of every window, given the focus as by Tab.
void TestBuilder::keysPressTheFocusedButton() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, clicks);
    for (const Window* window : allWindows()) {
        std::unique_ptr<QWidget> form = shown(*window);
        for (const Control& c : window->controls) {
            if (c.kind != ControlKind::CommandButton)
                continue;
            auto* button = form->findChild<QPushButton*>(c.name);
            button->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget(), button);
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
            QVERIFY2(clicked.count() == clicks, qPrintable(window->name + u' ' + c.name));
        }
    }
}

void TestBuilder::resizingMovesNothing() {
    std::unique_ptr<QWidget> form = shown(layout::setMeal());
    QMap<QString, QRect> before;
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        before[w->objectName()] = w->geometry();
    form->resize(form->size() / 2);
    QApplication::processEvents();
    form->resize(form->size() * 3);
    QApplication::processEvents();
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(w->geometry(), before[w->objectName()]);
}

QTEST_MAIN(TestBuilder)
#include "tst_builder.moc"
