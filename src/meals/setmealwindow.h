#pragma once

#include "windows/windowobject.h"

// 定食1: lists the set meals of 定食.csv with their numbers and calories.
class SetMealWindow : public WindowObject {
    Q_OBJECT
public:
    explicit SetMealWindow(WindowHost& host);

protected:
    void bindControls() override;
};
