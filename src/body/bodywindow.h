// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "body/bodymeasure.h"
#include "forms/windowobject.h"

#include <QImage>
#include <QPixmap>

class ImageControl;
class PictureArea;
class TextBox;

// 標準: standard body weight and BMI with the figure of the BMI class.
class BodyWindow : public WindowObject {
    Q_OBJECT
public:
    explicit BodyWindow(WindowHost& host);

    // 計算: reads height and weight, prints the standard weight and the BMI,
    // and shows the figure of the BMI class.
    void calculate();

protected:
    void bindControls() override;
    std::optional<Handout> handout() const override;
    QString handoutButton() const override { return QStringLiteral("Command1"); }

private:
    void showFigure(BmiClass bmiClass);

    // Controls of the current on-screen part, looked up on every load.
    TextBox* Text1 = nullptr;
    TextBox* Text2 = nullptr;
    PictureArea* Picture1 = nullptr;
    PictureArea* Picture2 = nullptr;
    ImageControl* Image1 = nullptr;
    ImageControl* Image2 = nullptr;
    ImageControl* Image3 = nullptr;
    // What Image1 showed when the window opened; the normal class brings it back.
    QPixmap m_normalFigure;
    // What the last completed 計算 read and showed.
    struct Calculation {
        BodyInputs inputs;
        double standardWeight = 0;
        qint32 bmi = 0;
        QImage figure;
    };
    std::optional<Calculation> m_shown;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& body(); // 標準
}
