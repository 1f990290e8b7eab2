#pragma once

#include "windows/windowobject.h"

// 消費: the energy spent on up to eight exercises.
class ExpenditureWindow : public WindowObject {
    Q_OBJECT
public:
    explicit ExpenditureWindow(WindowHost& host);

protected:
    void bindControls() override;
};
