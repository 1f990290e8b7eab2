// SPDX-License-Identifier: GPL-3.0-or-later
#include "body/bodywindow.h"
#include "forms/imagecontrol.h"
#include "forms/picturearea.h"
#include "forms/textbox.h"
#include "guitest.h"
#include "shellfixture.h"

#include <QAccessible>
#include <QImage>
#include <QInputMethodEvent>
#include <QTest>

#include <memory>

namespace {

enum class Figure { Normal, Heavy, Thin, Other };

} // namespace

Q_DECLARE_METATYPE(Figure)

// 標準 driven as the user drives it: typing into the boxes, pressing 計算,
// reading the two areas and looking at the figure.
class TestBodyWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void figuresAreDistinctTwoColourDrawings();
    void calculatePrintsBothResultsAndTheFigure_data();
    void calculatePrintsBothResultsAndTheFigure();
    void fullWidthDigitsFromAnInputMethod();
    void heavyThenNormalBringsTheNormalFigureBack();
    void unreadableHeightLeavesTheLastResults();
    void zeroHeightStopsAfterTheStandardWeight_data();
    void zeroHeightStopsAfterTheStandardWeight();
    void reopeningStartsAfresh();

private:
    BodyWindow& window() { return m_app->shell.window<BodyWindow>(); }
    void type(const QString& box, const QString& text);
    void enter(const QString& height, const QString& weight);
    void press() { ShellFixture::click(window(), QStringLiteral("Command1")); }
    void calculate(const QString& height, const QString& weight) {
        enter(height, weight);
        press();
    }
    QString area(const QString& name);
    ImageControl* image(const QString& name);
    Figure figureShown();
    QString figureDescription();

    std::unique_ptr<ShellFixture> m_app;
    QImage m_normal; // Image1's picture as the window opened
};

void TestBodyWindow::init() {
    m_app = std::make_unique<ShellFixture>();
    m_app->shell.open<BodyWindow>();
    m_normal = image(QStringLiteral("Image1"))->picture().toImage();
}

void TestBodyWindow::cleanup() {
    m_app.reset();
}

void TestBodyWindow::type(const QString& box, const QString& text) {
    auto* edit = window().control<TextBox>(box);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

void TestBodyWindow::enter(const QString& height, const QString& weight) {
    type(QStringLiteral("Text1"), height);
    type(QStringLiteral("Text2"), weight);
}

QString TestBodyWindow::area(const QString& name) {
    return window().control<PictureArea>(name)->lines().text();
}

ImageControl* TestBodyWindow::image(const QString& name) {
    return window().control<ImageControl>(name);
}

// Which figure Image1 shows, told apart by the pictures themselves.
Figure TestBodyWindow::figureShown() {
    const QImage shown = image(QStringLiteral("Image1"))->picture().toImage();
    if (shown == m_normal)
        return Figure::Normal;
    if (shown == image(QStringLiteral("Image2"))->picture().toImage())
        return Figure::Heavy;
    if (shown == image(QStringLiteral("Image3"))->picture().toImage())
        return Figure::Thin;
    return Figure::Other;
}

QString TestBodyWindow::figureDescription() {
    return QAccessible::queryAccessibleInterface(image(QStringLiteral("Image1")))
        ->text(QAccessible::Description);
}

void TestBodyWindow::figuresAreDistinctTwoColourDrawings() {
    const QImage pictures[] = {m_normal, image(QStringLiteral("Image2"))->picture().toImage(),
                               image(QStringLiteral("Image3"))->picture().toImage()};
    for (const QImage& picture : pictures) {
        QCOMPARE(picture.size(), QSize(73, 84));
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                colours.insert(picture.pixel(x, y) | 0xFF000000u);
        QCOMPARE(colours, (QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
        // Black lines on a white ground.
        QCOMPARE(picture.pixel(0, 0) | 0xFF000000u, qRgb(255, 255, 255));
    }
    QVERIFY(pictures[0] != pictures[1]);
    QVERIFY(pictures[0] != pictures[2]);
    QVERIFY(pictures[1] != pictures[2]);
    QCOMPARE(figureShown(), Figure::Normal);
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(image(QStringLiteral("Image1")));
    QCOMPARE(node->role(), QAccessible::Graphic);
    QCOMPARE(node->text(QAccessible::Name), QStringLiteral("体型の図"));
    QCOMPARE(figureDescription(), QStringLiteral("ふつう"));
}

namespace {

void addRow(const char* name, const char* height, const char* weight, const char* standard, const char* bmi,
            Figure figure) {
    QTest::newRow(name) << QString::fromUtf8(height) << QString::fromUtf8(weight)
                        << QString::fromUtf8(standard) << QString::fromUtf8(bmi) << figure;
}

} // namespace

void TestBodyWindow::calculatePrintsBothResultsAndTheFigure_data() {
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("standard");
    QTest::addColumn<QString>("bmi");
    QTest::addColumn<Figure>("figure");
    addRow("170 cm 65 kg", "170", "65", " 63 ", " 22 ", Figure::Normal);
    addRow("165 cm", "165", "60", " 58.5 ", " 22 ", Figure::Normal);
    addRow("160 cm, 18.75 rounds to 19", "160", "48", " 54 ", " 19 ", Figure::Normal);
    addRow("159 cm", "159", "50", " 52.36 ", " 20 ", Figure::Normal);
    addRow("155 cm", "155", "50", " 52.2 ", " 21 ", Figure::Normal);
    addRow("151 cm", "151", "50", " 52.04 ", " 22 ", Figure::Normal);
    addRow("150 cm gets a standard weight", "150", "50", " 52 ", " 22 ", Figure::Normal);
    addRow("149 cm, 26.1 is heavy", "149", "58", " 49 ", " 26 ", Figure::Heavy);
    addRow("140 cm 51 kg, 26.02 is heavy", "140", "51", " 40 ", " 26 ", Figure::Heavy);
    addRow("99.5 reads as 100", "99.5", "10", " 0 ", " 10 ", Figure::Thin);
    addRow("98.5 reads as 98", "98.5", "20", "-2 ", " 21 ", Figure::Normal);
    addRow("1.5 reads as 2", "1.5", "1", "-98 ", " 2500 ", Figure::Heavy);
    addRow("18.5 goes down to 18, thin", "200", "74", " 90 ", " 18 ", Figure::Thin);
    addRow("22.5 goes down to 22", "200", "90", " 90 ", " 22 ", Figure::Normal);
    addRow("24.5 goes down to 24", "200", "98", " 90 ", " 24 ", Figure::Normal);
    addRow("BMI 25 is still normal", "200", "99", " 90 ", " 25 ", Figure::Normal);
    addRow("negative height", "-50", "10", "-150 ", " 40 ", Figure::Heavy);
    addRow("negative weight", "100", "-5", " 0 ", "-5 ", Figure::Thin);
    addRow("empty weight: BMI 0 is thin", "170", "", " 63 ", " 0 ", Figure::Thin);
    addRow("weight that is no number", "170", "kg", " 63 ", " 0 ", Figure::Thin);
}

void TestBodyWindow::calculatePrintsBothResultsAndTheFigure() {
    QFETCH(QString, height);
    QFETCH(QString, weight);
    QFETCH(QString, standard);
    QFETCH(QString, bmi);
    QFETCH(Figure, figure);
    enter(height, weight);
    for (int pressed = 1; pressed <= 2; ++pressed) {
        press();
        QVERIFY(m_app->errors.errors.isEmpty());
        // Each on the first line of its area; a second press replaces, never adds.
        QCOMPARE(area(QStringLiteral("Picture1")), standard);
        QCOMPARE(area(QStringLiteral("Picture2")), bmi);
        QCOMPARE(figureShown(), figure);
    }
    // The inputs stay as typed.
    QCOMPARE(window().control<TextBox>(QStringLiteral("Text1"))->text(), height);
    QCOMPARE(window().control<TextBox>(QStringLiteral("Text2"))->text(), weight);
}

void TestBodyWindow::fullWidthDigitsFromAnInputMethod() {
    auto commit = [this](const QString& box, const QString& text) {
        auto* edit = window().control<TextBox>(box);
        edit->setFocus();
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(edit, &event);
        QCOMPARE(edit->text(), text);
    };
    commit(QStringLiteral("Text1"), QStringLiteral("１７０"));
    commit(QStringLiteral("Text2"), QStringLiteral("６５"));
    press();
    QVERIFY(m_app->errors.errors.isEmpty());
    QCOMPARE(area(QStringLiteral("Picture1")), QStringLiteral(" 63 "));
    QCOMPARE(area(QStringLiteral("Picture2")), QStringLiteral(" 22 "));
    QCOMPARE(figureShown(), Figure::Normal);
}

// Every change of figure, each with what a screen reader says of it.
void TestBodyWindow::heavyThenNormalBringsTheNormalFigureBack() {
    const struct {
        const char* height;
        const char* weight;
        Figure figure;
        const char* description;
    } steps[] = {
        {"140", "51", Figure::Heavy, "肥満"}, {"170", "65", Figure::Normal, "ふつう"},
        {"200", "74", Figure::Thin, "やせ"},  {"140", "51", Figure::Heavy, "肥満"},
        {"200", "74", Figure::Thin, "やせ"},  {"160", "48", Figure::Normal, "ふつう"},
    };
    for (const auto& step : steps) {
        calculate(QString::fromUtf8(step.height), QString::fromUtf8(step.weight));
        QCOMPARE(figureShown(), step.figure);
        QCOMPARE(figureDescription(), QString::fromUtf8(step.description));
    }
    // The holders keep their own figures throughout.
    QVERIFY(!image(QStringLiteral("Image2"))->isVisible());
    QVERIFY(!image(QStringLiteral("Image3"))->isVisible());
    QVERIFY(image(QStringLiteral("Image2"))->picture().toImage() !=
            image(QStringLiteral("Image3"))->picture().toImage());
}

void TestBodyWindow::unreadableHeightLeavesTheLastResults() {
    calculate(QStringLiteral("140"), QStringLiteral("51"));
    calculate(QStringLiteral("1E99"), QStringLiteral("65"));
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), 6);
    QVERIFY(m_app->errors.errors[0].source().contains(QStringLiteral("身長")));
    QCOMPARE(area(QStringLiteral("Picture1")), QStringLiteral(" 40 "));
    QCOMPARE(area(QStringLiteral("Picture2")), QStringLiteral(" 26 "));
    QCOMPARE(figureShown(), Figure::Heavy);
    QCOMPARE(m_app->quits, 0);
}

void TestBodyWindow::zeroHeightStopsAfterTheStandardWeight_data() {
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("weight");
    QTest::addColumn<int>("error");
    QTest::newRow("empty height: division by zero") << ""
                                                    << "65" << 11;
    QTest::newRow("empty height and weight: 0 / 0 overflows") << ""
                                                              << "" << 6;
    QTest::newRow("0.5 reads as 0") << "0.5"
                                    << "65" << 11;
    QTest::newRow("no number in the height") << "abc"
                                             << "0" << 6;
}

void TestBodyWindow::zeroHeightStopsAfterTheStandardWeight() {
    QFETCH(QString, height);
    QFETCH(QString, weight);
    QFETCH(int, error);
    calculate(QStringLiteral("200"), QStringLiteral("74"));
    QCOMPARE(figureShown(), Figure::Thin);
    calculate(height, weight);
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(m_app->errors.errors[0].number(), error);
    QCOMPARE(area(QStringLiteral("Picture1")), QStringLiteral("-100 "));
    QCOMPARE(area(QStringLiteral("Picture2")), QString());
    QCOMPARE(figureShown(), Figure::Thin);
    QCOMPARE(figureDescription(), QStringLiteral("やせ"));
    // The window goes on working.
    calculate(QStringLiteral("170"), QStringLiteral("65"));
    QCOMPARE(m_app->errors.errors.size(), 1);
    QCOMPARE(area(QStringLiteral("Picture2")), QStringLiteral(" 22 "));
}

void TestBodyWindow::reopeningStartsAfresh() {
    calculate(QStringLiteral("140"), QStringLiteral("51"));
    QCOMPARE(figureShown(), Figure::Heavy);
    ShellFixture::click(window(), QStringLiteral("Command2"));
    QVERIFY(!window().isLoaded());
    m_app->shell.open<BodyWindow>();
    QCOMPARE(figureShown(), Figure::Normal);
    QCOMPARE(figureDescription(), QStringLiteral("ふつう"));
    QCOMPARE(window().control<TextBox>(QStringLiteral("Text1"))->text(), QString());
    QCOMPARE(area(QStringLiteral("Picture1")), QString());
    QCOMPARE(area(QStringLiteral("Picture2")), QString());
}

YOMORISU_GUI_TEST_MAIN(TestBodyWindow)
#include "tst_bodywindow.moc"
