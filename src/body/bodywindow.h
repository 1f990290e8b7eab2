#pragma once

#include "windows/windowobject.h"

// 標準: standard body weight and BMI with the figure of the BMI class.
class BodyWindow : public WindowObject {
    Q_OBJECT
public:
    explicit BodyWindow(WindowHost& host);

protected:
    void bindControls() override;
};
