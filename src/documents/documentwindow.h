#pragma once

#include "windows/windowobject.h"

// 病気: shows and prints explanatory documents about illnesses.
class DocumentWindow : public WindowObject {
    Q_OBJECT
public:
    explicit DocumentWindow(WindowHost& host);

protected:
    void bindControls() override;
};
