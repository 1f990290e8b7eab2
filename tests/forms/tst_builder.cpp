// SPDX-License-Identifier: GPL-3.0-or-later
// The on-screen part built from a window's layout, against the design typed
// here: each window's frame, one control of each kind, places in pixels, tab
// order and focus on open.

#include "forms/builder.h"
#include "forms/imagecontrol.h"
#include "forms/picturearea.h"
#include "forms/screenfit.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "windowrows.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// The faces that draw Latin and Japanese text in place of a designed one.
QString substituteFaces(const QString& designed) {
    if (designed == QStringLiteral("ＭＳ Ｐゴシック"))
        return QStringLiteral("liberation sans narrow, ipapgothic");
    if (designed == QStringLiteral("ＭＳ Ｐ明朝"))
        return QStringLiteral("ipapmincho, ipapmincho");
    if (designed == QStringLiteral("ＭＳ 明朝"))
        return QStringLiteral("ipamincho, ipamincho");
    return designed;
}

QString drawingFaces(const QFont& font) {
    return (QRawFont::fromFont(font, QFontDatabase::Latin).familyName() + QStringLiteral(", ") +
            QRawFont::fromFont(font, QFontDatabase::Japanese).familyName())
        .toLower();
}

// What a control shows as its caption or text.
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

const QColor System = QColor(); // the system's colour for that kind of control

// A control's colours as the design lists them; invalid where none is.
struct DesignedColours {
    QString control;
    QColor background;
    QColor text;
};
using DesignedList = QList<DesignedColours>;

// Relative luminance and contrast ratio as WCAG 2 defines them.
double luminance(const QColor& c) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The roles a control fills its background and draws its text with.
std::pair<QPalette::ColorRole, QPalette::ColorRole> drawingRoles(QWidget* w) {
    if (qobject_cast<QPushButton*>(w))
        return {QPalette::Button, QPalette::ButtonText};
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<TextBox*>(w))
        return {QPalette::Base, QPalette::Text};
    return {QPalette::Window, QPalette::WindowText};
}

} // namespace

Q_DECLARE_METATYPE(DesignedList)

class TestBuilder : public QObject {
    Q_OBJECT
private slots:
    void realFontsAreInstalled_data();
    void realFontsAreInstalled();
    void windowsAsDesigned_data();
    void windowsAsDesigned();
    void oneControlOfEachKind_data();
    void oneControlOfEachKind();
    void textReadsOnADarkDesktop_data();
    void textReadsOnADarkDesktop();
    void designedPlacesInPixels_data();
    void designedPlacesInPixels();
    void labelsLieBeneathOtherControls();
    void documentsLabelIsCovered();
    void documentsOpeningText();
    void multiLineSettings_data();
    void multiLineSettings();
    void tabOrderWraps();
    void focusOnOpen_data();
    void focusOnOpen();
    void tabCycleOfBody();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void resizingMovesNothing();
    void windowsKeptOnScreen_data();
    void windowsKeptOnScreen();
};

void TestBuilder::realFontsAreInstalled_data() {
    QTest::addColumn<QString>("designed");
    QTest::newRow("MS P Gothic") << QStringLiteral("ＭＳ Ｐゴシック");
    QTest::newRow("MS P Mincho") << QStringLiteral("ＭＳ Ｐ明朝");
    QTest::newRow("MS Mincho") << QStringLiteral("ＭＳ 明朝");
}

// Everything below measures with the substitutes; without them the counts of
// visible lines and the caption widths would be checked against some other
// face.
void TestBuilder::realFontsAreInstalled() {
    QFETCH(QString, designed);
    std::unique_ptr<QWidget> form = buildWindow(layout::mainMenu());
    QCOMPARE(drawingFaces(QFont(designed)), substituteFaces(designed));
}

// Every window's frame as designed, the twips converted by hand.
void TestBuilder::windowsAsDesigned_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("client"); // a null place: the system chooses it
    QTest::addColumn<QColor>("background");
    QTest::addColumn<int>("fontPixels");
    const QPoint anywhere;
    QTest::newRow("健康menu") << "健康menu"
                              << "ヨモリス" << QRect(anywhere, QSize(312, 232)) << System << 12;
    QTest::newRow("定食1") << "定食1"
                           << "定食1" << QRect(anywhere, QSize(723, 509)) << QColor(192, 192, 255) << 12;
    QTest::newRow("摂取") << "摂取"
                          << "摂取" << QRect(358, 174, 473, 367) << System << 12;
    QTest::newRow("RMR") << "RMR"
                         << "ＲＭＲ" << QRect(125, 250, 723, 389) << QColor(192, 192, 255) << 12;
    QTest::newRow("消費") << "消費"
                          << "消費エネルギー" << QRect(143, 163, 681, 439) << System << 12;
    QTest::newRow("標準") << "標準"
                          << "標準" << QRect(269, 300, 490, 283) << QColor(192, 255, 192) << 16;
    QTest::newRow("病気") << "病気"
                          << "病気" << QRect(91, 93, 695, 564) << System << 12;
}

void TestBuilder::windowsAsDesigned() {
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QRect, client);
    QFETCH(QColor, background);
    QFETCH(int, fontPixels);
    std::unique_ptr<QWidget> form = buildWindow(windowNamed(window));
    QCOMPARE(form->objectName(), window);
    QCOMPARE(form->windowTitle(), caption);
    QVERIFY(form->isWindow());
    QCOMPARE(form->geometry().size(), client.size());
    if (!client.topLeft().isNull())
        QCOMPARE(form->geometry().topLeft(), client.topLeft());
    QCOMPARE(form->palette().color(QPalette::Window),
             background.isValid() ? background : QApplication::palette().color(QPalette::Window));
    QVERIFY(form->autoFillBackground());
    QCOMPARE(drawingFaces(form->font()), substituteFaces(QStringLiteral("ＭＳ Ｐゴシック")));
    QCOMPARE(form->font().pixelSize(), fontPixels);
    // An ordinary resizable frame with the usual buttons.
    QVERIFY(form->minimumSize() != form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
}

// One control of each kind, and each kind of font, colour and setting, as the
// design gives it.
void TestBuilder::oneControlOfEachKind_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QString>("style"); // b: bold, i: italic, c: centred, h: hidden, s: stretched
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<int>("maxLength"); // 0: none
    const QString gothic = QStringLiteral("liberation sans narrow, ipapgothic");
    QTest::newRow("button in the window's font") << "健康menu"
                                                 << "Command7"
                                                 << "button"
                                                 << "おわり" << gothic << 12 << "" << System << System << 0;
    QTest::newRow("bold italic button, coloured")
        << "標準"
        << "Command2"
        << "button"
        << "処方menuへ" << gothic << 16 << "bi" << QColor(192, 192, 192) << System << 0;
    QTest::newRow("centred bold title in Mincho")
        << "健康menu"
        << "Label1"
        << "label"
        << "ヨ　モ　リ　ス"
        << "ipamincho, ipamincho" << 19 << "bc" << System << System << 0;
    QTest::newRow("coloured label in P Mincho")
        << "定食1"
        << "Label1"
        << "label"
        << "食事カロリー1"
        << "ipapmincho, ipapmincho" << 24 << "" << QColor(192, 192, 255) << QColor(255, 0, 0) << 0;
    QTest::newRow("plain entry box") << "摂取"
                                     << "Text1"
                                     << "line"
                                     << "" << gothic << 12 << "" << System << System << 0;
    QTest::newRow("multi-line box of four")
        << "標準"
        << "Text1"
        << "multi"
        << "" << gothic << 21 << "" << QColor(255, 255, 255) << QColor(0, 0, 255) << 4;
    // The document scrolls, so it has no width to fit; the Japanese face alone
    // keeps its symbols full-width.
    QTest::newRow("document box")
        << "病気"
        << "Text1"
        << "multi"
        << "　　　健康相談フォルダの　　　ファイルからご希望の文献を読み込んでください。！\r\n"
        << "ipapgothic, ipapgothic" << 16 << "" << System << System << 0;
    QTest::newRow("picture area") << "消費"
                                  << "Picture3"
                                  << "picture"
                                  << "" << gothic << 19 << "" << QColor(224, 224, 224) << System << 0;
    QTest::newRow("hidden stretched image") << "標準"
                                            << "Image3"
                                            << "image"
                                            << "" << gothic << 16 << "hs" << System << System << 0;
}

void TestBuilder::oneControlOfEachKind() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, family);
    QFETCH(int, pixels);
    QFETCH(QString, style);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    QFETCH(int, maxLength);
    std::unique_ptr<QWidget> form = buildWindow(windowNamed(window));
    const QList<QWidget*> found = form->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QCOMPARE(found.size(), 1);
    QWidget* w = found.first();
    QCOMPARE(captionOf(w), caption);
    const QFontInfo info(w->font());
    QCOMPARE(drawingFaces(w->font()), family);
    QCOMPARE(w->font().pixelSize(), pixels);
    QCOMPARE(info.bold(), style.contains(u'b'));
    QCOMPARE(info.italic(), style.contains(u'i'));
    QCOMPARE(w->isVisibleTo(form.get()), !style.contains(u'h'));

    const QPalette system = QApplication::palette();
    const QPalette pal = w->palette();
    // A listed colour as listed; on a control with no colour of its own, the
    // system's. (The partner of a listed colour: textReadsOnADarkDesktop.)
    auto check = [&](QPalette::ColorRole role, const QColor& listed, QPalette::ColorRole systemRole) {
        if (listed.isValid())
            QCOMPARE(pal.color(role), listed);
        else if (!background.isValid() && !text.isValid())
            QCOMPARE(pal.color(role), system.color(systemRole));
    };
    if (kind == u"button") {
        QVERIFY(qobject_cast<QPushButton*>(w));
        check(QPalette::Button, background, QPalette::Button);
        check(QPalette::ButtonText, text, QPalette::ButtonText);
        QCOMPARE(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    } else if (kind == u"label" || kind == u"picture") {
        QVERIFY(kind == u"label" ? qobject_cast<QLabel*>(w) != nullptr
                                 : qobject_cast<PictureArea*>(w) != nullptr);
        // Picture areas without a colour take the 3-D face colour; labels
        // show the window's background.
        check(QPalette::Window, background, kind == u"label" ? QPalette::Window : QPalette::Button);
        check(QPalette::WindowText, text, kind == u"label" ? QPalette::WindowText : QPalette::ButtonText);
        QVERIFY(w->autoFillBackground());
        if (kind == u"label") {
            QCOMPARE(w->focusPolicy(), Qt::NoFocus);
            QCOMPARE(static_cast<QLabel*>(w)->alignment() & Qt::AlignHorizontal_Mask,
                     style.contains(u'c') ? Qt::AlignHCenter : Qt::AlignLeft);
        } else {
            QCOMPARE(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        }
    } else if (kind == u"line" || kind == u"multi") {
        check(QPalette::Base, background, QPalette::Base);
        check(QPalette::Text, text, QPalette::Text);
        QCOMPARE(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        if (kind == u"line")
            QCOMPARE(qobject_cast<QLineEdit*>(w)->maxLength(),
                     maxLength > 0 ? maxLength : QLineEdit().maxLength());
        else
            QCOMPARE(qobject_cast<TextBox*>(w)->maxLength(), maxLength);
    } else {
        auto* image = qobject_cast<ImageControl*>(w);
        QVERIFY(image);
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
        QCOMPARE(image->isStretched(), style.contains(u's'));
    }
}

// Rows typed from the design, converted by hand, to catch a wrong table row
// or a wrong conversion that the table-driven test above would repeat.
void TestBuilder::textReadsOnADarkDesktop_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<DesignedList>("designed");
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    const QColor orange(255, 128, 0);
    const QColor lilac(192, 192, 255);
    const QColor green(192, 255, 192);
    const QColor cream(255, 255, 192);
    const QColor grey(192, 192, 192);
    QTest::newRow("健康menu") << "健康menu" << DesignedList{};
    QTest::newRow("定食1") << "定食1" << DesignedList{{"Label1", lilac, red},     {"Picture1", white, black},
                                                      {"Picture2", white, black}, {"Picture3", white, black},
                                                      {"Picture4", white, black}, {"Label2", lilac, System}};
    QTest::newRow("摂取") << "摂取"
                          << DesignedList{
                                 {"Label1", System, red},     {"Label3", System, red},
                                 {"Label5", System, blue},    {"Label6", System, QColor(0, 192, 0)},
                                 {"Label7", System, orange},  {"Picture1", white, System},
                                 {"Picture2", cream, System}, {"Picture3", QColor(255, 224, 192), System},
                                 {"Label12", System, red}};
    QTest::newRow("RMR") << "RMR"
                         << DesignedList{{"Label1", lilac, red},
                                         {"Picture1", white, System},
                                         {"Picture2", white, System},
                                         {"Picture3", white, System}};
    QTest::newRow("消費") << "消費"
                          << DesignedList{{"Label1", System, blue},
                                          {"Picture1", cream, System},
                                          {"Picture2", cream, System},
                                          {"Label2", System, QColor(255, 255, 0)},
                                          {"Picture3", QColor(224, 224, 224), System},
                                          {"Label8", System, red},
                                          {"Label7", System, red}};
    QTest::newRow("標準") << "標準" << DesignedList{{"Label1", green, orange},   {"Label2", green, System},
                                                    {"Label3", green, System},   {"Text1", white, blue},
                                                    {"Text2", System, blue},     {"Label4", green, System},
                                                    {"Label5", green, System},   {"Command1", grey, System},
                                                    {"Label6", green, blue},     {"Label7", green, System},
                                                    {"Label8", green, blue},     {"Picture2", cream, System},
                                                    {"Picture1", cream, System}, {"Command2", grey, System}};
    QTest::newRow("病気") << "病気" << DesignedList{};
}

// Under a dark desktop scheme every control's text reads against its
// background (WCAG's 4.5:1), and every listed colour stays as listed. Where
// the design fixes both colours, or a text colour on the standard face, they
// stay as designed, on a light face; a label with no colour of its own shows
// the window's background, not a box of the style's face colour.
void TestBuilder::textReadsOnADarkDesktop() {
    QFETCH(QString, window);
    QFETCH(DesignedList, designed);
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    // qt6ct's "darker": a face lighter than the window, light text.
    QPalette dark(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::Base, QColor(0x3d, 0x3d, 0x3d));
    QApplication::setPalette(dark);

    std::unique_ptr<QWidget> form = buildWindow(windowNamed(window));
    const QColor windowBackground = form->palette().color(QPalette::Window);
    for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<ImageControl*>(w))
            continue;
        DesignedColours listed{w->objectName(), System, System};
        for (const DesignedColours& d : designed) {
            if (d.control == w->objectName())
                listed = d;
        }
        const auto [backRole, textRole] = drawingRoles(w);
        const QColor back = w->palette().color(backRole);
        const QColor text = w->palette().color(textRole);
        const QString where =
            QStringLiteral("%1: text %2 on %3").arg(listed.control, text.name(), back.name());
        if (listed.background.isValid())
            QCOMPARE(back, listed.background);
        if (listed.text.isValid())
            QCOMPARE(text, listed.text);
        if (listed.text.isValid() && !listed.background.isValid()) // on the standard face, a light one
            QVERIFY2(luminance(back) > 0.75, qPrintable(where));
        else if (!listed.text.isValid())
            QVERIFY2(contrast(text, back) >= 4.5, qPrintable(where));
        if (qobject_cast<QLabel*>(w) && !listed.background.isValid() && !listed.text.isValid())
            QCOMPARE(back, windowBackground);
    }
}

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
    std::unique_ptr<QWidget> form = buildWindow(windowNamed(window));
    QWidget* w = form->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), pixels);
}

// Labels and images (both QLabels) lie beneath buttons, boxes and picture
// areas, in every window.
void TestBuilder::labelsLieBeneathOtherControls() {
    for (const layout::Window* window : allWindows()) {
        std::unique_ptr<QWidget> form = buildWindow(*window);
        const QObjectList stack = form->children(); // bottom to top
        qsizetype highestSurface = -1;
        qsizetype lowestControl = stack.size();
        for (qsizetype i = 0; i < stack.size(); ++i) {
            if (!stack[i]->isWidgetType())
                continue;
            if (qobject_cast<QLabel*>(stack[i]))
                highestSurface = std::max(highestSurface, i);
            else
                lowestControl = std::min(lowestControl, i);
        }
        QVERIFY2(highestSurface < lowestControl, qPrintable(window->name));
    }
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
    std::unique_ptr<QWidget> form = buildWindow(layout::documents());
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

// Following the focus chain from the first control of 消費 visits every
// control that takes the focus in increasing tab position, labels skipped,
// and comes back to the first.
void TestBuilder::tabOrderWraps() {
    QStringList expected{"Picture1", "Picture2"};
    for (int n = 1; n <= 16; ++n)
        expected << QStringLiteral("Text%1").arg(n);
    expected << "Picture3"
             << "Command1"
             << "Command2"
             << "Command3"
             << "Text17";
    std::unique_ptr<QWidget> form = buildWindow(layout::expenditure());
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
    for (const layout::Window* window : allWindows()) {
        std::unique_ptr<QWidget> form = shown(*window);
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            button->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget(), button);
            QSignalSpy clicked(button, &QPushButton::clicked);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
            QVERIFY2(clicked.count() == clicks, qPrintable(window->name + u' ' + button->objectName()));
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

// 1366×768 at 125 %: 1093×614 points, less a taskbar 40 high at the
// bottom; frames as the window manager reports them.
void TestBuilder::windowsKeptOnScreen_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QSize>("least");
    QTest::addColumn<QRect>("fitted");
    const QRect laptop(0, 0, 1093, 574);
    QTest::newRow("fits where designed")
        << QRect(200, 100, 500, 400) << laptop << false << QSize() << QRect(200, 100, 500, 400);
    QTest::newRow("past the right and the bottom")
        << QRect(800, 300, 500, 400) << laptop << false << QSize() << QRect(593, 174, 500, 400);
    QTest::newRow("taller than the screen: title bar at the top")
        << QRect(100, 50, 703, 620) << laptop << false << QSize() << QRect(100, 0, 703, 620);
    QTest::newRow("above and left of a taskbar at the top")
        << QRect(-30, 10, 400, 300) << QRect(0, 48, 1093, 566) << false << QSize() << QRect(0, 48, 400, 300);
    QTest::newRow("a window with a layout shrinks to the screen")
        << QRect(0, 0, 1328, 720) << laptop << true << QSize(700, 500) << QRect(0, 0, 1093, 574);
    QTest::newRow("but not below its least size")
        << QRect(50, 50, 1328, 720) << laptop << true << QSize(1100, 600) << QRect(0, 0, 1100, 600);
}

void TestBuilder::windowsKeptOnScreen() {
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(bool, resizable);
    QFETCH(QSize, least);
    QFETCH(QRect, fitted);
    QCOMPARE(fittedOnScreen(frame, available, resizable, least), fitted);
}

YOMORISU_GUI_TEST_MAIN(TestBuilder)
#include "tst_builder.moc"
