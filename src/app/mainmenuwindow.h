// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/windowobject.h"

class Shell;

// 健康menu: the main menu, one button per working window and "おわり".
class MainMenuWindow : public WindowObject {
    Q_OBJECT
public:
    explicit MainMenuWindow(Shell& shell);

protected:
    void bindControls() override;
    // 記録(R): the 相談記録 window, and the record file it works on.
    QMenuBar* makeMenuBar() override;

private:
    Shell& m_shell;
};

namespace layout {
const Window& mainMenu(); // 健康menu
}
