// SPDX-License-Identifier: GPL-3.0-or-later
#include "body/bodywindow.h"

#include "common/numbers.h"
#include "common/picturelines.h"
#include "forms/imagecontrol.h"
#include "forms/picturearea.h"
#include "forms/textbox.h"

namespace {

// The figure on paper: large enough to read across a desk.
constexpr qreal FigureMillimetres = 45;

} // namespace

BodyWindow::BodyWindow(WindowHost& host) : WindowObject(host, layout::body()) {}

void BodyWindow::bindControls() {
    Text1 = control<TextBox>(QStringLiteral("Text1"));
    Text2 = control<TextBox>(QStringLiteral("Text2"));
    Picture1 = control<PictureArea>(QStringLiteral("Picture1"));
    Picture2 = control<PictureArea>(QStringLiteral("Picture2"));
    Image1 = control<ImageControl>(QStringLiteral("Image1"));
    Image2 = control<ImageControl>(QStringLiteral("Image2"));
    Image3 = control<ImageControl>(QStringLiteral("Image3"));
    m_normalFigure = Image1->picture();
    m_shown.reset();
    showFigure(BmiClass::Normal);
    onClick(QStringLiteral("Command1"), [this] { calculate(); });
    onBackToMenu(QStringLiteral("Command2"));
}

void BodyWindow::calculate() {
    m_shown.reset();
    // Both boxes are read before anything is cleared: a height that cannot be
    // read leaves the last results standing.
    const BodyInputs in = readBodyInputs(Text1->text(), Text2->text());
    const double standard = standardWeight(in.height);

    Picture1->lines().clear();
    Picture2->lines().clear();
    Picture1->lines().printLine(formatDouble(standard));
    const qint32 bmi = bodyMassIndex(in.height, in.weight);
    Picture2->lines().printLine(formatWhole(bmi));
    showFigure(bmiClassOf(bmi));
    m_shown = Calculation{in, standard, bmi, Image1->picture().toImage()};
}

std::optional<Handout> BodyWindow::handout() const {
    if (!m_shown)
        return std::nullopt;
    const Calculation& c = *m_shown;
    // The window has no title label: its caption heads the page.
    Handout paper{layout().caption, layout().name, {}};
    const QString weightUnit = caption(QStringLiteral("Label7"));
    // A page the client keeps: the figures large, the figure beside them.
    paper.addFigures(
        {{caption(QStringLiteral("Label2")), formatWhole(c.inputs.height).trimmed(), QStringLiteral("cm")},
         {caption(QStringLiteral("Label3")), formatWhole(c.inputs.weight).trimmed(), weightUnit},
         {caption(QStringLiteral("Label6")), formatDouble(c.standardWeight).trimmed(), weightUnit},
         {caption(QStringLiteral("Label8")), formatWhole(c.bmi).trimmed(), bmiClassName(bmiClassOf(c.bmi))}},
        16);
    paper.addImage(c.figure, FigureMillimetres, true);

    paper.addLine(QStringLiteral("BMI の目安"), true);
    Handout::Scale scale;
    // The ends hold nearly every adult's BMI; the bounds are the window's own.
    scale.from = 12;
    scale.to = 40;
    scale.bounds = {ThinBmiBelow, HeavyBmiAbove};
    scale.bands = {bmiClassName(BmiClass::Thin), bmiClassName(BmiClass::Normal),
                   bmiClassName(BmiClass::Heavy)};
    scale.value = c.bmi;
    scale.valueLabel = QStringLiteral("あなたの BMI %1").arg(formatWhole(c.bmi).trimmed());
    paper.addScale(scale);

    paper.addLine(QStringLiteral("標準体重の求め方"), true);
    paper.addLine(standardWeightRuleText(standardWeightRule(c.inputs.height)));
    return paper;
}

void BodyWindow::showFigure(BmiClass bmiClass) {
    switch (bmiClass) {
    case BmiClass::Thin:
        Image1->copyPictureFrom(*Image3);
        break;
    case BmiClass::Normal:
        Image1->setPicture(m_normalFigure);
        break;
    case BmiClass::Heavy:
        Image1->copyPictureFrom(*Image2);
        break;
    }
    Image1->setAccessibleDescription(bmiClassName(bmiClass));
}
