#pragma once

#include "windows/windowobject.h"

// RMR: lists the exercises of rmr.csv with their numbers and RMR values.
class RmrWindow : public WindowObject {
    Q_OBJECT
public:
    explicit RmrWindow(WindowHost& host);

protected:
    void bindControls() override;
};
